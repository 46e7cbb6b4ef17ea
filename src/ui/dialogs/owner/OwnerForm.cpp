#include "ui/dialogs/owner/OwnerForm.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {

QLabel* Caption(QDialog& window, int index, const QString& text, QLineEdit* buddy)
{
    auto* label = new QLabel(text, &window);
    label->setObjectName(QStringLiteral("lblLabels"));
    label->setProperty("index", index);
    label->setBuddy(buddy);
    return label;
}

} // namespace

OwnerForm OwnerForm::Build(QDialog& window, const QString& caption, const QString& cancelCaption)
{
    window.setWindowTitle(caption);
    window.setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    OwnerForm form{};

    form.picture = new QLabel(&window);
    form.picture->setObjectName(QStringLiteral("Image1"));
    const QIcon key = QIcon::fromTheme(QStringLiteral("dialog-password"),
                                       window.style()->standardIcon(QStyle::SP_MessageBoxInformation));
    form.picture->setPixmap(key.pixmap(32));
    form.picture->setAccessibleName(QStringLiteral("鍵のアイコン"));
    form.picture->setAlignment(Qt::AlignTop);

    form.notice = new QLabel(&window);
    form.notice->setObjectName(QStringLiteral("Label1"));
    form.notice->setWordWrap(true);
    form.notice->setMinimumWidth(300);

    form.userName = new QLineEdit(&window);
    form.userName->setObjectName(QStringLiteral("txtUserName"));
    form.password = new QLineEdit(&window);
    form.password->setObjectName(QStringLiteral("txtPassword"));
    form.password->setEchoMode(QLineEdit::Password);
    // One "*" for every character typed.
    form.password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));

    form.okButton = new QPushButton(QStringLiteral("OK"), &window);
    form.okButton->setObjectName(QStringLiteral("cmdOK"));
    form.cancelButton = new QPushButton(cancelCaption, &window);
    form.cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    form.okButton->setAutoDefault(false);
    form.cancelButton->setAutoDefault(false);

    auto* grid = new QGridLayout(&window);
    grid->addWidget(form.picture, 0, 0, 3, 1);
    grid->addWidget(form.notice, 0, 1, 1, 2);
    grid->addWidget(Caption(window, 0, QStringLiteral("ﾕｰｻﾞｰ名(&U):"), form.userName), 1, 1);
    grid->addWidget(form.userName, 1, 2);
    grid->addWidget(Caption(window, 1, QStringLiteral("ﾊﾟｽﾜｰﾄﾞ(&P):"), form.password), 2, 1);
    grid->addWidget(form.password, 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(form.okButton);
    buttons->addWidget(form.cancelButton);
    grid->addLayout(buttons, 3, 0, 1, 3);

    QWidget::setTabOrder(form.userName, form.password);
    QWidget::setTabOrder(form.password, form.okButton);
    QWidget::setTabOrder(form.okButton, form.cancelButton);
    form.userName->setFocus();
    return form;
}
