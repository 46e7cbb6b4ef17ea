#pragma once

#include "ui/dialogs/owner/OwnerForm.h"

#include <QDialog>
#include <functional>

class DiaryLock;
class Prompter;

// The login of an encrypted diary, shown at start in the login window's
// place and looking as it does: the owner's name and the diary's password,
// which opens the diary; 「パスワードを忘れた」 opens it with the recovery
// code instead. Giving up ends the program. objectName: frmUnlock.
class UnlockWindow : public QDialog
{
    Q_OBJECT
public:
    UnlockWindow(const QString& ownerName, DiaryLock& lock, Prompter& prompter, std::function<void()> endProgram,
                 QWidget* parent = nullptr);

    // "OK": the name must match and the password open the diary.
    void Unlock();
    // 「パスワードを忘れた」: the recovery code and a new password.
    void Recover();
    // "ｷｬﾝｾﾙ": says so and ends the program.
    void GiveUp();

public Q_SLOTS:
    // Esc and the frame's close button give up like "ｷｬﾝｾﾙ".
    void reject() override;

private:
    QString ownerName_;
    DiaryLock& lock_;
    Prompter& prompter_;
    std::function<void()> endProgram_;
    OwnerForm form_;
};
