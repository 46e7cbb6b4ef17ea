#include "ui/dialogs/owner/LoginWindow.h"

#include "core/platform/Prompter.h"
#include "core/settings/AppSettings.h"
#include "core/settings/LoginPassword.h"
#include "core/settings/SettingsStore.h"
#include "ui/dialogs/owner/OwnerForm.h"
#include "ui/dialogs/owner/OwnerMessages.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

LoginWindow::LoginWindow(SettingsStore& settings, AppSettings& app, Prompter& prompter,
                         std::function<void()> endProgram, QWidget* parent)
    : QDialog(parent), app_(app), prompter_(prompter), endProgram_(std::move(endProgram)),
      form_(OwnerForm::Build(*this, QStringLiteral("所有者確認"), QStringLiteral("ｷｬﾝｾﾙ")))
{
    setObjectName(QStringLiteral("frmLogin"));
    // A registration or password change earlier in this run is seen.
    app_.UserName = settings.ReadSetting(SettingKey::UserName);
    app_.UserPWS = settings.ReadSetting(SettingKey::UserPWS);
    form_.userName->setText(app_.UserName);
    form_.notice->setText(QStringLiteral("日記帳を開くには、ユーザー名とパスワードが一致しなければなりません。\r"
                                         "ユーザー名とパスワードを入力してください。")
                              .replace(u'\r', u'\n'));

    connect(form_.okButton, &QPushButton::clicked, this, &LoginWindow::CheckOwner);
    connect(form_.cancelButton, &QPushButton::clicked, this, &LoginWindow::GiveUp);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void LoginWindow::CheckOwner()
{
    if (form_.userName->text() != app_.UserName) {
        OwnerMessages::NoSuchUser(prompter_);
        return;
    }
    if (LoginPassword::Matches(form_.password->text(), app_.UserPWS)) {
        accept();
        return;
    }
    prompter_.Message({QStringLiteral("パスワードが正しくありません。もう一度入力してください !"),
                       QStringLiteral("確認"),
                       Prompter::Buttons::Ok,
                       Prompter::Icon::Exclamation,
                       {}});
    form_.password->setFocus();
    form_.password->selectAll();
}

void LoginWindow::GiveUp()
{
    OwnerMessages::NotConfirmed(prompter_);
    QDialog::reject();
    endProgram_();
}

void LoginWindow::reject()
{
    GiveUp();
}

bool LoginWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Enter, with any modifier, moves on to the next control as Tab does; on
    // a button it presses the button, as Space does.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (auto* button = qobject_cast<QPushButton*>(watched))
                button->click();
            else
                focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
