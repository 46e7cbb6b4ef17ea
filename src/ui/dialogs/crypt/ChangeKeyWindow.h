#pragma once

#include "ui/dialogs/crypt/NewPasswordRows.h"

#include <QDialog>

class QLineEdit;
class DiaryLock;
class Prompter;

// 「鍵のパスワードを変える」: the password now, and the new one twice.
// objectName: frmChangeKey.
class ChangeKeyWindow : public QDialog
{
    Q_OBJECT
public:
    ChangeKeyWindow(DiaryLock& lock, Prompter& prompter, QWidget* parent = nullptr);

    // OK: the password now must open the diary, the new one match twice.
    void Change();

private:
    DiaryLock& lock_;
    Prompter& prompter_;
    QLineEdit* oldPassword_;
    NewPasswordRows rows_;
};
