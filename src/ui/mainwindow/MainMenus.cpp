#include "ui/mainwindow/MainMenus.h"

#include "ui/mainwindow/AppContext.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/WindowPrinter.h"
#include "ui/browser/HelpPages.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/mainwindow/LaunchProgress.h"
#include "ui/dialogs/PropertiesDialog.h"
#include "core/diary/DiaryStore.h"
#include "ui/dialogs/SearchWindow.h"

#include <QAction>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>

namespace {

QMenu* AddMenu(QMenuBar& bar, const char* name, const char* caption)
{
    QMenu* menu = bar.addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* AddEntry(QMenu* menu, const char* name, const char* caption, const QKeySequence& shortcut = {})
{
    QAction* entry = menu->addAction(QString::fromUtf8(caption));
    entry->setObjectName(QString::fromLatin1(name));
    entry->setShortcut(shortcut);
    return entry;
}

void AddLine(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

} // namespace

MainMenus::MainMenus(MainWindow& form, AppContext& context, DiaryStore& store)
    : QObject(&form), form_(form), context_(context), store_(store)
{
}

void MainMenus::BuildMenus(QMenuBar& bar)
{
    const auto on = [this](QAction* entry, auto handler) { connect(entry, &QAction::triggered, this, handler); };

    QMenu* file = AddMenu(bar, "menuFile", "ファイル(&F)");
    // The diary is chosen at start: this entry does nothing.
    AddEntry(file, "menuFile_Open", "日記帳を開く");
    AddLine(file, "menuFile_Line01");
    on(AddEntry(file, "menuFile_AddPage", "1ページ書き込む", Qt::Key_F4), [this] { store_.AddPage(); });
    on(AddEntry(file, "menuFile_Save", "日記帳保存", Qt::Key_F5), [this] { menuFile_Save_Click(); });
    on(AddEntry(file, "menuFile_BackPage", "１つ前のページ", Qt::Key_F2), [this] { store_.PreviousPage(); });
    on(AddEntry(file, "menuFile_NextPage", "１つ後のページ", Qt::Key_F3), [this] { store_.NextPage(); });
    AddLine(file, "menuFile_Line02");
    on(AddEntry(file, "menuFile_Print", "印刷(&P)"), [this] { menuFile_Print_Click(); });
    AddLine(file, "menuFile_Line03");
    on(AddEntry(file, "menuCom_Exit", "終了(&E)"), [this] { form_.menuCom_Exit_Click(); });

    QMenu* search = AddMenu(bar, "menuSeratch", "検索(&S)");
    on(AddEntry(search, "menuSeratch_FileSeratch", "この日記帳の全てを検索", QKeySequence(Qt::CTRL | Qt::Key_F)),
       [this] { menuSeratch_FileSeratch_Click(); });

    QMenu* options = AddMenu(bar, "menuOption", "設定(&O)");
    on(AddEntry(options, "menuCom_Properties", "プロパティ(&Ｉ)", QKeySequence(Qt::CTRL | Qt::Key_P)),
       [this] { ShowProperties(); });
    AddLine(options, "menuCom_");
    on(AddEntry(options, "menuCom_Tip", "ワンポイントアドバイス"), [this] { menuCom_Tip_Click(); });

    QMenu* service = AddMenu(bar, "menuService", "サービス");
    on(AddEntry(service, "menuService_HomePage", "ホームページ"), [this] { OpenHelpPage(2); });
    on(AddEntry(service, "menuService_UpDate", "アップデート確認"), [this] { OpenHelpPage(4); });

    QMenu* help = AddMenu(bar, "menuHelp", "ヘルプ");
    on(AddEntry(help, "menuHelp_Help", "ヘルプ"), [this] { OpenHelpPage(0); });
    on(AddEntry(help, "menuHelp_MailTo", "メールを送る"), [this] { OpenHelpPage(3); });
    AddLine(help, "menuHelp_Line01");
    on(AddEntry(help, "menuHelp_Ver", "バージョン情報"), [this] { ShowAbout(); });
}

void MainMenus::Toolbar1_ButtonClick(const QString& key)
{
    if (key == QStringLiteral("ZN"))
        form_.ToggleWebPanel();
    else if (key == QStringLiteral("新規"))
        store_.AddPage();
    else if (key == QStringLiteral("開く"))
        ShowOpenNotice();
    else if (key == QStringLiteral("保存"))
        menuFile_Save_Click();
    else if (key == QStringLiteral("印刷"))
        menuFile_Print_Click();
    else if (key == QStringLiteral("削除"))
        store_.DeletePage();
    else if (key == QStringLiteral("前日"))
        store_.PreviousPage();
    else if (key == QStringLiteral("後日"))
        store_.NextPage();
    else if (key == QStringLiteral("設定"))
        ShowProperties();
    else if (key == QStringLiteral("説明"))
        OpenHelpPage(0);
}

void MainMenus::Toolbar1_ButtonMenuClick(const QString& key)
{
    if (key == QStringLiteral("操作の説明"))
        OpenHelpPage(0);
    else if (key == QStringLiteral("グレードアップ"))
        OpenHelpPage(5);
    else if (key == QStringLiteral("作者宛てメール"))
        OpenHelpPage(3);
    else if (key == QStringLiteral("バージョン情報"))
        ShowAbout();
}

void MainMenus::Image2_DblClick()
{
    OpenHelpPage(5);
}

void MainMenus::ShowOpenNotice()
{
    context_.prompter.Message({QStringLiteral("日記帳はすでに開かれてます。"), QStringLiteral("ファイル情報"),
                               Prompter::Buttons::Ok, Prompter::Icon::Exclamation, {}});
}

void MainMenus::menuFile_Save_Click()
{
    if (store_.StorePage())
        store_.CompactDiary();
}

// A cancelled dialog or a failed print stops silently.
void MainMenus::menuFile_Print_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!context_.prompter.ChoosePrinter(printer))
        return;
    WindowPrinter::Print(*form_.centralWidget(), printer);
}

void MainMenus::menuSeratch_FileSeratch_Click()
{
    // Its hits are selected in the body: a new window must not cover them.
    auto* body = form_.findChild<QPlainTextEdit*>(QStringLiteral("FieldBoxes"));
    const bool opening = !search_;
    if (opening) {
        search_ = new SearchWindow(store_, form_, context_.prompter, &form_);
        search_->PlaceClearOf(form_, *body);
    }
    search_->show();
    // The window manager may have placed it anew as it came up.
    if (opening)
        search_->PlaceClearOf(form_, *body);
    search_->raise();
    search_->activateWindow();
}

void MainMenus::menuCom_Tip_Click()
{
    context_.settings.WriteSetting(SettingKey::ShowTipsAtStartup, QStringLiteral("1"));
    form_.ShowTipWindow();
}

void MainMenus::ShowProperties()
{
    PropertiesDialog dialog(context_.settings, context_.app, context_.prompter, context_.folder,
                      [this] { (new LaunchProgress(context_, form_))->show(); }, &form_);
    context_.prompter.ShowModal(dialog);
}

void MainMenus::ShowAbout()
{
    AboutBox dialog(context_.app, context_.prompter, &form_);
    context_.prompter.ShowModal(dialog);
}

void MainMenus::OpenHelpPage(int selector)
{
    HelpPages::OpenHelpPage(selector, context_.folder, context_.prompter);
}
