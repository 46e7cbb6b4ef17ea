#pragma once

#include "core/transfer/DiaryExport.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class Clock;
class DiaryLock;
class DiaryStore;
class Prompter;

// Writes pages of the open diary out as text files or one HTML file: a date
// range (the whole diary unless narrowed), a format, an encoding and a target
// folder, with a progress bar and a button that stops the export.
// objectName: frmExport.
class ExportWindow : public QDialog
{
    Q_OBJECT
public:
    // An empty diary's range is today.
    ExportWindow(const DiaryStore& store, Prompter& prompter, const Clock& clock, QWidget* parent = nullptr);

    // The folder the export goes to, before the user changes it.
    static QString DefaultFolder();
    // The folder last written to, shown instead of the default; empty keeps it.
    void SetFolder(const QString& folder);
    // The folder of the last export that wrote its files; empty when none did.
    QString FolderUsed() const { return folderUsed_; }
    // An encrypted diary's export first says its files are not encrypted.
    void WarnOfPlainCopies(const DiaryLock* lock) { lock_ = lock; }

public Q_SLOTS:
    void reject() override;

private:
    void Export();
    ExportRequest Request() const;
    DiaryExport::Hooks Hooks(ExportRequest::Encoding encoding);
    bool AskReplace(const QStringList& existing);
    // Whether a folder that is not there may be made.
    bool AskMakeFolder(const QString& folder);
    bool AskWriteFlawed(const std::vector<ExportFlaw>& flaws, ExportRequest::Encoding encoding);
    void Report(const DiaryExport::Result& result);
    void SetRunning(bool running);

    const DiaryStore& store_;
    Prompter& prompter_;
    const DiaryLock* lock_ = nullptr;
    QCheckBox* wholeDiary_;
    QDateEdit* from_;
    QDateEdit* to_;
    QComboBox* format_;
    QComboBox* encoding_;
    QLineEdit* folder_;
    QProgressBar* progress_;
    QLabel* status_;
    QPushButton* exportButton_;
    QPushButton* cancelButton_;
    QPushButton* closeButton_;
    bool running_ = false;
    bool cancelled_ = false;
    QString folderUsed_;
};
