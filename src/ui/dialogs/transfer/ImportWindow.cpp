#include "ui/dialogs/transfer/ImportWindow.h"

#include "core/diary/DiaryFiles.h"
#include "core/diary/DiaryStore.h"
#include "core/platform/JapaneseLocale.h"
#include "core/platform/Prompter.h"
#include "core/transfer/DiaryExport.h"
#include "ui/dialogs/transfer/ExportWindow.h"
#include "ui/dialogs/transfer/FolderRow.h"
#include "ui/platform/Named.h"
#include "ui/platform/SpokenText.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Title()
{
    return QStringLiteral("取り込み");
}

} // namespace

ImportWindow::ImportWindow(DiaryStore& store, Prompter& prompter, QWidget* parent)
    : QDialog(parent), store_(store), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(Title());

    folder_ = Named(new QLineEdit(ExportWindow::DefaultFolder(), this), "txtFolder");
    encoding_ = Named(new QComboBox(this), "cboEncoding");
    encoding_->addItems({QStringLiteral("自動判定"), QStringLiteral("UTF-8"), QStringLiteral("シフトJIS (CP932)")});
    preview_ = Named(new QPlainTextEdit(this), "txtPreview");
    preview_->setReadOnly(true);
    preview_->setMinimumSize(440, 160);
    preview_->setAccessibleName(QStringLiteral("プレビュー"));
    status_ = Named(new QLabel(this), "lblStatus");
    status_->setWordWrap(true);
    auto* previewButton = Named(new QPushButton(QStringLiteral("プレビュー(&P)"), this), "cmdPreview");
    previewButton->setDefault(true);
    importButton_ = Named(new QPushButton(QStringLiteral("取り込み(&I)"), this), "cmdImport");
    importButton_->setEnabled(false);
    auto* closeButton = Named(new QPushButton(QStringLiteral("閉じる"), this), "cmdClose");
    connect(previewButton, &QPushButton::clicked, this, &ImportWindow::Preview);
    connect(importButton_, &QPushButton::clicked, this, &ImportWindow::Import);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(folder_, &QLineEdit::textChanged, this, &ImportWindow::Forget);
    connect(encoding_, &QComboBox::currentIndexChanged, this, &ImportWindow::Forget);

    auto* folderCaption = new QLabel(QStringLiteral("取り込むフォルダ:"), this);
    SpokenText::NameFromCaption(*folderCaption, *folder_);
    auto* form = new QFormLayout;
    form->addRow(folderCaption, FolderRow::Make(folder_, prompter_, QStringLiteral("取り込むフォルダ")));
    form->addRow(QStringLiteral("文字コード:"), encoding_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(previewButton);
    buttons->addWidget(importButton_);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(preview_, 1);
    layout->addWidget(status_);
    layout->addLayout(buttons);
}

void ImportWindow::SetFolder(const QString& folder)
{
    if (!folder.isEmpty())
        folder_->setText(QDir::toNativeSeparators(folder));
}

void ImportWindow::Forget()
{
    plan_ = {};
    preview_->clear();
    importButton_->setEnabled(false);
}

void ImportWindow::Preview()
{
    Forget();
    status_->clear();
    const auto encoding = DiaryImport::Encoding(encoding_->currentIndex());
    if (const FileError error = DiaryImport::Read(QDir::cleanPath(folder_->text().trimmed()), encoding, plan_)) {
        DiaryFiles::ReportFileError(prompter_, error);
        return;
    }
    preview_->setPlainText(PlanText());
    // The count of pages found is heard at once; the rest is read in the box.
    SpokenText::Describe(*preview_, PlanText().section(u'\n', 0, 0));
    importButton_->setEnabled(!plan_.pages.empty() && store_.IsOpen());
}

QString ImportWindow::PlanText() const
{
    QStringList lines;
    lines << QStringLiteral("取り込むページ: %1 ページ").arg(plan_.pages.size());
    if (plan_.first.isValid())
        lines << QStringLiteral("期間: %1 ～ %2")
                     .arg(JapaneseLocale::FormatDate(plan_.first), JapaneseLocale::FormatDate(plan_.last));
    const QString orderFile = DiaryExport::OrderFileName();
    if (plan_.order == ImportPlan::Order::AsExported)
        lines << QStringLiteral("並び順: 書き出したときの日記の順 (%1)").arg(orderFile);
    else if (plan_.order == ImportPlan::Order::ByDateListUnusable)
        lines << QStringLiteral("並び順: 日付順 (%1 が使えないため)").arg(orderFile);
    if (!plan_.unlisted.isEmpty())
        lines << QString() << QStringLiteral("%1 にないファイル:").arg(orderFile) << plan_.unlisted;
    if (!plan_.refused.isEmpty())
        lines << QString() << QStringLiteral("取り込まないファイル:") << plan_.refused;
    if (!plan_.cut.isEmpty())
        lines << QString() << QStringLiteral("長すぎて後ろを切る項目:") << plan_.cut;
    return lines.join(u'\n');
}

void ImportWindow::Import()
{
    QByteArray records;
    records.reserve(qsizetype(plan_.pages.size()) * DiaryPage::RecordLength);
    for (const ImportedPage& page : plan_.pages)
        records += page.record;
    const qsizetype count = qsizetype(plan_.pages.size());
    if (!store_.AppendPages(records)) {
        SpokenText::Announce(*status_, QStringLiteral("取り込めませんでした。日記は元のままです。"));
        return;
    }
    // The same files twice would be the same pages twice: the preview stays
    // for reading, but asks to be made again before another import.
    plan_ = {};
    importButton_->setEnabled(false);
    folderUsed_ = QDir::cleanPath(folder_->text().trimmed());
    SpokenText::Announce(*status_, QStringLiteral("%1 ページを日記の最後に取り込みました。").arg(count));
}
