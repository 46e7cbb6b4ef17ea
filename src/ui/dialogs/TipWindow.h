#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class ProgramFolder;
class SettingsStore;
class TipList;

// The tip of the day: one usage tip at a time, the next on request, and the
// switch that decides whether the window opens by itself at start-up.
class TipWindow : public QDialog
{
    Q_OBJECT
public:
    static QString MissingFileText();

    TipWindow(TipList& tips, SettingsStore& settings, const ProgramFolder& folder, QWidget* parent = nullptr);

    void cmdNextTip_Click();
    void chkLoadTipsAtStartup_Click();

private:
    void Form_Load(const ProgramFolder& folder);
    void DisplayCurrentTip();
    void FitTipText();

    TipList& tips_;
    SettingsStore& settings_;
    QLabel* lblTipText;
    QCheckBox* chkLoadTipsAtStartup;
};
