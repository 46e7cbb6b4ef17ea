#include "ui/dialogs/crypt/NewPasswordRows.h"

#include "core/platform/Prompter.h"
#include "ui/dialogs/crypt/CryptForm.h"
#include "ui/dialogs/crypt/CryptMessages.h"
#include "ui/dialogs/crypt/PasswordStrength.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

NewPasswordRows NewPasswordRows::Build(QWidget& window, QGridLayout& grid, int row)
{
    NewPasswordRows rows{};
    rows.password = CryptForm::PasswordBox(window, "txtNewPassword", QStringLiteral("新しいパスワード"));
    rows.again = CryptForm::PasswordBox(window, "txtConfirmPassword", QStringLiteral("新しいパスワード（確認）"));
    rows.strength = new QLabel(&window);
    rows.strength->setObjectName(QStringLiteral("lblStrength"));
    rows.strength->setAccessibleName(QStringLiteral("パスワードの強さ"));
    QObject::connect(rows.password, &QLineEdit::textChanged, rows.strength,
                     [label = rows.strength](const QString& text) { label->setText(PasswordStrength::Hint(text)); });

    grid.addWidget(CryptForm::Caption(window, QStringLiteral("新しいﾊﾟｽﾜｰﾄﾞ(&N):"), rows.password), row, 0);
    grid.addWidget(rows.password, row, 1);
    grid.addWidget(rows.strength, row + 1, 1);
    grid.addWidget(CryptForm::Caption(window, QStringLiteral("もう一度(&A):"), rows.again), row + 2, 0);
    grid.addWidget(rows.again, row + 2, 1);
    return rows;
}

bool NewPasswordRows::Check(Prompter& prompter) const
{
    if (password->text().isEmpty()) {
        CryptMessages::Warn(prompter, QStringLiteral("新しいパスワードを入力してください。"));
        password->setFocus();
        return false;
    }
    if (again->text() != password->text()) {
        CryptMessages::Warn(prompter,
                            QStringLiteral("確認のために入力したパスワードが一致しません。もう一度入力してください !"));
        again->setFocus();
        again->selectAll();
        return false;
    }
    return true;
}
