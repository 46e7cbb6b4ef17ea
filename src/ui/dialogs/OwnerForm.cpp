#include "ui/dialogs/OwnerForm.h"

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

    form.Image1 = new QLabel(&window);
    form.Image1->setObjectName(QStringLiteral("Image1"));
    const QIcon key = QIcon::fromTheme(QStringLiteral("dialog-password"),
                                       window.style()->standardIcon(QStyle::SP_MessageBoxInformation));
    form.Image1->setPixmap(key.pixmap(32));
    form.Image1->setAlignment(Qt::AlignTop);

    form.Label1 = new QLabel(&window);
    form.Label1->setObjectName(QStringLiteral("Label1"));
    form.Label1->setWordWrap(true);
    form.Label1->setMinimumWidth(300);

    form.txtUserName = new QLineEdit(&window);
    form.txtUserName->setObjectName(QStringLiteral("txtUserName"));
    form.txtPassword = new QLineEdit(&window);
    form.txtPassword->setObjectName(QStringLiteral("txtPassword"));
    form.txtPassword->setEchoMode(QLineEdit::Password);
    // One "*" for every character typed.
    form.txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));

    form.cmdOK = new QPushButton(QStringLiteral("OK"), &window);
    form.cmdOK->setObjectName(QStringLiteral("cmdOK"));
    form.cmdCancel = new QPushButton(cancelCaption, &window);
    form.cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    form.cmdOK->setAutoDefault(false);
    form.cmdCancel->setAutoDefault(false);

    auto* grid = new QGridLayout(&window);
    grid->addWidget(form.Image1, 0, 0, 3, 1);
    grid->addWidget(form.Label1, 0, 1, 1, 2);
    grid->addWidget(Caption(window, 0, QStringLiteral("ﾕｰｻﾞｰ名(&U):"), form.txtUserName), 1, 1);
    grid->addWidget(form.txtUserName, 1, 2);
    grid->addWidget(Caption(window, 1, QStringLiteral("ﾊﾟｽﾜｰﾄﾞ(&P):"), form.txtPassword), 2, 1);
    grid->addWidget(form.txtPassword, 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(form.cmdOK);
    buttons->addWidget(form.cmdCancel);
    grid->addLayout(buttons, 3, 0, 1, 3);

    QWidget::setTabOrder(form.txtUserName, form.txtPassword);
    QWidget::setTabOrder(form.txtPassword, form.cmdOK);
    QWidget::setTabOrder(form.cmdOK, form.cmdCancel);
    form.txtUserName->setFocus();
    return form;
}
