#include "TestRegistry.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    return TestRegistry::RunAll(argc, argv);
}
