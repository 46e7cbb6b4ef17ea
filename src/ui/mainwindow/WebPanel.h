#pragma once

#include <QFrame>

class WebModule;
struct AppContext;

// The web panel (objectName `znBaseFrm`): a frame under the band strip that covers the
// diary and shows the online page the settings name, with a notice that it
// needs the Internet. It says when it opens and closes; the window rests and
// gives back the diary's controls in answer.
class WebPanel : public QFrame
{
    Q_OBJECT
public:
    // Hidden at its design place; it opens under bandStrip.
    WebPanel(AppContext& context, const QWidget& bandStrip, QWidget* surface);

    // Opens the panel when it is hidden, closes it when it is shown.
    void Toggle();
    // Reaches the surface's right and bottom edges; the page view ends a band
    // strip's height short of the bottom.
    void Fit();

Q_SIGNALS:
    // The page view exists and is not yet sent to its address: the window
    // lays the panel out now.
    void Opened();
    void Closed();

private:
    void Open();
    void Close();
    void ShowNotice();

    AppContext& context_;
    const QWidget& bandStrip_;
    // The web engine is loaded and its view made only when the panel is
    // first opened.
    WebModule* web_ = nullptr;
    QWidget* view_ = nullptr;
};
