// The exchange log: its exact lines, CR LF, the path fixed at the first write.
#include "log/exchange_log.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace morvek {
namespace {

using test::ReadFile;
using test::TempDir;

std::tm At(int day, int month, int year, int hour, int minute, int second) {
  std::tm t{};
  t.tm_mday = day;
  t.tm_mon = month - 1;
  t.tm_year = year - 1900;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

ExchangeLog LogIn(const TempDir& dir, const std::tm& time) {
  ExchangeLog log;
  log.now = [time] { return time; };
  log.workDir = [&dir] { return dir.path(); };
  return log;
}

TEST(ExchangeLog, HeaderPadsDayAndHourWithSpacesAndTheRestWithZeros) {
  EXPECT_EQ(ExchangeLogHeaderLine(At(5, 3, 2016, 9, 4, 7), "21"), "; 5-03-2016  9:04:07  21");
  EXPECT_EQ(ExchangeLogHeaderLine(At(25, 12, 2016, 19, 14, 57), "21 SYN=3"),
            ";25-12-2016 19:14:57  21 SYN=3");
}

TEST(ExchangeLog, EntriesAppendHeaderAndBodyLinesEndedByCrLf) {
  TempDir dir;
  ExchangeLog log = LogIn(dir, At(5, 3, 2016, 9, 4, 7));
  log.SetName("morvek.log");
  log.LogExchange("21", "A7582941;1;25;0;");
  log.LogExchange("21 SYN=3", ";\x01\x15\x03\nX");
  EXPECT_EQ(ReadFile(dir.File("morvek.log")),
            "; 5-03-2016  9:04:07  21\r\nA7582941;1;25;0;\r\n"
            "; 5-03-2016  9:04:07  21 SYN=3\r\n;\x01\x15\x03\r\nX\r\n");
}

TEST(ExchangeLog, NoNameWritesNoFile) {
  TempDir dir;
  ExchangeLog log = LogIn(dir, At(1, 1, 2020, 0, 0, 0));
  log.LogExchange("21", "80");
  EXPECT_TRUE(log.Path().empty());
  EXPECT_FALSE(test::FileExists(dir.File("morvek.log")));
}

TEST(ExchangeLog, PathIsFixedAtTheFirstWrite) {
  TempDir dir;
  ExchangeLog log = LogIn(dir, At(1, 1, 2020, 0, 0, 0));
  log.SetName("first.log");
  log.LogExchange("21", "80");
  log.SetName("second.log");
  log.LogExchange("22", "80");
  EXPECT_FALSE(test::FileExists(dir.File("second.log")));
  EXPECT_EQ(ReadFile(dir.File("first.log")).size(), 2 * (24 + 2 + 2 + 2));
}

TEST(ExchangeLog, UnwritableFileIsSkippedSilently) {
  TempDir dir;
  ExchangeLog log = LogIn(dir, At(1, 1, 2020, 0, 0, 0));
  log.SetName("no-such-folder/morvek.log");
  log.LogExchange("21", "80");  // must neither raise nor create anything
  EXPECT_FALSE(test::FileExists(dir.File("no-such-folder")));
}

}  // namespace
}  // namespace morvek
