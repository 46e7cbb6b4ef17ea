#include "ui/dialogs/crypt/LockWindow.h"

#include "core/crypt/DiaryLock.h"
#include "ui/dialogs/crypt/CryptForm.h"
#include "ui/dialogs/crypt/CryptMessages.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

LockWindow::LockWindow(DiaryLock& lock, Prompter& prompter, QWidget* parent)
    : QDialog(parent), lock_(lock), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmLock"));
    CryptForm::Dress(*this, QStringLiteral("日記に鍵をかける"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(
        CryptForm::Notice(*this, QStringLiteral("鍵をかけた日記帳は、パスワードを知らない人には読めなくなります。\n"
                                                "パスワードと、次に表示される回復コードの両方をなくすと、"
                                                "日記帳は二度と開けません。")),
        0, 0, 1, 2);
    rows_ = NewPasswordRows::Build(*this, *grid, 1);
    QDialogButtonBox* buttons = CryptForm::Buttons(*this);
    grid->addWidget(buttons, 4, 0, 1, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &LockWindow::Lock);
    rows_.password->setFocus();
}

QString LockWindow::Password() const
{
    return rows_.password->text();
}

void LockWindow::Lock()
{
    if (!rows_.Check(prompter_))
        return;
    // Every page is written, read back and compared: it takes a moment.
    if (CryptMessages::Run(
            prompter_, [this] { return lock_.Lock(Password(), recoveryCode_); }, nullptr))
        accept();
}
