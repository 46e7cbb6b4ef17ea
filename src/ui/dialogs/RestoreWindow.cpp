#include "ui/dialogs/RestoreWindow.h"

#include "core/backup/BackupGenerations.h"
#include "core/diary/DiaryStore.h"
#include "core/platform/JapaneseLocale.h"
#include "core/platform/Prompter.h"
#include "ui/platform/SpokenText.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The copy's file a row stands for.
constexpr int PathRole = Qt::UserRole;

QString TakenText(const BackupGenerations::Generation& copy)
{
    const QString taken = copy.keptAtRestore ? copy.taken.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) +
                                                   QStringLiteral("（復元する前の日記）")
                                             : copy.taken.toString(QStringLiteral("yyyy/MM/dd"));
    // Copies made before each diary had copies of its own carry only the
    // file's name, which a diary of the same name elsewhere shares.
    return copy.sharedName ? taken + QStringLiteral("（同じ名前の別の日記のものかもしれません）") : taken;
}

} // namespace

RestoreWindow::RestoreWindow(DiaryStore& store, Prompter& prompter, QWidget* parent)
    : QDialog(parent), store_(store), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmRestore"));
    setWindowTitle(QStringLiteral("バックアップから復元"));

    auto* folderCaption = new QLabel(QStringLiteral("バックアップの場所："), this);
    folderCaption->setObjectName(QStringLiteral("lblBackupFolder"));
    // The folder differs from user to user: its label goes unnamed, so that
    // the window's list of names stays the same everywhere. It is read as
    // the folder, labelled by its caption.
    auto* folder = new QLabel(QDir::toNativeSeparators(QDir(store_.BackupFolder()).absolutePath()), this);
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folderCaption->setBuddy(folder);
    folder->setAccessibleDescription(SpokenText::WithoutColon(folderCaption->text()));

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("lstBackups"));
    list_->setAccessibleName(QStringLiteral("バックアップの一覧"));
    list_->setHeaderLabels(
        {QStringLiteral("バックアップした日"), QStringLiteral("ページ数"), QStringLiteral("最後のページの日付")});
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);

    restore_ = new QPushButton(QStringLiteral("復元(&R)"), this);
    restore_->setObjectName(QStringLiteral("cmdRestore"));
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("cmdCancel"));
    connect(restore_, &QPushButton::clicked, this, &RestoreWindow::Restore);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemActivated, this, &RestoreWindow::Restore);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(restore_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    auto* place = new QHBoxLayout;
    place->addWidget(folderCaption);
    place->addWidget(folder, 1);
    layout->addLayout(place);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    resize(520, 320);
    Fill();
}

void RestoreWindow::Fill()
{
    const QList<BackupGenerations::Generation> copies =
        BackupGenerations::List(store_.DiaryFile().Path(), store_.BackupFolder());
    for (const BackupGenerations::Generation& copy : copies) {
        auto* row = new QTreeWidgetItem(
            {TakenText(copy), QString::number(copy.pages),
             copy.lastPage.isValid() ? JapaneseLocale::FormatDate(copy.lastPage) : QStringLiteral("（日付なし）")});
        row->setData(0, PathRole, copy.path);
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        list_->addTopLevelItem(row);
    }
    list_->header()->resizeSections(QHeaderView::ResizeToContents);
    if (list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    restore_->setEnabled(list_->topLevelItemCount() > 0);
}

void RestoreWindow::Restore()
{
    const QTreeWidgetItem* row = list_->currentItem();
    if (!row)
        return;
    const Prompter::Answer answer = prompter_.Message(
        {row->text(0) + QStringLiteral(" のバックアップで日記を置き換えます。\r"
                                       "今の日記はバックアップの場所に残します。\r復元しますか？"),
         QStringLiteral("復元の確認"), Prompter::Buttons::YesNo, Prompter::Icon::Question, Prompter::Answer::No});
    if (answer != Prompter::Answer::Yes)
        return;
    if (store_.RestoreBackup(row->data(0, PathRole).toString()))
        accept();
}
