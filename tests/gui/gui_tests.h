#pragma once
// The test classes of the desktop program, each registered by its own file.
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace morvek::gui::test {

using TestClassMaker = std::function<std::unique_ptr<QObject>()>;

inline std::vector<TestClassMaker>& TestClasses() {
  static std::vector<TestClassMaker> classes;
  return classes;
}

template <class T>
struct RegisterTestClass {
  RegisterTestClass() {
    TestClasses().push_back([] { return std::make_unique<T>(); });
  }
};

}  // namespace morvek::gui::test
