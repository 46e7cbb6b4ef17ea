#include "ui/dialogs/crypt/ChangeKeyWindow.h"

#include "core/crypt/DiaryLock.h"
#include "ui/dialogs/crypt/CryptForm.h"
#include "ui/dialogs/crypt/CryptMessages.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

ChangeKeyWindow::ChangeKeyWindow(DiaryLock& lock, Prompter& prompter, QWidget* parent)
    : QDialog(parent), lock_(lock), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmChangeKey"));
    CryptForm::Dress(*this, QStringLiteral("鍵のパスワードを変える"));
    auto* grid = new QGridLayout(this);
    oldPassword_ = CryptForm::PasswordBox(*this, "txtOldPassword", QStringLiteral("今のパスワード"));
    grid->addWidget(CryptForm::Caption(*this, QStringLiteral("今のﾊﾟｽﾜｰﾄﾞ(&O):"), oldPassword_), 0, 0);
    grid->addWidget(oldPassword_, 0, 1);
    rows_ = NewPasswordRows::Build(*this, *grid, 1);
    QDialogButtonBox* buttons = CryptForm::Buttons(*this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ChangeKeyWindow::Change);
    grid->addWidget(buttons, 4, 0, 1, 2);
    oldPassword_->setFocus();
}

void ChangeKeyWindow::Change()
{
    if (oldPassword_->text().isEmpty()) {
        CryptMessages::Warn(prompter_, QStringLiteral("今のパスワードを入力してください。"));
        oldPassword_->setFocus();
        return;
    }
    if (!rows_.Check(prompter_))
        return;
    if (CryptMessages::Run(
            prompter_, [this] { return lock_.ChangePassword(oldPassword_->text(), rows_.password->text()); },
            oldPassword_))
        accept();
}
