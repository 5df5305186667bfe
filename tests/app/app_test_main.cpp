// Usage: tavrin_app_tests [CLASS] [Qt Test options]: runs one test class, or all of them.
#include "app_test_main.h"

#include <QApplication>
#include <QTest>

#include <clocale>
#include <cstring>

namespace tavrin::testing {

std::vector<TestClass>& testClasses() {
    static std::vector<TestClass> classes;
    return classes;
}

} // namespace tavrin::testing

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);

    const char* only = nullptr;
    std::vector<char*> arguments{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (only == nullptr && i == 1 && argv[i][0] != '-') {
            only = argv[i];
        } else {
            arguments.push_back(argv[i]);
        }
    }
    int failures = 0;
    bool found = false;
    for (const auto& testClass : tavrin::testing::testClasses()) {
        if (only != nullptr && std::strcmp(only, testClass.name) != 0) {
            continue;
        }
        found = true;
        const auto test = testClass.make();
        failures += QTest::qExec(test.get(), static_cast<int>(arguments.size()), arguments.data());
    }
    if (!found) {
        qCritical("no test class %s", only);
        return 2;
    }
    return failures == 0 ? 0 : 1;
}
