#pragma once

#include <QString>

class Prompter;

// The web engine and the charts are large libraries that most sessions never
// use: each lives in a module of its own beside the program and is loaded at
// its first use, so that a start maps neither of them.
class ModuleLibrary
{
public:
    // The function `entry` of the module `name` (e.g. "sorafumi-web"), loaded
    // from the program's folder or, in a build, from the build folder (a test
    // program that links the module's windows has it itself); nothing, after
    // telling the user why, when it cannot be loaded.
    static QFunctionPointer Entry(const QString& name, const char* entry, Prompter& prompter);
};
