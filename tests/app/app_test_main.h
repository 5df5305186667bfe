#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace tavrin::testing {

// The Qt Test classes of the app, run one by one by a single executable; CTest runs each class
// as its own test.
struct TestClass {
    const char* name;
    std::function<std::unique_ptr<QObject>()> make;
};

std::vector<TestClass>& testClasses();

struct RegisterTestClass {
    RegisterTestClass(const char* name, std::function<std::unique_ptr<QObject>()> make) {
        testClasses().push_back({name, std::move(make)});
    }
};

} // namespace tavrin::testing

#define TAVRIN_APP_TEST(Class)                                                                     \
    static const tavrin::testing::RegisterTestClass registered##Class(                             \
        #Class, [] { return std::make_unique<Class>(); });
