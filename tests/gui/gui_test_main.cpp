// The desktop program's tests: each test class runs in turn under one QApplication, in a folder of
// its own, so the settings file and temp.xml of the windows stay out of the source tree.
// "--class=Name" runs only the classes whose name holds Name; other arguments go to Qt Test.
#include <QApplication>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "gui_tests.h"
#include "test_support.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  std::string only;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--class=", 0) == 0)
      only = arg.substr(8);
    else
      args.push_back(argv[i]);
  }
  morvek::test::TempDir folder;
  std::filesystem::current_path(folder.path());
  int failures = 0;
  for (const auto& make : morvek::gui::test::TestClasses()) {
    std::unique_ptr<QObject> tests = make();
    if (!only.empty() &&
        std::string(tests->metaObject()->className()).find(only) == std::string::npos)
      continue;
    failures += QTest::qExec(tests.get(), static_cast<int>(args.size()), args.data());
  }
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  return failures == 0 ? 0 : 1;
}
