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
    QLabel* picture;           // objectName Image1
    QLabel* notice;            // Label1
    QLineEdit* userName;       // txtUserName
    QLineEdit* password;       // txtPassword
    QPushButton* okButton;     // cmdOK
    QPushButton* cancelButton; // cmdCancel

    static OwnerForm Build(QDialog& window, const QString& caption, const QString& cancelCaption);
};
