#pragma once

#include "core/transfer/DiaryImport.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class DiaryStore;
class Prompter;

// Reads a folder of exported text files and, after a preview of what it
// found, appends them to the open diary as new pages: in the diary's order
// for a folder the export wrote, else in date order.
// objectName: frmImport.
class ImportWindow : public QDialog
{
    Q_OBJECT
public:
    ImportWindow(DiaryStore& store, Prompter& prompter, QWidget* parent = nullptr);

    // The folder last read from, shown instead of the default; empty keeps it.
    void SetFolder(const QString& folder);
    // The folder of the last import that added its pages; empty when none did.
    QString FolderUsed() const { return folderUsed_; }

private:
    void Preview();
    void Import();
    // A changed folder or encoding needs a new preview before anything is added.
    void Forget();
    QString PlanText() const;

    DiaryStore& store_;
    Prompter& prompter_;
    QLineEdit* folder_;
    QComboBox* encoding_;
    QPlainTextEdit* preview_;
    QLabel* status_;
    QPushButton* importButton_;
    ImportPlan plan_;
    QString folderUsed_;
};
