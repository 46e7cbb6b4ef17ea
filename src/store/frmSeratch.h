#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;
class QRadioButton;
class DiaryStore;
class DiaryView;
class Prompter;

// The search window: finds a text in the bodies of the pages, from the first
// page or from the page after the shown one, and shows the first page that
// holds it with the text selected. It stays above the other windows.
class frmSeratch : public QDialog
{
    Q_OBJECT
public:
    frmSeratch(DiaryStore& store, DiaryView& view, Prompter& prompter, QWidget* parent = nullptr);

    void Seratch_Click();

private:
    DiaryStore& store_;
    DiaryView& view_;
    Prompter& prompter_;
    QComboBox* cmb;
    QRadioButton* fromFirst_;
    QRadioButton* fromCurrent_;
};
