#include "ui/dialogs/LoginWindow.h"

#include "core/settings/AppSettings.h"
#include "ui/dialogs/OwnerForm.h"
#include "core/settings/SettingsStore.h"
#include "core/platform/Prompter.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

LoginWindow::LoginWindow(SettingsStore& settings, AppSettings& app, Prompter& prompter, std::function<void()> endProgram,
                   QWidget* parent)
    : QDialog(parent), app_(app), prompter_(prompter), endProgram_(std::move(endProgram)),
      form_(OwnerForm::Build(*this, QStringLiteral("所有者確認"), QStringLiteral("ｷｬﾝｾﾙ")))
{
    setObjectName(QStringLiteral("frmLogin"));
    // A registration or password change earlier in this run is seen.
    app_.UserName = settings.ReadSetting(SettingKey::UserName);
    app_.UserPWS = settings.ReadSetting(SettingKey::UserPWS);
    form_.txtUserName->setText(app_.UserName);
    form_.Label1->setText(QStringLiteral("日記帳を開くには、ユーザー名とパスワードが一致しなければなりません。\r"
                                         "ユーザー名とパスワードを入力してください。")
                              .replace(u'\r', u'\n'));

    connect(form_.cmdOK, &QPushButton::clicked, this, &LoginWindow::cmdOK_Click);
    connect(form_.cmdCancel, &QPushButton::clicked, this, &LoginWindow::cmdCancel_Click);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void LoginWindow::cmdOK_Click()
{
    if (form_.txtUserName->text() != app_.UserName) {
        prompter_.Message({QStringLiteral("そのようなユーザーはいません。\r"),
                           QStringLiteral("警告"),
                           Prompter::Buttons::Ok,
                           Prompter::Icon::Critical,
                           {}});
        return;
    }
    if (form_.txtPassword->text() == app_.UserPWS) {
        accept();
        return;
    }
    prompter_.Message({QStringLiteral("パスワードが正しくありません。もう一度入力してください !"),
                       QStringLiteral("確認"),
                       Prompter::Buttons::Ok,
                       Prompter::Icon::Exclamation,
                       {}});
    form_.txtPassword->setFocus();
    form_.txtPassword->selectAll();
}

void LoginWindow::cmdCancel_Click()
{
    prompter_.Message({QStringLiteral("ユーザーを確認できなかったので終了します。"),
                       QStringLiteral("警告"),
                       Prompter::Buttons::Ok,
                       Prompter::Icon::Critical,
                       {}});
    QDialog::reject();
    endProgram_();
}

void LoginWindow::reject()
{
    cmdCancel_Click();
}

bool LoginWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Enter, with any modifier, moves on to the next control as Tab does.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
