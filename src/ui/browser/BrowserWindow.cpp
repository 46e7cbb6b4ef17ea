#include "ui/browser/BrowserWindow.h"

#include "ui/browser/HelpPages.h"
#include "ui/platform/SafeWebView.h"
#include "ui/platform/Twips.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

namespace {

// The toolbar's buttons, in order: key (also the action's objectName), icon
// and command.
struct Button
{
    const char* key;
    const char* themeIcon;
    QStyle::StandardPixmap fallback;
    void (BrowserWindow::*command)();
};

const Button Buttons[] = {
    {"戻る", "go-previous", QStyle::SP_ArrowBack, &BrowserWindow::GoBack},
    {"進む", "go-next", QStyle::SP_ArrowForward, &BrowserWindow::GoForward},
    {"中止", "process-stop", QStyle::SP_BrowserStop, &BrowserWindow::Stop},
    {"更新", "view-refresh", QStyle::SP_BrowserReload, &BrowserWindow::Reload},
    {"ﾎｰﾑ", "go-home", QStyle::SP_DirHomeIcon, &BrowserWindow::GoHome},
    {"検索", "edit-find", QStyle::SP_FileDialogContentsView, &BrowserWindow::Search},
};

// Sizes are never set below zero, whatever the window's size.
int Positive(double twips)
{
    return qMax(0, Twips::ToPixels(twips));
}

} // namespace

BrowserWindow::BrowserWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmBrowser"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("tbToolBar"));
    // Keys beside the pictures keep the toolbar within its row above the
    // address strip.
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (const Button& button : Buttons) {
        const QString key = QString::fromUtf8(button.key);
        QAction* action = toolBar_->addAction(
            QIcon::fromTheme(QString::fromLatin1(button.themeIcon), style()->standardIcon(button.fallback)), key);
        action->setObjectName(key);
        connect(action, &QAction::triggered, this, button.command);
    }

    animationBox_ = new QLabel(this);
    animationBox_->setObjectName(QStringLiteral("PictureBox"));
    animationBox_->setAlignment(Qt::AlignCenter);
    animationBox_->setScaledContents(true);

    addressStrip_ = new QWidget(this);
    addressStrip_->setObjectName(QStringLiteral("picAddress"));
    addressCaption_ = new QLabel(QStringLiteral("ｱﾄﾞﾚｽ(&A):"), addressStrip_);
    addressCaption_->setObjectName(QStringLiteral("lblAddress"));
    addressCaption_->setGeometry(Twips::ToPixels(45), Twips::ToPixels(60), Twips::ToPixels(3000), Twips::ToPixels(255));
    address_ = new QComboBox(addressStrip_);
    address_->setObjectName(QStringLiteral("cboAddress"));
    address_->setEditable(true);
    address_->setInsertPolicy(QComboBox::NoInsert);
    addressCaption_->setBuddy(address_);
    connect(address_, &QComboBox::activated, this, [this] { Navigate(address_->currentText()); });
    connect(address_->lineEdit(), &QLineEdit::returnPressed, this, [this] { Navigate(address_->currentText()); });

    webView_ = new SafeWebView(this);
    webView_->setObjectName(QStringLiteral("brwWebBrowser"));
    webView_->move(Twips::ToPixels(45), Twips::ToPixels(1380));
    connect(webView_, &QWebEngineView::loadStarted, this, [this] { busy_ = true; });
    connect(webView_, &QWebEngineView::loadFinished, this, [this] {
        busy_ = false;
        // The page is complete: its name becomes the caption.
        setWindowTitle(LocationName());
    });

    // Esc and Ctrl+W close the window wherever the keys are, in the page too.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);

    busyTimer_ = new QTimer(this);
    busyTimer_->setObjectName(QStringLiteral("timTimer"));
    busyTimer_->setInterval(5);
    connect(busyTimer_, &QTimer::timeout, this, &BrowserWindow::Step);

    resize(Twips::ToPixels(10575), Twips::ToPixels(7560));
}

QUrl BrowserWindow::ToUrl(const QString& address)
{
    if (QFileInfo(address).isAbsolute() && !address.contains(QStringLiteral("://")))
        return QUrl::fromLocalFile(address);
    return QUrl::fromUserInput(address, QDir::currentPath(), QUrl::AssumeLocalFile);
}

void BrowserWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!loaded_) {
        loaded_ = true;
        Open();
    }
}

void BrowserWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Arrange();
}

void BrowserWindow::Open()
{
    Arrange();
    address_->move(Twips::ToPixels(50), addressCaption_->y() + addressCaption_->height() + Twips::ToPixels(15));
    if (StartingAddress.isEmpty())
        return;
    address_->setEditText(StartingAddress);
    address_->addItem(StartingAddress);
    Navigate(StartingAddress);
}

void BrowserWindow::Arrange()
{
    const double W = Twips::FromPixels(width());
    const double H = Twips::FromPixels(height());
    address_->resize(Positive(W - 100), address_->sizeHint().height());
    webView_->resize(Positive(W - 100), webView_->height());
    if (H > 3000)
        webView_->resize(webView_->width(), Positive(H - (660 + 675) - 90));

    // The clip plays all the time; without it the window works on.
    if (!animation_) {
        animation_ = new QMovie(AnimationFile, QByteArray(), this);
        if (animation_->isValid()) {
            animationBox_->setMovie(animation_);
            animation_->start();
        }
    }
    const int band = toolBar_->sizeHint().height();
    animationBox_->setGeometry(qMax(0, width() - band), 0, band, band);
    toolBar_->setGeometry(0, 0, qMax(0, width() - band), band);
    addressStrip_->setGeometry(0, Twips::ToPixels(660), width(), Twips::ToPixels(675));
}

void BrowserWindow::Navigate(const QString& address)
{
    busyTimer_->start();
    busy_ = true;
    webView_->setUrl(ToUrl(address));
}

QString BrowserWindow::LocationName() const
{
    const QString title = webView_->title();
    if (!title.isEmpty())
        return title;
    const QUrl url = webView_->url();
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}

void BrowserWindow::Step()
{
    if (busy_) {
        setWindowTitle(QStringLiteral("接続中..."));
        return;
    }
    busyTimer_->stop();
    setWindowTitle(LocationName());
}

// Each move starts the busy caption's timer; it stops once the page is in.
void BrowserWindow::GoBack()
{
    busyTimer_->start();
    webView_->back();
}

void BrowserWindow::GoForward()
{
    busyTimer_->start();
    webView_->forward();
}

void BrowserWindow::Reload()
{
    busyTimer_->start();
    webView_->reload();
}

void BrowserWindow::GoHome()
{
    busyTimer_->start();
    webView_->setUrl(ToUrl(HomeAddress));
}

void BrowserWindow::Search()
{
    busyTimer_->start();
    webView_->setUrl(QUrl(HelpPages::SearchAddress()));
}

void BrowserWindow::Stop()
{
    busyTimer_->stop();
    webView_->stop();
    busy_ = false;
    setWindowTitle(LocationName());
}
