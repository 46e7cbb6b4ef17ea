#pragma once

#include <QDialog>

class QLabel;
class QTimer;
class PictureSurface;
class ProgramExit;
struct AppContext;

// The small window that fills a bar before handing over to the maintenance
// tool, then stores the diary, saves the settings and ends the program.
// objectName: frmPrgress.
class LaunchProgress : public QDialog
{
    Q_OBJECT
public:
    static QString ToolFileName() { return QStringLiteral("MentSorafumi.exe"); }

    // Centred over mainWindow; exit ends the program once the tool is started.
    LaunchProgress(AppContext& context, ProgramExit& exit, QWidget& mainWindow);

    // The whole percent of a fraction, as the bar shows it: "37%".
    static QString ProgressText(float fraction);

    float Fraction() const { return fraction_; }
    // One tick of the timer; public so that tests can step it.
    void Step();

private:
    void LayOut();
    void HandOver();

    AppContext& context_;
    ProgramExit& exit_;
    float fraction_ = 0.0f;
    QLabel* notice_;
    PictureSurface* progressBar_;
    QTimer* stepTimer_;
};
