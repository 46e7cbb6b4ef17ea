#include "ui/mainwindow/StartProgram.h"

#include "core/crypt/DiaryEncryption.h"
#include "core/crypt/DiaryLock.h"
#include "core/settings/LoginPassword.h"
#include "core/settings/SessionSettings.h"
#include "core/settings/SettingValue.h"
#include "ui/dialogs/crypt/UnlockWindow.h"
#include "ui/dialogs/owner/LoginWindow.h"
#include "ui/dialogs/owner/RegistrationWindow.h"
#include "ui/mainwindow/AppContext.h"
#include "ui/mainwindow/MainMenus.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/RunningCopy.h"
#include "ui/platform/OnScreenPlace.h"

#include <QCoreApplication>

namespace {

// The registration and login windows stand alone. A window owned by the main
// window would make the main window's native window early, and a place set
// after that is taken for the inside area's corner instead of the frame's: the
// window would creep up by its title bar at every start.
void RegisterOwner(AppContext& context)
{
    RegistrationWindow window(context.settings, context.prompter);
    context.prompter.ShowModal(window);
}

bool AskOwnerRegistration(AppContext& context, ProgramExit& exit)
{
    const Prompter::Answer answer = context.prompter.Message(
        {QStringLiteral(
             "簡単なセットアップを行います。\rまず所有者の名前を設定して下さい。\r同時にパスワードも設定できます。\r"
             "（パスワードは後からも変更できますが、所有者名はこの場以外では変更できません！）"),
         QStringLiteral("新規登録"),
         Prompter::Buttons::YesNo,
         Prompter::Icon::Information,
         {}});
    if (answer == Prompter::Answer::Yes) {
        RegisterOwner(context);
        return !context.Ended();
    }
    context.prompter.Message({QStringLiteral("所有者登録を拒否されたので終了します。"),
                              QStringLiteral("登録拒否"),
                              Prompter::Buttons::Ok,
                              Prompter::Icon::Critical,
                              {}});
    exit.EndAtStart();
    return false;
}

// Returns only when the owner was confirmed; giving up ends the program.
bool ConfirmLogin(AppContext& context)
{
    LoginWindow window(context.settings, context.app, context.prompter, [&context] { context.EndProgram(); });
    context.prompter.ShowModal(window);
    return !context.Ended();
}

// An encrypted diary opens only with its password, whatever the login
// switch says: the window asks it in the login window's place.
bool UnlockDiary(AppContext& context, DiaryLock& lock)
{
    UnlockWindow window(context.settings.ReadSetting(SettingKey::UserName), lock, context.prompter,
                        [&context] { context.EndProgram(); });
    context.prompter.ShowModal(window);
    return !context.Ended() && window.result() == QDialog::Accepted;
}

// The diary named at the first start is kept at once, not only at 終了: a
// start after a crash opens it without asking again. 終了 writes it with the
// other settings and tells the user when they do not reach the disk.
void KeepDiaryName(AppContext& context)
{
    context.settings.WriteSetting(SettingKey::UserDataFile, context.app.UserDataFile);
}

} // namespace

bool LoadMainWindow(AppContext& context, MainWindow& form)
{
    if (context.app.UserName.isEmpty() && !AskOwnerRegistration(context, form.Exiting()))
        return false;

    // A switch that is not a number keeps the diary locked: the login is asked.
    context.app.LoginOnOff =
        SettingValue::ToSwitch(context.settings.ReadSetting(SettingKey::LoginOnOff)).value_or(true);
    // The diary's name and folder are known before the login, so that an
    // encrypted diary's password is asked in its place.
    context.folder.MakeCurrent();
    const QString named = context.settings.ReadSetting(SettingKey::UserDataFile);
    context.app.UserDataFile = DiaryEncryption::WhereItIs(named);
    if (context.app.UserDataFile != named)
        KeepDiaryName(context);
    if (context.diaryLock && context.diaryLock->IsEncrypted()) {
        if (!UnlockDiary(context, *context.diaryLock))
            return false;
    } else if (context.app.LoginOnOff && !ConfirmLogin(context)) {
        return false;
    }

    // From here on a step that fails is skipped and the next one runs.
    SessionSettings::LoadSettings(context.settings, context.app, form, context.prompter);
    // A place stored for other screens, or by hand, must not hide the title bar.
    OnScreenPlace::Apply(form);
    context.folder.MakeCurrent();
    form.LoadBackground();
    const bool firstStart = context.app.UserDataFile.isEmpty();
    DiaryStore& store = form.Store();
    store.SelectDiaryFile(context.folder.UserFolder());
    if (store.OpenElsewhere())
        RunningCopy::RaiseHolder(store.DiaryFile().Path());
    if (context.Ended())
        return false;
    if (firstStart && store.IsOpen())
        KeepDiaryName(context);
    if (store.IsOpen())
        form.Exiting().HoldDiary(store.DiaryFile().Path());
    store.ShowLastPage();
    // Words a run left unstored come back before anything else is written.
    store.OfferDraft();
    form.ShowFontSize(context.app.UserDataFontSize);
    // The window opens ready for writing, not on the page slider.
    form.FocusBody();
    return true;
}

std::unique_ptr<MainWindow> StartProgram(AppContext& context)
{
    // A login password kept as typed by an older version becomes its hash.
    LoginPassword::ConvertStored(context.settings);
    context.app.ReadOwnerAndColours(context.settings);

    auto form = std::make_unique<MainWindow>(context);
    if (!context.diaryLock)
        context.diaryLock = &form->Store();
    // Locking or unlocking gives the diary another name: the next start opens
    // it, and a copy started on it later calls this one to the front.
    MainWindow* window = form.get();
    form->Store().SetNameKeeper([&context, window](const QString&) {
        KeepDiaryName(context);
        window->Exiting().HoldDiary(window->Store().DiaryFile().Path());
    });
    if (!LoadMainWindow(context, *form))
        return nullptr;
    form->show();
    QCoreApplication::processEvents();

    if (SessionSettings::TipsAtStartup(context.settings))
        form->Commands().ShowTipWindow();
    if (context.Ended())
        return nullptr;
    return form;
}
