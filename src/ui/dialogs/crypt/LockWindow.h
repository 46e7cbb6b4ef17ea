#pragma once

#include "ui/dialogs/crypt/NewPasswordRows.h"

#include <QDialog>

class DiaryLock;
class Prompter;

// 「日記に鍵をかける」: the new password twice, with a hint of its strength;
// OK turns the diary into an encrypted one. objectName: frmLock.
class LockWindow : public QDialog
{
    Q_OBJECT
public:
    LockWindow(DiaryLock& lock, Prompter& prompter, QWidget* parent = nullptr);

    // OK: the two passwords must match; then the diary is locked.
    void Lock();
    // The code that opens the diary without the password, once it is locked.
    const QString& RecoveryCodeText() const { return recoveryCode_; }
    QString Password() const;

private:
    DiaryLock& lock_;
    Prompter& prompter_;
    NewPasswordRows rows_;
    QString recoveryCode_;
};
