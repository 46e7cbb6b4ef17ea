#pragma once

#include <QString>

class QDialog;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// The controls the registration and login windows share, laid out alike:
// picture, notice, user name and password boxes, and two buttons.
struct OwnerForm
{
    QLabel* Image1;
    QLabel* Label1;
    QLineEdit* txtUserName;
    QLineEdit* txtPassword;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    static OwnerForm Build(QDialog& window, const QString& caption, const QString& cancelCaption);
};
