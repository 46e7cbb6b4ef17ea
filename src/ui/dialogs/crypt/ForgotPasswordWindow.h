#pragma once

#include "ui/dialogs/crypt/NewPasswordRows.h"

#include <QDialog>

class QLineEdit;
class DiaryLock;
class Prompter;

// 「パスワードを忘れた」: the recovery code and a new password twice; the
// code opens the diary and the new password takes the old one's place.
// objectName: frmForgotPassword.
class ForgotPasswordWindow : public QDialog
{
    Q_OBJECT
public:
    ForgotPasswordWindow(DiaryLock& lock, Prompter& prompter, QWidget* parent = nullptr);

    void Recover();

private:
    DiaryLock& lock_;
    Prompter& prompter_;
    QLineEdit* code_;
    NewPasswordRows rows_;
};
