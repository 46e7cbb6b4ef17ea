#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QMovie;
class QTimer;
class QToolBar;
class QWebEngineView;

// A small browser window of the program's own: back, forward, stop, reload,
// home and search, an address box, and a busy caption while a page loads.
// objectName: frmBrowser.
class BrowserWindow : public QWidget
{
    Q_OBJECT
public:
    // The address loaded first; set before the window is shown.
    QString StartingAddress;
    // Where "ﾎｰﾑ" goes: the program's help index.
    QString HomeAddress;
    // The clip played at the right of the toolbar.
    QString AnimationFile = QStringLiteral("ie.dat");

    explicit BrowserWindow(QWidget* parent = nullptr);

    // The toolbar's commands.
    void GoBack();
    void GoForward();
    void Stop();
    void Reload();
    void GoHome();
    void Search();
    // A tick of the busy timer: "接続中..." while a page loads, then its name.
    void Step();
    bool IsBusy() const { return busy_; }
    QWebEngineView* WebView() const { return webView_; }

    // A file-system path or a web address, as the web view takes it.
    static QUrl ToUrl(const QString& address);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Runs once, when the window is first shown: loads the starting address.
    void Open();
    // Fits the address box and the web view to the window's size.
    void Arrange();
    void Navigate(const QString& address);
    QString LocationName() const;

    bool loaded_ = false;
    bool busy_ = false;
    QToolBar* toolBar_;
    QLabel* animationBox_;
    QMovie* animation_ = nullptr;
    QWidget* addressStrip_;
    QLabel* addressCaption_;
    QComboBox* address_;
    QWebEngineView* webView_;
    QTimer* busyTimer_;
};
