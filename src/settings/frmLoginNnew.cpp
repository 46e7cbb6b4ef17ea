#include "frmLoginNnew.h"

#include "OwnerForm.h"
#include "SettingsStore.h"
#include "UnsavedSettings.h"
#include "platform/Prompter.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmLoginNnew::frmLoginNnew(SettingsStore& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent), settings_(settings), prompter_(prompter),
      form_(OwnerForm::Build(*this, QStringLiteral("所有者登録"), QStringLiteral("ﾘｾｯﾄ")))
{
    setObjectName(QStringLiteral("frmLoginNnew"));
    form_.Label1->setText(
        QStringLiteral("ここで入力したパスワードは、今後日記帳を開くのに必要となります。絶対に忘れないようにし"
                       "てください。パスワードの変更は、日記帳のプロパティで変更できます。（無効にも出来ます）"));
    form_.cmdOK->setDefault(true);
    connect(form_.cmdOK, &QPushButton::clicked, this, &frmLoginNnew::cmdOK_Click);
    connect(form_.cmdCancel, &QPushButton::clicked, this, &frmLoginNnew::cmdCancel_Click);
}

void frmLoginNnew::cmdOK_Click()
{
    // A name of blanks counts as given; only an empty one is refused.
    if (form_.txtUserName->text().isEmpty()) {
        prompter_.Message({QStringLiteral("所有者名は絶対に必要です！！"),
                           QStringLiteral("登録エラー"),
                           Prompter::Buttons::Ok,
                           Prompter::Icon::Exclamation,
                           {}});
        return;
    }
    const bool stored =
        settings_.WriteSettings({{QStringLiteral("User"), QStringLiteral("UserName"), form_.txtUserName->text()},
                                 {QStringLiteral("User"), QStringLiteral("UserPWS"), form_.txtPassword->text()}});
    if (!stored)
        UnsavedSettings::ReportChange(prompter_, settings_.FileName());
    accept();
}

void frmLoginNnew::cmdCancel_Click()
{
    prompter_.Beep();
    form_.txtUserName->clear();
    form_.txtPassword->clear();
}

void frmLoginNnew::keyPressEvent(QKeyEvent* event)
{
    // Esc resets the boxes; closing the window through its frame writes nothing.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdCancel_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}
