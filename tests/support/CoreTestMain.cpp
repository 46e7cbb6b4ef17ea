#include "TestRegistry.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    if (TestRegistry::ListingAsked(argc, argv))
        return TestRegistry::ListClasses();
    QCoreApplication application(argc, argv);
    return TestRegistry::RunAll(argc, argv);
}
