#include "TestRegistry.h"

#include <QTest>
#include <cstdio>
#include <cstring>

int TestRegistry::RunAll(int argc, char** argv)
{
    // TEST_CLASS=Name runs one class of the executable: each class is a test of
    // its own in ctest, and work on one class runs that class only.
    const QByteArray only = qgetenv("TEST_CLASS");
    int failed = 0;
    bool ranAny = false;
    for (const Entry& entry : Entries()) {
        if (!only.isEmpty() && only != entry.className)
            continue;
        ranAny = true;
        const std::unique_ptr<QObject> test = entry.make();
        if (QTest::qExec(test.get(), argc, argv) != 0)
            ++failed;
    }
    // A misspelt or vanished class must not pass by running nothing.
    if (!ranAny) {
        std::fprintf(stderr, "No test class %s in this executable\n", only.constData());
        return 1;
    }
    return failed;
}

bool TestRegistry::ListingAsked(int argc, char** argv)
{
    return argc == 2 && std::strcmp(argv[1], "--list-classes") == 0;
}

int TestRegistry::ListClasses()
{
    for (const Entry& entry : Entries())
        std::printf("%s\n", entry.className);
    return 0;
}
