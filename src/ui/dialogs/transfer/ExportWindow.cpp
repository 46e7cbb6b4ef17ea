#include "ui/dialogs/transfer/ExportWindow.h"

#include "core/diary/DateScan.h"
#include "core/diary/DiaryFiles.h"
#include "core/diary/DiaryStore.h"
#include "core/platform/Clock.h"
#include "core/platform/Prompter.h"
#include "ui/dialogs/crypt/PlainCopyWarning.h"
#include "ui/dialogs/transfer/FolderRow.h"
#include "ui/platform/Named.h"
#include "ui/platform/SpokenText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

// A box names this many files or pages; the rest are counted.
constexpr int NamedInBox = 10;

QString Title()
{
    return QStringLiteral("書き出し");
}

QDateEdit* DateBox(const char* name, QWidget* parent)
{
    auto* box = Named(new QDateEdit(parent), name);
    box->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    box->setCalendarPopup(true);
    return box;
}

// The list in a box, cut after its first few lines.
QString Listed(const QStringList& lines)
{
    QString text = lines.mid(0, NamedInBox).join(u'\r');
    if (lines.size() > NamedInBox)
        text += QStringLiteral("\rほか %1 件").arg(lines.size() - NamedInBox);
    return text;
}

// The first and last dates of the diary's pages, for the range boxes.
std::pair<QDate, QDate> DiaryRange(const DiaryStore& store)
{
    QDate first;
    QDate last;
    if (store.IsOpen())
        DateScan::Each(store.DiaryFile(), store.PageCount(), [&](qint32, QDate date) {
            if (date.isValid()) {
                first = first.isValid() ? std::min(first, date) : date;
                last = last.isValid() ? std::max(last, date) : date;
            }
            return true;
        });
    return {first, last};
}

// Why a page would not come back as it is, each reason as the user meets it.
QStringList FlawReasons(const ExportFlaw& flaw, ExportRequest::Encoding encoding)
{
    QStringList reasons;
    if (flaw.reasons & ExportFlaw::OtherCode)
        reasons << QStringLiteral("%1 は取り込むと別のｺｰﾄﾞになります").arg(flaw.changed);
    if (flaw.reasons & ExportFlaw::NotACharacter)
        reasons << (encoding == ExportRequest::Encoding::Utf8
                        ? QStringLiteral("文字として読めないﾃﾞｰﾀは置き換えます")
                        : QStringLiteral("文字として読めないﾃﾞｰﾀは、ほかのｿﾌﾄでは読めません"));
    if (flaw.reasons & ExportFlaw::BareLineFeed)
        reasons << QStringLiteral("LF だけの改行は取り込むと CR LF になります");
    if (flaw.reasons & ExportFlaw::HeaderLineBreak)
        reasons << QStringLiteral("見出しの中の改行で行が分かれます");
    return reasons;
}

} // namespace

ExportWindow::ExportWindow(const DiaryStore& store, Prompter& prompter, const Clock& clock, QWidget* parent)
    : QDialog(parent), store_(store), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(Title());

    wholeDiary_ = Named(new QCheckBox(QStringLiteral("日記全体(&A)"), this), "chkWholeDiary");
    wholeDiary_->setChecked(true);
    from_ = DateBox("dtpFrom", this);
    to_ = DateBox("dtpTo", this);
    from_->setAccessibleName(QStringLiteral("期間の始め"));
    to_->setAccessibleName(QStringLiteral("期間の終わり"));
    const auto [first, last] = DiaryRange(store_);
    from_->setDate(first.isValid() ? first : clock.Now().date());
    to_->setDate(last.isValid() ? last : from_->date());
    from_->setEnabled(false);
    to_->setEnabled(false);
    connect(wholeDiary_, &QCheckBox::toggled, this, [this](bool whole) {
        from_->setEnabled(!whole);
        to_->setEnabled(!whole);
    });

    format_ = Named(new QComboBox(this), "cboFormat");
    format_->addItems({QStringLiteral("テキスト (1ページ1ファイル)"), QStringLiteral("HTML (1ファイル、印刷用)")});
    encoding_ = Named(new QComboBox(this), "cboEncoding");
    encoding_->addItems({QStringLiteral("UTF-8"), QStringLiteral("シフトJIS (CP932)")});
    folder_ = Named(new QLineEdit(DefaultFolder(), this), "txtFolder");
    progress_ = Named(new QProgressBar(this), "prgExport");
    progress_->setAccessibleName(QStringLiteral("書き出しの進み具合"));
    progress_->setValue(0);
    status_ = Named(new QLabel(this), "lblStatus");
    status_->setWordWrap(true);

    exportButton_ = Named(new QPushButton(QStringLiteral("書き出し(&E)"), this), "cmdExport");
    exportButton_->setDefault(true);
    cancelButton_ = Named(new QPushButton(QStringLiteral("中止(&S)"), this), "cmdCancel");
    cancelButton_->setEnabled(false);
    closeButton_ = Named(new QPushButton(QStringLiteral("閉じる"), this), "cmdClose");
    connect(exportButton_, &QPushButton::clicked, this, &ExportWindow::Export);
    connect(cancelButton_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    connect(closeButton_, &QPushButton::clicked, this, &ExportWindow::reject);

    auto* range = new QHBoxLayout;
    range->addWidget(from_);
    range->addWidget(new QLabel(QStringLiteral("～"), this));
    range->addWidget(to_);
    range->addStretch(1);
    // 期間 is the caption of the dates; 日記全体 names its own check box.
    auto* period = new QLabel(QStringLiteral("期間:"), this);
    period->setBuddy(from_);
    auto* folderCaption = new QLabel(QStringLiteral("書き出し先:"), this);
    SpokenText::NameFromCaption(*folderCaption, *folder_);
    auto* form = new QFormLayout;
    form->addRow(period, wholeDiary_);
    form->addRow(QString(), range);
    form->addRow(QStringLiteral("形式:"), format_);
    form->addRow(QStringLiteral("文字コード:"), encoding_);
    form->addRow(folderCaption, FolderRow::Make(folder_, prompter_, QStringLiteral("書き出し先のフォルダ")));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exportButton_);
    buttons->addWidget(cancelButton_);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    setMinimumWidth(460);
}

QString ExportWindow::DefaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(QStringLiteral("日記帳Sorafumi"));
}

void ExportWindow::SetFolder(const QString& folder)
{
    if (!folder.isEmpty())
        folder_->setText(QDir::toNativeSeparators(folder));
}

void ExportWindow::reject()
{
    // Closing the window while it writes stops the export first; what was
    // written so far is taken away again.
    if (running_) {
        cancelled_ = true;
        return;
    }
    QDialog::reject();
}

ExportRequest ExportWindow::Request() const
{
    ExportRequest request;
    if (!wholeDiary_->isChecked()) {
        request.from = from_->date();
        request.to = to_->date();
    }
    request.format = format_->currentIndex() == 1 ? ExportRequest::Format::Html : ExportRequest::Format::Text;
    request.encoding = encoding_->currentIndex() == 1 ? ExportRequest::Encoding::Cp932 : ExportRequest::Encoding::Utf8;
    request.folder = QDir::cleanPath(folder_->text().trimmed());
    return request;
}

DiaryExport::Hooks ExportWindow::Hooks(ExportRequest::Encoding encoding)
{
    DiaryExport::Hooks hooks;
    hooks.progress = [this](qint32 done, qint32 total) {
        progress_->setMaximum(total);
        progress_->setValue(done);
        QCoreApplication::processEvents();
        return !cancelled_;
    };
    hooks.replace = [this](const QStringList& existing) { return AskReplace(existing); };
    hooks.writeFlawed = [this, encoding](const std::vector<ExportFlaw>& flaws) {
        return AskWriteFlawed(flaws, encoding);
    };
    return hooks;
}

bool ExportWindow::AskReplace(const QStringList& existing)
{
    return prompter_.Message({QStringLiteral("書き出し先に同じ名前のﾌｧｲﾙが %1 個あります。\r").arg(existing.size()) +
                                  Listed(existing) + QStringLiteral("\r\r上書きしますか？"),
                              Title(), Prompter::Buttons::YesNo, Prompter::Icon::Question, Prompter::Answer::No}) ==
           Prompter::Answer::Yes;
}

bool ExportWindow::AskWriteFlawed(const std::vector<ExportFlaw>& flaws, ExportRequest::Encoding encoding)
{
    QStringList pages;
    QString changed;
    for (const ExportFlaw& flaw : flaws) {
        pages << QStringLiteral("%1 ﾍﾟｰｼﾞ目 (%2): ").arg(flaw.page).arg(flaw.date.trimmed()) +
                     FlawReasons(flaw, encoding).join(QStringLiteral("、"));
        for (const QChar c : flaw.changed)
            if (!changed.contains(c) && changed.size() < NamedInBox)
                changed += c;
    }
    const QString advice = changed.isEmpty() ? QString()
                                             : QStringLiteral("\r\r%1 などは、文字ｺｰﾄﾞを ｼﾌﾄJIS (CP932) にして"
                                                              "書き出せば、そのまま残ります。")
                                                   .arg(changed);
    return prompter_.Message({QStringLiteral("次のﾍﾟｰｼﾞは、そのままの形では書き出せません。\r") + Listed(pages) +
                                  advice + QStringLiteral("\r\rこのまま書き出しますか？"),
                              Title(), Prompter::Buttons::YesNo, Prompter::Icon::Exclamation, Prompter::Answer::No}) ==
           Prompter::Answer::Yes;
}

void ExportWindow::SetRunning(bool running)
{
    running_ = running;
    cancelled_ = false;
    exportButton_->setEnabled(!running);
    closeButton_->setEnabled(!running);
    cancelButton_->setEnabled(running);
}

void ExportWindow::Export()
{
    const ExportRequest request = Request();
    if (!store_.IsOpen() || store_.PageCount() == 0) {
        prompter_.Message({QStringLiteral("書き出すﾍﾟｰｼﾞがありません。"),
                           Title(),
                           Prompter::Buttons::Ok,
                           Prompter::Icon::Information,
                           {}});
        return;
    }
    if (!PlainCopyWarning::Confirm(prompter_, lock_, Title()))
        return;
    if (request.from.isValid() && request.from > request.to) {
        prompter_.Message({QStringLiteral("期間の始めが終わりより後になっています。"),
                           Title(),
                           Prompter::Buttons::Ok,
                           Prompter::Icon::Exclamation,
                           {}});
        return;
    }
    if (!AskMakeFolder(request.folder))
        return;
    if (request.folder.isEmpty() || !QDir().mkpath(request.folder)) {
        DiaryFiles::ReportFileError(prompter_, {FileError::PathNotFound, ENOENT});
        return;
    }
    SetRunning(true);
    status_->setText(QStringLiteral("書き出しています..."));
    const DiaryExport::Result result =
        DiaryExport::Run(store_.DiaryFile(), store_.PageCount(), request, Hooks(request.encoding));
    SetRunning(false);
    if (result.outcome == DiaryExport::Outcome::Written)
        folderUsed_ = request.folder;
    Report(result);
}

bool ExportWindow::AskMakeFolder(const QString& folder)
{
    // The program's own folder is made without a word; any other that is not
    // there may be a disk that is not mounted now, or a name mistyped.
    if (folder.isEmpty() || QFileInfo(folder).isDir() || folder == QDir::cleanPath(DefaultFolder()))
        return true;
    return prompter_.Message({QStringLiteral("書き出し先のﾌｫﾙﾀﾞがありません。\r%1\r\r作成しますか？")
                                  .arg(QDir::toNativeSeparators(folder)),
                              Title(), Prompter::Buttons::YesNo, Prompter::Icon::Question, Prompter::Answer::Yes}) ==
           Prompter::Answer::Yes;
}

void ExportWindow::Report(const DiaryExport::Result& result)
{
    switch (result.outcome) {
    case DiaryExport::Outcome::Written:
        progress_->setValue(progress_->maximum());
        SpokenText::Announce(*status_, QStringLiteral("%1 個のﾌｧｲﾙを書き出しました。").arg(result.files.size()));
        break;
    case DiaryExport::Outcome::NothingToWrite:
        status_->clear();
        prompter_.Message({QStringLiteral("この期間のﾍﾟｰｼﾞはありません。"),
                           Title(),
                           Prompter::Buttons::Ok,
                           Prompter::Icon::Information,
                           {}});
        break;
    case DiaryExport::Outcome::Cancelled:
        progress_->setValue(0);
        SpokenText::Announce(*status_, QStringLiteral("書き出しを中止しました。ﾌｧｲﾙは書き出していません。"));
        break;
    case DiaryExport::Outcome::Failed:
        progress_->setValue(0);
        status_->setText(result.files.isEmpty()
                             ? QStringLiteral("書き出せませんでした。ﾌｧｲﾙは書き出していません。")
                             : QStringLiteral("書き出しが途中で止まりました。%1 個のﾌｧｲﾙは書き出し済みです。")
                                   .arg(result.files.size()));
        DiaryFiles::ReportFileError(prompter_, result.error);
        break;
    }
}
