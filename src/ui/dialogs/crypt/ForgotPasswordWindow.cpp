#include "ui/dialogs/crypt/ForgotPasswordWindow.h"

#include "core/crypt/DiaryLock.h"
#include "core/crypt/RecoveryCode.h"
#include "ui/dialogs/crypt/CryptForm.h"
#include "ui/dialogs/crypt/CryptMessages.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

ForgotPasswordWindow::ForgotPasswordWindow(DiaryLock& lock, Prompter& prompter, QWidget* parent)
    : QDialog(parent), lock_(lock), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmForgotPassword"));
    CryptForm::Dress(*this, QStringLiteral("パスワードを忘れた"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(CryptForm::Notice(*this, QStringLiteral("鍵をかけたときに控えた回復コードと、"
                                                            "これから使う新しいパスワードを入力してください。")),
                    0, 0, 1, 2);
    code_ = new QLineEdit(this);
    code_->setObjectName(QStringLiteral("txtRecoveryCode"));
    code_->setAccessibleName(QStringLiteral("回復コード"));
    code_->setPlaceholderText(QStringLiteral("XXXX-XXXX-XXXX-XXXX-XXXX-XXXX"));
    grid->addWidget(CryptForm::Caption(*this, QStringLiteral("回復ｺｰﾄﾞ(&R):"), code_), 1, 0);
    grid->addWidget(code_, 1, 1);
    rows_ = NewPasswordRows::Build(*this, *grid, 2);
    QDialogButtonBox* buttons = CryptForm::Buttons(*this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ForgotPasswordWindow::Recover);
    grid->addWidget(buttons, 5, 0, 1, 2);
    code_->setFocus();
}

void ForgotPasswordWindow::Recover()
{
    if (RecoveryCode::Normalized(code_->text()).size() != RecoveryCode::Length) {
        CryptMessages::Warn(prompter_,
                            QStringLiteral("回復コードを %1 文字すべて入力してください。").arg(RecoveryCode::Length));
        code_->setFocus();
        return;
    }
    if (!rows_.Check(prompter_))
        return;
    if (CryptMessages::Run(
            prompter_, [this] { return lock_.UnlockWithRecoveryCode(code_->text(), rows_.password->text()); }, code_,
            CryptMessages::Secret::RecoveryCode))
        accept();
}
