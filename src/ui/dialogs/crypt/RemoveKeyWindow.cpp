#include "ui/dialogs/crypt/RemoveKeyWindow.h"

#include "core/crypt/DiaryLock.h"
#include "ui/dialogs/crypt/CryptForm.h"
#include "ui/dialogs/crypt/CryptMessages.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

RemoveKeyWindow::RemoveKeyWindow(DiaryLock& lock, Prompter& prompter, QWidget* parent)
    : QDialog(parent), lock_(lock), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmRemoveKey"));
    CryptForm::Dress(*this, QStringLiteral("鍵を外す"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(CryptForm::Notice(*this, QStringLiteral("鍵を外すには、日記帳のパスワードを入力してください。")), 0,
                    0, 1, 2);
    password_ = CryptForm::PasswordBox(*this, "txtPassword", QStringLiteral("日記帳のパスワード"));
    grid->addWidget(CryptForm::Caption(*this, QStringLiteral("ﾊﾟｽﾜｰﾄﾞ(&P):"), password_), 1, 0);
    grid->addWidget(password_, 1, 1);
    QDialogButtonBox* buttons = CryptForm::Buttons(*this);
    connect(buttons, &QDialogButtonBox::accepted, this, &RemoveKeyWindow::Remove);
    grid->addWidget(buttons, 2, 0, 1, 2);
    password_->setFocus();
}

void RemoveKeyWindow::Remove()
{
    if (CryptMessages::Run(
            prompter_, [this] { return lock_.RemoveLock(password_->text()); }, password_))
        accept();
}
