#pragma once

#include <QString>

class Prompter;

// Tells the user, in one box, that settings did not reach the disk: what was
// chosen holds until the program ends and is gone at the next start.
class UnsavedSettings
{
public:
    // After a window stored what the user changed.
    static void ReportChange(Prompter& prompter, const QString& fileName);
    // When the program ends.
    static void ReportShutDown(Prompter& prompter, const QString& fileName);
};
