#include "ui/dialogs/crypt/UnlockWindow.h"

#include "core/crypt/DiaryLock.h"
#include "core/platform/Prompter.h"
#include "ui/dialogs/crypt/CryptMessages.h"
#include "ui/dialogs/crypt/ForgotPasswordWindow.h"
#include "ui/dialogs/owner/OwnerMessages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

UnlockWindow::UnlockWindow(const QString& ownerName, DiaryLock& lock, Prompter& prompter,
                           std::function<void()> endProgram, QWidget* parent)
    : QDialog(parent), ownerName_(ownerName), lock_(lock), prompter_(prompter), endProgram_(std::move(endProgram)),
      form_(OwnerForm::Build(*this, QStringLiteral("所有者確認"), QStringLiteral("ｷｬﾝｾﾙ")))
{
    setObjectName(QStringLiteral("frmUnlock"));
    form_.userName->setText(ownerName_);
    form_.password->setAccessibleName(QStringLiteral("日記帳のパスワード"));
    form_.notice->setText(QStringLiteral("この日記帳には鍵がかかっています。\n"
                                         "ユーザー名と日記帳のパスワードを入力してください。"));
    form_.okButton->setDefault(true);

    auto* forgot = new QPushButton(QStringLiteral("パスワードを忘れた(&F)"), this);
    forgot->setObjectName(QStringLiteral("cmdForgot"));
    forgot->setAutoDefault(false);
    // Beside OK and ｷｬﾝｾﾙ, first in the row.
    auto* grid = static_cast<QGridLayout*>(layout());
    if (auto* buttons = qobject_cast<QHBoxLayout*>(grid->itemAtPosition(3, 0)->layout()))
        buttons->insertWidget(0, forgot);
    QWidget::setTabOrder(form_.cancelButton, forgot);

    connect(form_.okButton, &QPushButton::clicked, this, &UnlockWindow::Unlock);
    connect(form_.cancelButton, &QPushButton::clicked, this, &UnlockWindow::GiveUp);
    connect(forgot, &QPushButton::clicked, this, &UnlockWindow::Recover);
    form_.password->setFocus();
}

void UnlockWindow::Unlock()
{
    if (form_.userName->text() != ownerName_) {
        OwnerMessages::NoSuchUser(prompter_);
        return;
    }
    if (CryptMessages::Run(
            prompter_, [this] { return lock_.Unlock(form_.password->text()); }, form_.password))
        accept();
}

void UnlockWindow::Recover()
{
    ForgotPasswordWindow window(lock_, prompter_, this);
    if (prompter_.ShowModal(window) == QDialog::Accepted) {
        CryptMessages::Inform(
            prompter_, QStringLiteral("新しいパスワードを設定しました。次からはこのパスワードで開いてください。"));
        accept();
    }
}

void UnlockWindow::GiveUp()
{
    OwnerMessages::NotConfirmed(prompter_);
    QDialog::reject();
    endProgram_();
}

void UnlockWindow::reject()
{
    GiveUp();
}
