#pragma once

#include "ui/dialogs/owner/OwnerForm.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class Prompter;
class SettingsStore;

// The owner registration window, shown once while no owner is stored: the
// owner's name and, if wanted, a password. objectName: frmLoginNnew.
class RegistrationWindow : public QDialog
{
    Q_OBJECT
public:
    RegistrationWindow(SettingsStore& settings, Prompter& prompter, QWidget* parent = nullptr);

    // "OK": stores the name and password; an empty name is refused.
    void RegisterOwner();
    // "ﾘｾｯﾄ" and Esc clear both boxes; the window stays.
    void Reset();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    SettingsStore& settings_;
    Prompter& prompter_;
    // The window's controls: the name and password boxes and the two buttons.
    OwnerForm form_;
};
