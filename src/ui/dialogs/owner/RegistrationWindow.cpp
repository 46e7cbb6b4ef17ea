#include "ui/dialogs/owner/RegistrationWindow.h"

#include "core/platform/Prompter.h"
#include "core/settings/LoginPassword.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/UnsavedSettings.h"
#include "ui/dialogs/owner/OwnerForm.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

RegistrationWindow::RegistrationWindow(SettingsStore& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent), settings_(settings), prompter_(prompter),
      form_(OwnerForm::Build(*this, QStringLiteral("所有者登録"), QStringLiteral("ﾘｾｯﾄ")))
{
    setObjectName(QStringLiteral("frmLoginNnew"));
    form_.notice->setText(
        QStringLiteral("ここで入力したパスワードは、今後日記帳を開くのに必要となります。絶対に忘れないようにし"
                       "てください。パスワードの変更は、日記帳のプロパティで変更できます。（無効にも出来ます）"));
    form_.okButton->setDefault(true);
    connect(form_.okButton, &QPushButton::clicked, this, &RegistrationWindow::RegisterOwner);
    connect(form_.cancelButton, &QPushButton::clicked, this, &RegistrationWindow::Reset);
}

void RegistrationWindow::RegisterOwner()
{
    // A name of blanks counts as given; only an empty one is refused.
    if (form_.userName->text().isEmpty()) {
        prompter_.Message({QStringLiteral("所有者名は絶対に必要です！！"),
                           QStringLiteral("登録エラー"),
                           Prompter::Buttons::Ok,
                           Prompter::Icon::Exclamation,
                           {}});
        return;
    }
    const bool stored = settings_.WriteSettings(
        {{SettingKey::UserName, form_.userName->text()}, {SettingKey::UserPWS, LoginPassword::ToStored(form_.password->text())}});
    if (!stored)
        UnsavedSettings::ReportChange(prompter_, settings_.FileName());
    accept();
}

void RegistrationWindow::Reset()
{
    prompter_.Beep();
    form_.userName->clear();
    form_.password->clear();
}

void RegistrationWindow::keyPressEvent(QKeyEvent* event)
{
    // Esc resets the boxes; closing the window through its frame writes nothing.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Reset();
        return;
    }
    QDialog::keyPressEvent(event);
}
