#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

// Every test class of one test executable registers itself here, and the
// executable's main runs them all, or the one TEST_CLASS names.
class TestRegistry
{
public:
    struct Entry
    {
        const char* className;
        std::function<std::unique_ptr<QObject>()> make;
    };

    static std::vector<Entry>& Entries()
    {
        static std::vector<Entry> entries;
        return entries;
    }
    // Runs the classes; the number of classes that failed.
    static int RunAll(int argc, char** argv);
    // Whether the executable was asked for its class names only (--list-classes),
    // which ctest makes a test of each.
    static bool ListingAsked(int argc, char** argv);
    static int ListClasses();
};

template <typename Test> struct TestRegistration
{
    TestRegistration()
    {
        TestRegistry::Entries().push_back(
            {Test::staticMetaObject.className(), [] { return std::make_unique<Test>(); }});
    }
};

#define SORAFUMI_TEST(Class) static const TestRegistration<Class> registration##Class;
