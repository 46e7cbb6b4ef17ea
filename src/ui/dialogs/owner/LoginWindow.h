#pragma once

#include "ui/dialogs/owner/OwnerForm.h"

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;
class Prompter;
class SettingsStore;
struct AppSettings;

// The login window: the owner's name and password must match before the
// diary opens. Giving up ends the program. objectName: frmLogin.
class LoginWindow : public QDialog
{
    Q_OBJECT
public:
    LoginWindow(SettingsStore& settings, AppSettings& app, Prompter& prompter, std::function<void()> endProgram,
                QWidget* parent = nullptr);

    // "OK": the name and password must both match.
    void CheckOwner();
    // "ｷｬﾝｾﾙ": says so and ends the program.
    void GiveUp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Esc and the frame's close button give up like "ｷｬﾝｾﾙ".
    void reject() override;

private:
    AppSettings& app_;
    Prompter& prompter_;
    std::function<void()> endProgram_;
    // The window's controls: the name and password boxes and the two buttons.
    OwnerForm form_;
};
