#include "ui/mainwindow/LaunchProgress.h"

#include "ui/mainwindow/AppContext.h"
#include "ui/mainwindow/DrawProgressBar.h"
#include "ui/mainwindow/PictureSurface.h"
#include "ui/mainwindow/ProgramExit.h"
#include "ui/platform/Twips.h"

#include <QLabel>
#include <QTimer>

LaunchProgress::LaunchProgress(AppContext& context, ProgramExit& exit, QWidget& mainWindow)
    : QDialog(&mainWindow, Qt::Dialog | Qt::CustomizeWindowHint), context_(context), exit_(exit)
{
    setObjectName(QStringLiteral("frmPrgress"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    notice_ = new QLabel(QStringLiteral("メンテナンスSorafumiの起動準備をしています．．．"), this);
    notice_->setObjectName(QStringLiteral("Label1"));
    progressBar_ = new PictureSurface(this);
    progressBar_->setObjectName(QStringLiteral("Picture1"));
    LayOut();

    stepTimer_ = new QTimer(this);
    stepTimer_->setObjectName(QStringLiteral("Timer1"));
    stepTimer_->setInterval(1);
    connect(stepTimer_, &QTimer::timeout, this, &LaunchProgress::Step);
    stepTimer_->start();

    move(mainWindow.geometry().center() - rect().center());
}

// The design places hold the text only in the old desktop's small font: the
// label grows to the whole text in the font it has here, and the window and
// the bar make room for it.
void LaunchProgress::LayOut()
{
    const QSize design(Twips::ToPixels(4050), Twips::ToPixels(1005));
    const QRect designLabel = Twips::ToPixels(QRect(360, 180, 3405, 180));
    const QRect designBar = Twips::ToPixels(QRect(120, 540, 3795, 255));
    const QRect label(designLabel.topLeft(), designLabel.size().expandedTo(notice_->sizeHint()));
    const int width = qMax(design.width(), label.right() + 1 + designLabel.left());
    // The bar keeps its margins and its distance below the text.
    const QRect bar(designBar.left(), label.bottom() + designBar.top() - designLabel.bottom(),
                    designBar.width() + width - design.width(), designBar.height());
    notice_->setGeometry(label);
    progressBar_->setGeometry(bar);
    setFixedSize(width, qMax(design.height(), bar.bottom() + design.height() - designBar.bottom()));
}

QString LaunchProgress::ProgressText(float fraction)
{
    return QString::number(int(fraction * 100.0f)) + u'%';
}

void LaunchProgress::Step()
{
    DrawProgressBar(*progressBar_, fraction_, ProgressText(fraction_), qRgb(255, 255, 255), qRgb(0, 0, 128));
    fraction_ += 0.01f;
    if (fraction_ < 1.0f)
        return;
    fraction_ = 0.0f;
    HandOver();
}

void LaunchProgress::HandOver()
{
    stepTimer_->stop();
    // The desktop's window manager raises the new program's window itself.
    if (!context_.launcher.Start(context_.folder.ProgramFile(ToolFileName()))) {
        context_.prompter.Message(
            {QStringLiteral("メンテナンスSorafumiは見つかりませんでした。\r必要な方は別途入手してください。"),
             QStringLiteral("エラー"),
             Prompter::Buttons::Ok,
             Prompter::Icon::Exclamation,
             {}});
        close();
        return;
    }
    // When the diary cannot be stored the user has been told why; the program
    // stays so that nothing is lost.
    if (!exit_.StoreAndEnd())
        close();
}
