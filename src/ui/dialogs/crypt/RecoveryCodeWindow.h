#pragma once

#include <QDialog>

class QLineEdit;
class QPrinter;
class Prompter;

// The recovery code, shown this once, large and in groups, with 印刷; it
// closes only once the user has typed back one of its groups, to show it was
// written down. objectName: frmRecoveryCode.
class RecoveryCodeWindow : public QDialog
{
    Q_OBJECT
public:
    // askedGroup: which group (from 1) is asked for; 0 picks one at random.
    RecoveryCodeWindow(const QString& code, Prompter& prompter, int askedGroup = 0, QWidget* parent = nullptr);

    int AskedGroup() const { return askedGroup_; }
    // 印刷: the code on a page of its own, on the printer the user chooses.
    void Print();
    // OK: the group typed must be the one asked for.
    void Check();

public Q_SLOTS:
    // Closing without the check asks first: without the code a lost
    // password loses the diary.
    void reject() override;

private:
    void PrintOn(QPrinter& printer) const;

    QString code_;
    Prompter& prompter_;
    int askedGroup_;
    QLineEdit* group_;
};
