#pragma once

#include <QDialog>

class QLineEdit;
class DiaryLock;
class Prompter;

// 「鍵を外す」, once asked: the password, which must open the diary before it
// goes back to the plain form. objectName: frmRemoveKey.
class RemoveKeyWindow : public QDialog
{
    Q_OBJECT
public:
    RemoveKeyWindow(DiaryLock& lock, Prompter& prompter, QWidget* parent = nullptr);

    void Remove();

private:
    DiaryLock& lock_;
    Prompter& prompter_;
    QLineEdit* password_;
};
