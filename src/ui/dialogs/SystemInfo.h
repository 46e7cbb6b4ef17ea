#pragma once

#include <QString>
#include <QStringList>

class Prompter;

// Starts the desktop's system-information program, or says that there is none.
class SystemInfo
{
public:
    // The programs looked for on the PATH, in this order.
    static QStringList Candidates();
    // The first candidate found on the PATH; empty when none is.
    static QString FindProgram();

    static void Start(Prompter& prompter);
};
