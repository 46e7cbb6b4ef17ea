#pragma once

#include "ui/dialogs/OwnerForm.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class Prompter;
class SettingsStore;

// The owner registration window, shown once while no owner is stored: the
// owner's name and, if wanted, a password.
class RegistrationWindow : public QDialog
{
    Q_OBJECT
public:
    RegistrationWindow(SettingsStore& settings, Prompter& prompter, QWidget* parent = nullptr);

    void cmdOK_Click();
    // "ﾘｾｯﾄ" and Esc clear both boxes; the window stays.
    void cmdCancel_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    SettingsStore& settings_;
    Prompter& prompter_;
    // The window's controls, by their names: form_.txtUserName and so on.
    OwnerForm form_;
};
