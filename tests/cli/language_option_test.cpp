// The terminal program's language: --lang, then morvek.ini, then the environment's locale, then
// Russian; the program's own lines follow it, the documents' text images never do.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "test_support.h"

namespace morvek::test {
namespace {

const std::string kNoDataRu = "Запрашиваемые данные отсутствуют!\n";
const std::string kNoDataUk = "Запитувані дані відсутні!\n";

struct LanguageCase {
  const char* name;
  std::vector<std::string> options;  // before the command
  const char* settings;              // morvek.ini; nullptr: none
  const char* lang;                  // LANG of the environment; nullptr: unset
  const std::string& expected;
};

class CliLanguage : public testing::TestWithParam<LanguageCase> {};

TEST_P(CliLanguage, TheNoDataLineFollowsTheChosenLanguage) {
  const LanguageCase& c = GetParam();
  TempDir dir;
  const std::string journal = dir.File("empty.xml");
  WriteFile(journal, "<RQ V=\"1\">\n</RQ>\n");
  if (c.settings) WriteFile(dir.File("morvek.ini"), c.settings);
  if (c.lang) setenv("LANG", c.lang, 1);
  std::vector<std::string> args = c.options;
  args.insert(args.end(), {"render", journal});
  const CliResult result = RunCli(dir.path(), args);
  unsetenv("LANG");
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ(c.expected, result.out);
}

const char* const kUkrainianIni = "[Connection]\r\nIPAddres=127.0.0.1\r\n[Language]\r\nLang=uk\r\n";
const char* const kRussianIni = "[Language]\r\nLang=ru\r\n";

INSTANTIATE_TEST_SUITE_P(
    , CliLanguage,
    testing::Values(
        LanguageCase{"RussianWithNothingSaid", {}, nullptr, nullptr, kNoDataRu},
        LanguageCase{"UkrainianLocale", {}, nullptr, "uk_UA.UTF-8", kNoDataUk},
        LanguageCase{"OtherLocale", {}, nullptr, "ru_UA.UTF-8", kNoDataRu},
        LanguageCase{"SettingsFile", {}, kUkrainianIni, nullptr, kNoDataUk},
        LanguageCase{"SettingsOverLocale", {}, kRussianIni, "uk_UA.UTF-8", kNoDataRu},
        LanguageCase{
            "UnknownSettingPassedOver", {}, "[Language]\r\nLang=de\r\n", "uk_UA.UTF-8", kNoDataUk},
        LanguageCase{"OptionOverSettings", {"--lang", "ru"}, kUkrainianIni, nullptr, kNoDataRu},
        LanguageCase{"OptionOverLocale", {"--lang", "uk"}, nullptr, "C.UTF-8", kNoDataUk}),
    [](const testing::TestParamInfo<LanguageCase>& param) {
      return std::string(param.param.name);
    });

TEST(CliLanguageOption, DocumentsStayAsTheRegisterPrintedThemAndAnUnknownLanguageIsAUsageError) {
  TempDir dir;
  const std::string sample = std::string(MORVEK_SOURCE_DIR) + "/data/sample-journal.xml";
  const CliResult russian = RunCli(dir.path(), {"render", sample});
  const CliResult ukrainian = RunCli(dir.path(), {"render", "--lang", "uk", sample});
  ASSERT_EQ(0, russian.exitCode) << russian.err;
  ASSERT_EQ(0, ukrainian.exitCode) << ukrainian.err;
  EXPECT_GT(russian.out.size(), 1000u);
  EXPECT_EQ(russian.out, ukrainian.out);

  const CliResult unknown = RunCli(dir.path(), {"--lang", "de", "render", sample});
  EXPECT_EQ(2, unknown.exitCode);
  EXPECT_EQ("", unknown.out);
}

}  // namespace
}  // namespace morvek::test
