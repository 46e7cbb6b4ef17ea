#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

// Every test class of one test executable registers itself here, and the
// executable's main runs them all.
class TestRegistry
{
public:
    using Factory = std::function<std::unique_ptr<QObject>()>;

    static std::vector<Factory>& Factories()
    {
        static std::vector<Factory> factories;
        return factories;
    }
    // Runs each class in turn; the number of classes that failed.
    static int RunAll(int argc, char** argv);
};

template <typename Test> struct TestRegistration
{
    TestRegistration()
    {
        TestRegistry::Factories().push_back([] { return std::make_unique<Test>(); });
    }
};

#define SORAFUMI_TEST(Class) static const TestRegistration<Class> registration##Class;
