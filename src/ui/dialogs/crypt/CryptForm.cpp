#include "ui/dialogs/crypt/CryptForm.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void CryptForm::Dress(QDialog& window, const QString& title)
{
    window.setWindowTitle(title);
    window.setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
}

QLineEdit* CryptForm::PasswordBox(QWidget& window, const char* objectName, const QString& accessibleName)
{
    auto* box = new QLineEdit(&window);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setAccessibleName(accessibleName);
    box->setEchoMode(QLineEdit::Password);
    // One "*" for every character typed, as in the login window.
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    return box;
}

QLabel* CryptForm::Caption(QWidget& window, const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, &window);
    label->setBuddy(buddy);
    return label;
}

QLabel* CryptForm::Notice(QWidget& window, const QString& text)
{
    auto* label = new QLabel(text, &window);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    label->setMinimumWidth(340);
    return label;
}

QDialogButtonBox* CryptForm::Buttons(QDialog& window)
{
    auto* buttons = new QDialogButtonBox(&window);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    return buttons;
}
