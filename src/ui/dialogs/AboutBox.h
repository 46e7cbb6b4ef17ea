#pragma once

#include <QDialog>

class QLabel;
class Prompter;
struct AppSettings;

// The version window: title, version, description, the author's notice, the
// owner's own picture, and a way to the system information. objectName: frmAbout.
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    static QString DisclaimerText();

    AboutBox(const AppSettings& app, Prompter& prompter, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The owner's chosen picture in place of the built-in one.
    void ShowOwnerPicture(const AppSettings& app);

    Prompter& prompter_;
    QLabel* ownerPicture_;
};
