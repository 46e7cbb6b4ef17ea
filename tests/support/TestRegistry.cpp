#include "TestRegistry.h"

#include <QTest>

int TestRegistry::RunAll(int argc, char** argv)
{
    // TEST_CLASS=Name runs one class of the executable, for work on it.
    const QByteArray only = qgetenv("TEST_CLASS");
    int failed = 0;
    for (const Factory& make : Factories()) {
        const std::unique_ptr<QObject> test = make();
        if (!only.isEmpty() && only != test->metaObject()->className())
            continue;
        if (QTest::qExec(test.get(), argc, argv) != 0)
            ++failed;
    }
    return failed;
}
