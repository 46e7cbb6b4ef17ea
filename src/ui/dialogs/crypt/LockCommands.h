#pragma once

#include <QString>

class QWidget;
class DiaryLock;
class Prompter;

// The three entries of ツール for the diary's lock, each window after window:
// locking (password, recovery code, the plain backups), changing the
// password, and taking the lock off after a question.
class LockCommands
{
public:
    LockCommands(DiaryLock& lock, Prompter& prompter, QWidget* parent);

    // 「日記に鍵をかける」; true when the diary was locked.
    bool LockDiary();
    // 「鍵のパスワードを変える」
    bool ChangePassword();
    // 「鍵を外す」
    bool RemoveLock();

private:
    void OfferToEncryptBackups(const QString& password);

    DiaryLock& lock_;
    Prompter& prompter_;
    QWidget* parent_;
};
