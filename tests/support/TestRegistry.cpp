#include "TestRegistry.h"

#include <QTest>

int TestRegistry::RunAll(int argc, char** argv)
{
    int failed = 0;
    for (const Factory& make : Factories()) {
        const std::unique_ptr<QObject> test = make();
        if (QTest::qExec(test.get(), argc, argv) != 0)
            ++failed;
    }
    return failed;
}
