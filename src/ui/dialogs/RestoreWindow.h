#pragma once

#include <QDialog>

class DiaryStore;
class Prompter;
class QPushButton;
class QTreeWidget;

// The copies of the diary in the backups folder, newest first, with the day
// each was taken, its page count and the date of its last page. Restoring one
// keeps the diary as it is as a copy of its own, puts the chosen copy in its
// place and shows its last page. objectName: frmRestore.
class RestoreWindow : public QDialog
{
    Q_OBJECT
public:
    RestoreWindow(DiaryStore& store, Prompter& prompter, QWidget* parent = nullptr);

private:
    void Fill();
    void Restore();

    DiaryStore& store_;
    Prompter& prompter_;
    QTreeWidget* list_;
    QPushButton* restore_;
};
