#include "ui/mainwindow/MainMenus.h"

#include "core/crypt/DiaryLock.h"
#include "core/diary/DiaryStore.h"
#include "ui/browser/WebModule.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/PropertiesDialog.h"
#include "ui/dialogs/RestoreWindow.h"
#include "ui/dialogs/SameDayWindow.h"
#include "ui/dialogs/SearchWindow.h"
#include "ui/dialogs/TipWindow.h"
#include "ui/dialogs/crypt/LockCommands.h"
#include "ui/dialogs/stats/StatsModule.h"
#include "ui/dialogs/transfer/ExportWindow.h"
#include "ui/dialogs/transfer/ImportWindow.h"
#include "ui/mainwindow/AppContext.h"
#include "ui/mainwindow/LaunchProgress.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/ProgramExit.h"
#include "ui/mainwindow/ToolbarKeys.h"
#include "ui/mainwindow/WebPanel.h"
#include "ui/mainwindow/WindowPrinter.h"
#include "ui/platform/ClearPlacement.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>

namespace {

// The pages HelpPages opens, by their selectors.
enum HelpPage { IndexPage = 0, SitePage = 2, MailPage = 3, UpdatePage = 4, UpgradePage = 5 };

} // namespace

// One row a line where it fits: the table reads as the menus and the toolbar do.
// clang-format off
const MainMenus::Row MainMenus::Rows[] = {
    {Place::Menu, "menuFile", "ファイル(&F)"},
    // The diary is chosen at start: this entry does nothing.
    {Place::MenuEntry, "menuFile_Open", "日記帳を開く"},
    {Place::MenuEntry, "menuFile_Line01"},
    {Place::MenuEntry, "menuFile_AddPage", "1ページ書き込む", Qt::Key_F4, {}, [](MainMenus& m) { m.store_.AddPage(); }},
    {Place::MenuEntry, "menuFile_Save", "日記帳保存", Qt::Key_F5, {}, [](MainMenus& m) { m.SaveDiary(); }},
    {Place::MenuEntry, "menuFile_BackPage", "１つ前のページ", Qt::Key_F2, {},
     [](MainMenus& m) { m.store_.PreviousPage(); }},
    {Place::MenuEntry, "menuFile_NextPage", "１つ後のページ", Qt::Key_F3, {}, [](MainMenus& m) { m.store_.NextPage(); }},
    {Place::MenuEntry, "menuFile_Line02"},
    {Place::MenuEntry, "menuFile_Print", "印刷(&P)", 0, {}, [](MainMenus& m) { m.Print(); }},
    {Place::MenuEntry, "menuFile_Line03"},
    {Place::MenuEntry, "menuCom_Exit", "終了(&E)", 0, {}, [](MainMenus& m) { m.exit_.Exit(); }},

    {Place::Menu, "menuSeratch", "検索(&S)"},
    {Place::MenuEntry, "menuSeratch_FileSeratch", "この日記帳の全てを検索", (Qt::CTRL | Qt::Key_F).toCombined(), {},
     [](MainMenus& m) { m.ShowSearchWindow(); }},

    {Place::Menu, "menuOption", "設定(&O)"},
    {Place::MenuEntry, "menuCom_Properties", "プロパティ(&Ｉ)", (Qt::CTRL | Qt::Key_P).toCombined(), {},
     [](MainMenus& m) { m.ShowProperties(); }},
    {Place::MenuEntry, "menuCom_"},
    {Place::MenuEntry, "menuCom_Tip", "ワンポイントアドバイス", 0, {}, [](MainMenus& m) { m.ShowTips(); }},

    {Place::Menu, "menuTool", "ツール(&T)"},
    {Place::MenuEntry, "menuTool_SameDay", "過去の同じ日(&D)", 0, {}, [](MainMenus& m) { m.ShowSameDayWindow(); }},
    {Place::MenuEntry, "menuTool_Export", "書き出し(&E)...", 0, {}, [](MainMenus& m) { m.ShowExportWindow(); }},
    {Place::MenuEntry, "menuTool_Import", "取り込み(&I)...", 0, {}, [](MainMenus& m) { m.ShowImportWindow(); }},
    {Place::MenuEntry, "menuTool_Restore", "バックアップから復元(&R)...", 0, {}, [](MainMenus& m) { m.ShowRestoreWindow(); }},
    {Place::MenuEntry, "menuTool_Stats", "統計(&S)...", 0, {}, [](MainMenus& m) { m.ShowStatsWindow(); }},
    // Shown as the diary's lock allows: the first for a plain diary, the
    // other two for an encrypted one.
    {Place::MenuEntry, "menuTool_LockLine"},
    {Place::MenuEntry, "menuTool_Lock", "日記に鍵をかける(&L)...", 0, {}, [](MainMenus& m) { m.LockDiary(); }},
    {Place::MenuEntry, "menuTool_ChangeKey", "鍵のパスワードを変える(&K)...", 0, {},
     [](MainMenus& m) { m.ChangeLockPassword(); }},
    {Place::MenuEntry, "menuTool_RemoveKey", "鍵を外す(&U)...", 0, {}, [](MainMenus& m) { m.RemoveLock(); }},

    {Place::Menu, "menuService", "サービス"},
    {Place::MenuEntry, "menuService_HomePage", "ホームページ", 0, {}, [](MainMenus& m) { m.OpenHelpPage(SitePage); }},
    {Place::MenuEntry, "menuService_UpDate", "アップデート確認", 0, {},
     [](MainMenus& m) { m.OpenHelpPage(UpdatePage); }},

    {Place::Menu, "menuHelp", "ヘルプ"},
    {Place::MenuEntry, "menuHelp_Help", "ヘルプ", 0, {}, [](MainMenus& m) { m.OpenHelpPage(IndexPage); }},
    {Place::MenuEntry, "menuHelp_MailTo", "メールを送る", 0, {}, [](MainMenus& m) { m.OpenHelpPage(MailPage); }},
    {Place::MenuEntry, "menuHelp_Line01"},
    {Place::MenuEntry, "menuHelp_Ver", "バージョン情報", 0, {}, [](MainMenus& m) { m.ShowAbout(); }},

    // "ZN" shows pressed while the web panel is open. The buttons between it
    // and "説明" rest meanwhile; the menu entries stay.
    {Place::ToolbarButton, "ZN", "ZN", 0, {"internet-web-browser", QStyle::SP_DriveNetIcon},
     [](MainMenus& m) { m.webPanel_.Toggle(); }, Button::Toggle, UsableUnderPanel},
    {Place::ToolbarButton},
    {Place::ToolbarButton, "新規", "新規", 0, {"document-new", QStyle::SP_FileIcon},
     [](MainMenus& m) { m.store_.AddPage(); }},
    {Place::ToolbarButton, "開く", "開く", 0, {"document-open", QStyle::SP_DialogOpenButton},
     [](MainMenus& m) { m.ShowOpenNotice(); }},
    {Place::ToolbarButton, "保存", "保存", 0, {"document-save", QStyle::SP_DialogSaveButton},
     [](MainMenus& m) { m.SaveDiary(); }},
    {Place::ToolbarButton},
    {Place::ToolbarButton, "印刷", "印刷", 0, {"document-print", QStyle::SP_FileDialogDetailedView},
     [](MainMenus& m) { m.Print(); }},
    {Place::ToolbarButton},
    {Place::ToolbarButton, "削除", "削除", 0, {"edit-delete", QStyle::SP_TrashIcon},
     [](MainMenus& m) { m.store_.DeletePage(); }},
    {Place::ToolbarButton},
    {Place::ToolbarButton, "前日", "前日", 0, {"go-previous", QStyle::SP_ArrowBack},
     [](MainMenus& m) { m.store_.PreviousPage(); }},
    {Place::ToolbarButton, "後日", "後日", 0, {"go-next", QStyle::SP_ArrowForward},
     [](MainMenus& m) { m.store_.NextPage(); }},
    {Place::ToolbarButton},
    {Place::ToolbarButton, "設定", "設定", 0, {"preferences-system", QStyle::SP_FileDialogInfoView},
     [](MainMenus& m) { m.ShowProperties(); }},
    // The button itself shows the help; its arrow drops down the entries below.
    {Place::ToolbarButton, "説明", "説明", 0, {"help-contents", QStyle::SP_DialogHelpButton},
     [](MainMenus& m) { m.OpenHelpPage(IndexPage); }, Button::WithList, UsableUnderPanel},

    {Place::DropDownEntry, "操作の説明", "操作の説明", 0, {}, [](MainMenus& m) { m.OpenHelpPage(IndexPage); }},
    {Place::DropDownEntry, "グレードアップ", "グレードアップ", 0, {}, [](MainMenus& m) { m.OpenHelpPage(UpgradePage); }},
    {Place::DropDownEntry},
    {Place::DropDownEntry, "作者宛てメール", "作者宛てメール", 0, {}, [](MainMenus& m) { m.OpenHelpPage(MailPage); }},
    {Place::DropDownEntry},
    {Place::DropDownEntry, "バージョン情報", "バージョン情報", 0, {}, [](MainMenus& m) { m.ShowAbout(); }},
};
// clang-format on

MainMenus::MainMenus(AppContext& context, DiaryStore& store, DiaryView& view, ProgramExit& exit, WebPanel& webPanel,
                     MainWindow& window)
    : QObject(&window), context_(context), store_(store), view_(view), exit_(exit), webPanel_(webPanel), window_(window)
{
}

void MainMenus::BuildMenus(QMenuBar& bar)
{
    QMenu* menu = nullptr;
    for (const Row& row : Rows) {
        if (row.place == Place::Menu) {
            menu = bar.addMenu(QString::fromUtf8(row.caption));
            menu->setObjectName(QString::fromLatin1(row.name));
            continue;
        }
        if (row.place != Place::MenuEntry)
            continue;
        if (!row.caption) {
            menu->addSeparator()->setObjectName(QString::fromLatin1(row.name));
            continue;
        }
        QAction* entry = menu->addAction(QString::fromUtf8(row.caption));
        entry->setObjectName(QString::fromLatin1(row.name));
        entry->setShortcut(QKeySequence(row.shortcut));
        Connect(entry, row);
    }
    if (QMenu* tools = bar.findChild<QMenu*>(QStringLiteral("menuTool"))) {
        connect(tools, &QMenu::aboutToShow, this, &MainMenus::ShowLockEntries);
        ShowLockEntries();
    }
}

void MainMenus::ShowLockEntries()
{
    const DiaryLock* lock = context_.diaryLock;
    const bool encrypted = lock && lock->IsEncrypted();
    const QObject& bar = *window_.menuBar();
    const auto show = [&bar](const char* name, bool shown) {
        if (auto* entry = bar.findChild<QAction*>(QString::fromLatin1(name)))
            entry->setVisible(shown);
    };
    show("menuTool_LockLine", lock);
    show("menuTool_Lock", lock && !encrypted);
    show("menuTool_ChangeKey", encrypted);
    show("menuTool_RemoveKey", encrypted);
}

QToolBar* MainMenus::BuildToolbar()
{
    auto* toolbar = new QToolBar;
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar->setIconSize(QSize(16, 16));
    // Ten captioned buttons share the band's design width.
    toolbar->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 8));

    QAction* withList = nullptr;
    QMenu* list = nullptr;
    for (const Row& row : Rows) {
        if (row.place == Place::ToolbarButton) {
            if (!row.caption) {
                restingButtons_ << toolbar->addSeparator();
                continue;
            }
            const QString key = QString::fromUtf8(row.caption);
            const QIcon icon = QIcon::fromTheme(QString::fromLatin1(row.icon.themeName),
                                                window_.style()->standardIcon(row.icon.fallback));
            QAction* button = toolbar->addAction(icon, key);
            button->setObjectName(QString::fromUtf8(row.name));
            button->setCheckable(row.button == Button::Toggle);
            button->setToolTip(key);
            Connect(button, row);
            if (row.button == Button::WithList)
                withList = button;
            if (row.button == Button::Toggle)
                panelToggle_ = button;
            if (!row.usableUnderPanel)
                restingButtons_ << button;
        } else if (row.place == Place::DropDownEntry) {
            if (!list) {
                list = new QMenu(&window_);
                list->setObjectName(QStringLiteral("ButtonMenus"));
            }
            if (!row.caption) {
                list->addSeparator();
                continue;
            }
            QAction* entry = list->addAction(QString::fromUtf8(row.caption));
            entry->setObjectName(QString::fromUtf8(row.name));
            Connect(entry, row);
        }
    }
    withList->setMenu(list);
    if (auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(withList)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    // 削除 and ZN have no menu entry: the keyboard reaches them here.
    new ToolbarKeys(*toolbar);
    return toolbar;
}

void MainMenus::ShowPanelOpen(bool open)
{
    for (QAction* button : restingButtons_)
        button->setEnabled(!open);
    panelToggle_->setChecked(open);
}

void MainMenus::Connect(QAction* action, const Row& row)
{
    if (row.command)
        connect(action, &QAction::triggered, this, [this, command = row.command] { command(*this); });
}

void MainMenus::ShowUpgradePage()
{
    OpenHelpPage(UpgradePage);
}

void MainMenus::ShowOpenNotice()
{
    context_.prompter.Message({QStringLiteral("日記帳はすでに開かれてます。"),
                               QStringLiteral("ファイル情報"),
                               Prompter::Buttons::Ok,
                               Prompter::Icon::Exclamation,
                               {}});
}

void MainMenus::SaveDiary()
{
    if (store_.StorePage())
        store_.CompactDiary();
}

void MainMenus::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!context_.prompter.ChoosePrinter(printer))
        return;
    WindowPrinter::Print(*window_.centralWidget(), printer);
}

// Placed before it is shown: the window manager then puts its frame there,
// where a move right after showing would lose the title bar.
void MainMenus::ShowClear(QWidget& window)
{
    ClearPlacement::Place(window, window_, window_.Body());
    window.show();
    window.raise();
    window.activateWindow();
}

void MainMenus::ShowSearchWindow()
{
    // Its hits are selected in the body: a new window must not cover them.
    if (!search_)
        search_ = new SearchWindow(store_, context_.settings, context_.prompter, &window_);
    ShowClear(*search_);
}

void MainMenus::ShowSameDayWindow()
{
    if (!sameDay_)
        sameDay_ = new SameDayWindow(store_, &window_);
    ShowClear(*sameDay_);
}

void MainMenus::ShowStatsWindow()
{
    // Its figures are read from the file: the shown page's edits go there
    // first, as for an export.
    if (!store_.StorePage())
        return;
    // It stays open beside the main window, whose calendar its bars turn.
    if (!stats_) {
        StatsModule* stats = StatsModule::Load(context_.prompter);
        if (!stats)
            return;
        stats_ = stats->MakeWindow(store_, context_.prompter, context_.clock, &window_.Calendar(), context_.diaryLock,
                                   &window_);
    }
    ShowClear(*stats_);
}

void MainMenus::ShowExportWindow()
{
    // The export reads the file: the shown page's edits go there first, as
    // stepping stores them; a page that cannot be stored is not left behind.
    if (!store_.StorePage())
        return;
    ExportWindow window(store_, context_.prompter, context_.clock, &window_);
    window.WarnOfPlainCopies(context_.diaryLock);
    window.SetFolder(context_.app.ExportFolder);
    context_.prompter.ShowModal(window);
    if (!window.FolderUsed().isEmpty())
        context_.app.ExportFolder = window.FolderUsed();
}

void MainMenus::ShowImportWindow()
{
    ImportWindow window(store_, context_.prompter, &window_);
    // Pages are most often taken in from where they were written out.
    window.SetFolder(context_.app.ImportFolder.isEmpty() ? context_.app.ExportFolder : context_.app.ImportFolder);
    context_.prompter.ShowModal(window);
    if (!window.FolderUsed().isEmpty())
        context_.app.ImportFolder = window.FolderUsed();
}

void MainMenus::LockDiary()
{
    // The page being written goes into the diary before it is converted.
    if (!context_.diaryLock || !store_.StorePage())
        return;
    LockCommands(*context_.diaryLock, context_.prompter, &window_).LockDiary();
    ShowLockEntries();
}

void MainMenus::ChangeLockPassword()
{
    if (context_.diaryLock)
        LockCommands(*context_.diaryLock, context_.prompter, &window_).ChangePassword();
}

void MainMenus::RemoveLock()
{
    if (!context_.diaryLock || !store_.StorePage())
        return;
    LockCommands(*context_.diaryLock, context_.prompter, &window_).RemoveLock();
    ShowLockEntries();
}

void MainMenus::ShowTips()
{
    context_.settings.WriteSetting(SettingKey::ShowTipsAtStartup, QStringLiteral("1"));
    ShowTipWindow();
}

void MainMenus::ShowTipWindow()
{
    TipWindow window(tips_, context_.settings, context_.folder, &window_);
    context_.prompter.ShowModal(window);
}

void MainMenus::ShowProperties()
{
    PropertiesDialog dialog(
        context_.settings, context_.app, context_.prompter, context_.folder, context_.launcher,
        [this] { (new LaunchProgress(context_, exit_, window_))->show(); }, &window_);
    context_.prompter.ShowModal(dialog);
}

void MainMenus::ShowRestoreWindow()
{
    RestoreWindow dialog(store_, context_.prompter, &window_);
    context_.prompter.ShowModal(dialog);
}

void MainMenus::ShowAbout()
{
    AboutBox dialog(context_.app, context_.prompter, &window_);
    context_.prompter.ShowModal(dialog);
}

void MainMenus::OpenHelpPage(int selector)
{
    if (WebModule* web = WebModule::Load(context_.prompter))
        web->OpenHelpPage(selector, context_.folder, context_.prompter);
}
