#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
struct AppSettings;

// The notice that the web panel needs the Internet: go on, or switch the panel
// off again; and a box to stop the notice from coming back.
class WebPanelNotice : public QDialog
{
    Q_OBJECT
public:
    WebPanelNotice(AppSettings& app, std::function<void()> switchPanelOff, QWidget* parent = nullptr);

    void SwitchClick();
    void CancelClick();

private:
    AppSettings& app_;
    std::function<void()> switchPanelOff_;
    QCheckBox* Check1;
};
