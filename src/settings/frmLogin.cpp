#include "frmLogin.h"

#include "AppSettings.h"
#include "OwnerForm.h"
#include "SettingsStore.h"
#include "platform/Prompter.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmLogin::frmLogin(SettingsStore& settings, AppSettings& app, Prompter& prompter, std::function<void()> endProgram,
                   QWidget* parent)
    : QDialog(parent), app_(app), prompter_(prompter), endProgram_(std::move(endProgram))
{
    setObjectName(QStringLiteral("frmLogin"));
    const OwnerForm form = OwnerForm::Build(*this, QStringLiteral("所有者確認"), QStringLiteral("ｷｬﾝｾﾙ"));
    txtUserName = form.txtUserName;
    txtPassword = form.txtPassword;
    cmdOK = form.cmdOK;
    cmdCancel = form.cmdCancel;

    // A registration or password change earlier in this run is seen.
    app_.UserName = settings.ReadSetting(QStringLiteral("User"), QStringLiteral("UserName"));
    app_.UserPWS = settings.ReadSetting(QStringLiteral("User"), QStringLiteral("UserPWS"));
    txtUserName->setText(app_.UserName);
    form.Label1->setText(QStringLiteral("日記帳を開くには、ユーザー名とパスワードが一致しなければなりません。\r"
                                        "ユーザー名とパスワードを入力してください。")
                             .replace(u'\r', u'\n'));
    txtPassword->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLogin::cmdCancel_Click);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void frmLogin::cmdOK_Click()
{
    if (txtUserName->text() != app_.UserName) {
        prompter_.Message({QStringLiteral("そのようなユーザーはいません。\r"), QStringLiteral("警告"),
                           Prompter::Buttons::Ok, Prompter::Icon::Critical, {}});
        return;
    }
    if (txtPassword->text() == app_.UserPWS) {
        accept();
        return;
    }
    prompter_.Message({QStringLiteral("パスワードが正しくありません。もう一度入力してください !"), QStringLiteral("確認"),
                       Prompter::Buttons::Ok, Prompter::Icon::Exclamation, {}});
    txtPassword->setFocus();
    txtPassword->selectAll();
}

void frmLogin::cmdCancel_Click()
{
    prompter_.Message({QStringLiteral("ユーザーを確認できなかったので終了します。"), QStringLiteral("警告"),
                       Prompter::Buttons::Ok, Prompter::Icon::Critical, {}});
    QDialog::reject();
    endProgram_();
}

void frmLogin::reject()
{
    cmdCancel_Click();
}

bool frmLogin::eventFilter(QObject* watched, QEvent* event)
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
