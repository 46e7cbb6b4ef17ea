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
#include <QStyle>
#include <QTimer>
#include <QToolBar>

namespace {

struct Button
{
    const char* key;
    const char* themeIcon;
    QStyle::StandardPixmap fallback;
};

const Button Buttons[] = {
    {"戻る", "go-previous", QStyle::SP_ArrowBack},    {"進む", "go-next", QStyle::SP_ArrowForward},
    {"中止", "process-stop", QStyle::SP_BrowserStop}, {"更新", "view-refresh", QStyle::SP_BrowserReload},
    {"ﾎｰﾑ", "go-home", QStyle::SP_DirHomeIcon},       {"検索", "edit-find", QStyle::SP_FileDialogContentsView},
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

    tbToolBar = new QToolBar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    // Keys beside the pictures keep the toolbar within its row above the
    // address strip.
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (const Button& button : Buttons) {
        const QString key = QString::fromUtf8(button.key);
        QAction* action = tbToolBar->addAction(
            QIcon::fromTheme(QString::fromLatin1(button.themeIcon), style()->standardIcon(button.fallback)), key);
        action->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
    }

    PictureBox = new QLabel(this);
    PictureBox->setObjectName(QStringLiteral("PictureBox"));
    PictureBox->setAlignment(Qt::AlignCenter);
    PictureBox->setScaledContents(true);

    picAddress = new QWidget(this);
    picAddress->setObjectName(QStringLiteral("picAddress"));
    lblAddress = new QLabel(QStringLiteral("ｱﾄﾞﾚｽ(&A):"), picAddress);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    lblAddress->setGeometry(Twips::ToPixels(45), Twips::ToPixels(60), Twips::ToPixels(3000), Twips::ToPixels(255));
    cboAddress = new QComboBox(picAddress);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setEditable(true);
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    lblAddress->setBuddy(cboAddress);
    connect(cboAddress, &QComboBox::activated, this, [this] { Navigate(cboAddress->currentText()); });
    connect(cboAddress->lineEdit(), &QLineEdit::returnPressed, this, [this] { Navigate(cboAddress->currentText()); });

    brwWebBrowser = new SafeWebView(this);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    brwWebBrowser->move(Twips::ToPixels(45), Twips::ToPixels(1380));
    connect(brwWebBrowser, &QWebEngineView::loadStarted, this, [this] { busy_ = true; });
    connect(brwWebBrowser, &QWebEngineView::loadFinished, this, [this] {
        busy_ = false;
        // The page is complete: its name becomes the caption.
        setWindowTitle(LocationName());
    });

    timTimer = new QTimer(this);
    timTimer->setObjectName(QStringLiteral("timTimer"));
    timTimer->setInterval(5);
    connect(timTimer, &QTimer::timeout, this, &BrowserWindow::timTimer_Timer);

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
        Form_Load();
    }
}

void BrowserWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void BrowserWindow::Form_Load()
{
    Form_Resize();
    cboAddress->move(Twips::ToPixels(50), lblAddress->y() + lblAddress->height() + Twips::ToPixels(15));
    if (StartingAddress.isEmpty())
        return;
    cboAddress->setEditText(StartingAddress);
    cboAddress->addItem(StartingAddress);
    Navigate(StartingAddress);
}

void BrowserWindow::Form_Resize()
{
    const double W = Twips::FromPixels(width());
    const double H = Twips::FromPixels(height());
    cboAddress->resize(Positive(W - 100), cboAddress->sizeHint().height());
    brwWebBrowser->resize(Positive(W - 100), brwWebBrowser->height());
    if (H > 3000)
        brwWebBrowser->resize(brwWebBrowser->width(), Positive(H - (660 + 675) - 90));

    // The clip plays all the time; without it the window works on.
    if (!animation_) {
        animation_ = new QMovie(AnimationFile, QByteArray(), this);
        if (animation_->isValid()) {
            PictureBox->setMovie(animation_);
            animation_->start();
        }
    }
    const int band = tbToolBar->sizeHint().height();
    PictureBox->setGeometry(qMax(0, width() - band), 0, band, band);
    tbToolBar->setGeometry(0, 0, qMax(0, width() - band), band);
    picAddress->setGeometry(0, Twips::ToPixels(660), width(), Twips::ToPixels(675));
}

void BrowserWindow::Navigate(const QString& address)
{
    timTimer->start();
    busy_ = true;
    brwWebBrowser->setUrl(ToUrl(address));
}

QString BrowserWindow::LocationName() const
{
    const QString title = brwWebBrowser->title();
    if (!title.isEmpty())
        return title;
    const QUrl url = brwWebBrowser->url();
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}

void BrowserWindow::timTimer_Timer()
{
    if (busy_) {
        setWindowTitle(QStringLiteral("接続中..."));
        return;
    }
    timTimer->stop();
    setWindowTitle(LocationName());
}

void BrowserWindow::tbToolBar_ButtonClick(const QString& key)
{
    timTimer->start();
    if (key == QStringLiteral("戻る")) {
        brwWebBrowser->back();
    } else if (key == QStringLiteral("進む")) {
        brwWebBrowser->forward();
    } else if (key == QStringLiteral("更新")) {
        brwWebBrowser->reload();
    } else if (key == QStringLiteral("ﾎｰﾑ")) {
        brwWebBrowser->setUrl(ToUrl(HomeAddress));
    } else if (key == QStringLiteral("検索")) {
        brwWebBrowser->setUrl(QUrl(HelpPages::SearchAddress()));
    } else if (key == QStringLiteral("中止")) {
        timTimer->stop();
        brwWebBrowser->stop();
        busy_ = false;
        setWindowTitle(LocationName());
    }
}
