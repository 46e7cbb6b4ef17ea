#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class ProgramFolder;
class SettingsStore;
class TipList;

// The tip of the day: one usage tip at a time, the next on request, and the
// switch that decides whether the window opens by itself at start-up.
// objectName: frmTip.
class TipWindow : public QDialog
{
    Q_OBJECT
public:
    static QString MissingFileText();

    TipWindow(TipList& tips, SettingsStore& settings, const ProgramFolder& folder, QWidget* parent = nullptr);

    // "次を表示(&N)".
    void ShowNextTip();
    // The check box is stored as soon as it changes.
    void StoreStartupSwitch();

private:
    void Open(const ProgramFolder& folder);
    void DisplayCurrentTip();
    void FitTipText();

    TipList& tips_;
    SettingsStore& settings_;
    QLabel* tipText_;
    QCheckBox* showAtStartup_;
};
