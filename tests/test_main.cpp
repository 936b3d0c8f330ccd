// Runs every test under a locale with a decimal comma (where the machine has one), so that no
// number text may depend on the process locale: the desktop toolkit sets the user's locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <locale>

int main(int argc, char** argv) {
  const char* wanted = std::getenv("MORVEK_TEST_LOCALE");
  for (const char* name : {wanted, "uk_UA.UTF-8", "uk_UA.utf8", "de_DE.UTF-8"}) {
    if (name && std::setlocale(LC_ALL, name)) {
      try {
        std::locale::global(std::locale(name));
      } catch (const std::runtime_error&) {
      }
      break;
    }
  }
  // The programs the tests start (morvek-cli) speak the design's Russian whatever the machine's
  // language; the tests of the Ukrainian ask for it.
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) unsetenv(name);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
