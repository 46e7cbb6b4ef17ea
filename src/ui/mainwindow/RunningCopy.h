#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

// One copy of the program holds a diary at a time. The copy that holds it
// listens under a name made from the diary's path, in the user's runtime
// folder; a second copy started on the same diary calls, and the first brings
// its window to the front. A socket of another user is never called.
class RunningCopy : public QObject
{
    Q_OBJECT
public:
    // Listens for later copies on behalf of window, which must hold the
    // diary and owns what is made here.
    RunningCopy(const QString& diaryPath, QWidget& window);
    ~RunningCopy() override;

    // Asks the copy that holds the diary to show its window. False when none
    // answered.
    static bool RaiseHolder(const QString& diaryPath);

    // The socket's full path; empty when the user has no folder of their own
    // for it.
    static QString ServerName(const QString& diaryPath);

private:
    void Raise();

    QWidget& window_;
    QLocalServer* server_;
};
