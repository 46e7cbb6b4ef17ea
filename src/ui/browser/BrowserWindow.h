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

    void tbToolBar_ButtonClick(const QString& key);
    void timTimer_Timer();
    bool IsBusy() const { return busy_; }
    QWebEngineView* WebView() const { return brwWebBrowser; }

    // A file-system path or a web address, as the web view takes it.
    static QUrl ToUrl(const QString& address);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Navigate(const QString& address);
    QString LocationName() const;

    bool loaded_ = false;
    bool busy_ = false;
    QToolBar* tbToolBar;
    QLabel* PictureBox;
    QMovie* animation_ = nullptr;
    QWidget* picAddress;
    QLabel* lblAddress;
    QComboBox* cboAddress;
    QWebEngineView* brwWebBrowser;
    QTimer* timTimer;
};
