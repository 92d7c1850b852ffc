#pragma once
// The test classes of the window tests, by name.
#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orbeta::test {

using TestClassMaker = std::function<std::unique_ptr<QObject>()>;
std::vector<std::pair<std::string, TestClassMaker>>& TestClasses();

template <class T>
struct RegisterTestClass {
    explicit RegisterTestClass(const char* name) {
        TestClasses().emplace_back(name, [] { return std::make_unique<T>(); });
    }
};

}  // namespace orbeta::test
