#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
struct AppSettings;

// The notice that the web panel needs the Internet: go on, or switch the panel
// off again; and a box to stop the notice from coming back. objectName:
// frmZnMSG.
class WebPanelNotice : public QDialog
{
    Q_OBJECT
public:
    WebPanelNotice(AppSettings& app, std::function<void()> switchPanelOff, QWidget* parent = nullptr);

    // "切替": the panel stays on.
    void KeepChoiceAndClose();
    // "ｷｬﾝｾﾙ": the panel is switched off again.
    void Cancel();

private:
    AppSettings& app_;
    std::function<void()> switchPanelOff_;
    QCheckBox* dontShowAgain_;
};
