#include "ui/mainwindow/AppContext.h"

#include <QCoreApplication>

void AppContext::EndProgram()
{
    ended_ = true;
    QCoreApplication::exit(0);
}
