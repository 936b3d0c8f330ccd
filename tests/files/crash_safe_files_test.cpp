// The files the program writes: "morvek.ini", the saved text file, "temp.xml" and "error.log".
// A write that fails midway (a file size limit standing in for a full disk, in a child process)
// leaves the old file whole and no temporary file beside it, and the failure is reported the way
// the program reports it: an unhandled-error report for the settings file and the saved text,
// the two failure lines for temp.xml, nothing for error.log.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app/application.h"
#include "platform/ini_file.h"
#include "render/error_log.h"
#include "test_support.h"

namespace morvek {
namespace {

using test::FileNames;
using test::ReadFile;
using test::RunInChild;
using test::TempDir;
using test::W;
using test::WriteFile;

constexpr long kSizeLimit = 4096;

// Runs body in a child process whose files cannot grow past kSizeLimit and gives its exit status:
// 0 when body returned true. The child is killed after a few seconds, so nothing hangs.
int InChildWithSizeLimit(const std::function<bool()>& body, long sizeLimit = kSizeLimit) {
  return RunInChild(
      [&] {
        try {
          return body() ? 0 : 11;
        } catch (...) {
          return 12;  // escaped where the program would have reported it
        }
      },
      sizeLimit);
}

class FullDisk : public ::testing::Test {
 protected:
  TempDir dir;
  test::RecordingUi ui;
  Application app{ui};
  const std::string big = std::string(3 * kSizeLimit, 'x');
};

TEST_F(FullDisk, SettingsFileKeepsEveryKeyAndTheFailureIsReported) {
  const std::string ini = dir.File("morvek.ini");
  const std::string old =
      "[Connection]\r\nIPAddres=10.0.0.7\r\n[LogFile]\r\nLogName=morvek.log\r\n[UkrVer]\r\n"
      "Version=1\r\n";
  WriteFile(ini, old);
  app.Form2.iniPath = ini;
  app.Form3.Edit1.text = big;  // an address too long for the disk's room
  EXPECT_EQ(InChildWithSizeLimit([&] {
              app.Form3.FormClose();
              return ui.errors.size() == 1 && ui.errors[0].find(ini) != std::string::npos;
            }),
            0);
  EXPECT_EQ(ReadFile(ini), old);
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"morvek.ini"});
}

TEST_F(FullDisk, SavedTextKeepsTheOldFileAndTheFailureIsReported) {
  const std::string saved = dir.File("receipts.txt");
  WriteFile(saved, "the receipts saved before\r\n");
  app.Form53.ListBox2.lines.assign(200, std::string(40, 'r'));
  ui.saveAnswer = saved;
  EXPECT_EQ(InChildWithSizeLimit([&] {
              app.Guarded([&] { app.Form53.Button3Click(); });
              return ui.errors.size() == 1 && app.Form53.ListBox2.lines.size() == 200;
            }),
            0);
  EXPECT_EQ(ReadFile(saved), "the receipts saved before\r\n");
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"receipts.txt"});
}

TEST_F(FullDisk, AssembledDocumentKeepsTheOldTempXmlAndTheRequestEndsWithTheFailureLines) {
  TForm53& form = app.Form53;
  form.tempXmlPath = dir.File("temp.xml");
  const std::string old = "<?xml version=\"1.0\"?>\r\n<RQ V=\"1\">\r\n</RQ>\r\n";
  WriteFile(form.tempXmlPath, old);
  // A range already loaded by blocks asks nothing of the register: the assembly (two header
  // lines and the closing one) is written at once, into less room than it needs.
  form.SetRecentFirmware(true);
  form.loadedIntervals[1].Append(1, 10);
  form.SetRequest(kTypeReceipt, 2, 5);
  EXPECT_EQ(InChildWithSizeLimit(
                [&] {
                  form.Button1Click();
                  return form.ListBox2.lines ==
                         std::vector<std::string>{
                             W("Непредвиденный сбой в структуре получаемой информации!"),
                             W("Попробуйте выбрать другой диапазон номеров или дат!")};
                },
                40),
            0);
  EXPECT_EQ(ReadFile(form.tempXmlPath), old);
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"temp.xml"});
}

TEST_F(FullDisk, ErrorLogKeepsTheLastFailureWholeAndRenderingGoesOn) {
  const std::string log = dir.File("error.log");
  WriteFile(log, "'12a' is not a valid integer value\r\n");
  EXPECT_EQ(InChildWithSizeLimit([&] {
              WriteErrorLog(log, big);  // silent by design: rendering goes on
              return true;
            }),
            0);
  EXPECT_EQ(ReadFile(log), "'12a' is not a valid integer value\r\n");
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"error.log"});
}

// The same writers with room enough replace the file whole: the limit above is what failed them.
TEST_F(FullDisk, WithRoomEveryWriterReplacesItsFileWhole) {
  const std::string ini = dir.File("morvek.ini");
  WriteFile(ini, "[Connection]\r\nIPAddres=10.0.0.7\r\n[UkrVer]\r\nVersion=1\r\n");
  app.Form2.iniPath = ini;
  app.Form3.Edit1.text = "10.0.0.8";
  app.Form3.FormClose();
  EXPECT_EQ(ReadFile(ini), "[Connection]\r\nIPAddres=10.0.0.8\r\n[UkrVer]\r\nVersion=1\r\n");
  const std::string log = dir.File("error.log");
  WriteErrorLog(log, "second");
  EXPECT_EQ(ReadFile(log), "second\r\n");
  EXPECT_TRUE(ui.errors.empty());
}

}  // namespace
}  // namespace morvek
