// morvek-cli archive import, find and show, run as child processes on generated journals: the road
// from a journal file to the archive and back to the text image the retrieval window shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "sim/journal_generator.h"
#include "test_support.h"

namespace morvek::test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

std::string FiscalNumberOf(const std::string& journal) {
  const std::size_t at = journal.find("FN=\"") + 4;
  return journal.substr(at, journal.find('"', at) - at);
}

// The documents of the journal whose XML holds the bytes.
int DocumentsHolding(const std::string& journal, const std::string& bytes) {
  int count = 0;
  for (std::size_t at = journal.find("<DAT "); at != std::string::npos;) {
    const std::size_t next = journal.find("<DAT ", at + 1);
    if (journal.substr(at, next - at).find(bytes) != std::string::npos) ++count;
    at = next;
  }
  return count;
}

class ArchiveCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    journal = GenerateJournal({.receipts = 80, .zReports = 3, .seed = 7});
    path = dir.File("journal.xml");
    WriteFile(path, journal.xml);
    fiscal = FiscalNumberOf(journal.xml);
  }
  CliResult Archive(std::vector<std::string> args) {
    args.insert(args.begin(), "archive");
    return RunCli(dir.path(), args);
  }

  TempDir dir;
  GeneratedJournal journal;
  std::string path, fiscal;
};

TEST_F(ArchiveCommands, AJournalImportedTwiceIsHeldTheSecondTimeAndShowsAsRendered) {
  const int documents = journal.receipts + journal.zReports;
  const CliResult first = Archive({"import", path});
  EXPECT_EQ(first.exitCode, 0) << first.err;
  EXPECT_EQ(first.out, path + ": " + std::to_string(documents) + " stored, 0 held\n");
  EXPECT_TRUE(FileExists(dir.File("morvek-archive.sqlite")));  // the default archive
  const CliResult second = Archive({"import", path});
  EXPECT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(second.out, path + ": 0 stored, " + std::to_string(documents) + " held\n");

  const CliResult zReports = Archive({"find", "--register", fiscal, "--type", "z"});
  EXPECT_EQ(zReports.exitCode, 0) << zReports.err;
  EXPECT_EQ(Lines(zReports.out).size(), static_cast<std::size_t>(journal.zReports));
  const CliResult bananas = Archive({"find", "--text", "банани"});
  EXPECT_EQ(Lines(bananas.out).size(),
            static_cast<std::size_t>(DocumentsHolding(journal.xml, W("NM=\"Банани\""))));

  // Receipts from the first to the last, and Z-reports: each as render shows it from the file.
  const std::string last = std::to_string(journal.lastReceiptNumber);
  for (const auto& [type, number] : std::vector<std::pair<std::string, std::string>>{
           {"receipt", "1"}, {"receipt", "40"}, {"receipt", last}, {"z", "1"}, {"z", "3"}}) {
    const CliResult shown = Archive({"show", fiscal, number, "--type", type});
    const CliResult rendered = RunCli(dir.path(), {"render", "--type", type, path, number, number});
    EXPECT_EQ(shown.exitCode, 0) << type << ' ' << number << shown.err;
    EXPECT_GT(Lines(shown.out).size(), 5u) << type << ' ' << number;
    EXPECT_EQ(shown.out, rendered.out) << type << ' ' << number;
  }
}

TEST_F(ArchiveCommands, AFileThatCannotBeTakenIsRefusedWholeAndTheOthersGoOn) {
  // The generated journal with one figure broken in its last document.
  std::string broken = journal.xml;
  broken.replace(broken.rfind("SM=\"") + 4, 1, "x");
  const std::string brokenPath = dir.File("broken.xml");
  WriteFile(brokenPath, broken);
  const CliResult result = Archive({"import", brokenPath, dir.File("missing.xml"), path});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_NE(result.err.find(brokenPath + ": refused"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("missing.xml: refused"), std::string::npos) << result.err;
  EXPECT_EQ(result.out, path + ": " + std::to_string(journal.receipts + journal.zReports) +
                            " stored, 0 held\n");
}

TEST_F(ArchiveCommands, FindAndShowTellNothingFoundAndBadValuesApart) {
  ASSERT_EQ(Archive({"import", path}).exitCode, 0);
  const CliResult nothing = Archive({"find", "--text", "нема такого"});
  EXPECT_EQ(nothing.exitCode, 3);
  EXPECT_EQ(nothing.out, "");
  EXPECT_EQ(Archive({"find", "--amount", "12.505"}).exitCode, 2);
  EXPECT_EQ(Archive({"find", "--from", "31.02.16"}).exitCode, 2);
  EXPECT_EQ(Archive({"find", "--number", "9-3"}).exitCode, 2);
  EXPECT_EQ(Archive({"show", fiscal, "999999"}).exitCode, 1);
  EXPECT_EQ(Archive({"show", "no such register", "1"}).exitCode, 1);
  const CliResult unopened = Archive({"find", "--archive", dir.File("no/such/folder/a.sqlite")});
  EXPECT_EQ(unopened.exitCode, 1);
  EXPECT_NE(unopened.err.find("cannot open the archive"), std::string::npos) << unopened.err;
}

TEST_F(ArchiveCommands, AFoundLineNamesRegisterKindNumberTimeAndTotal) {
  ASSERT_EQ(Archive({"import", path}).exitCode, 0);
  const CliResult first =
      Archive({"find", "--number", "1", "--type", "receipt", "return", "service", "cancelled"});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  ASSERT_EQ(Lines(first.out).size(), 1u);
  // The first receipt's own figures, read from the journal.
  const std::size_t dat = journal.xml.find("<DAT ");
  const std::size_t end = journal.xml.find("<E ", dat);
  const std::size_t sm = journal.xml.find(" SM=\"", end) + 5;
  const long long total = std::stoll(journal.xml.substr(sm, journal.xml.find('"', sm) - sm));
  const std::size_t ts = journal.xml.find("<TS>", dat) + 4;
  const std::string stamp = journal.xml.substr(ts, 14);
  const std::string shownTime = stamp.substr(6, 2) + "." + stamp.substr(4, 2) + "." +
                                stamp.substr(2, 2) + " " + stamp.substr(8, 2) + ":" +
                                stamp.substr(10, 2) + ":" + stamp.substr(12, 2);
  const std::string line = Lines(first.out)[0];
  EXPECT_EQ(line.substr(0, fiscal.size()), fiscal) << line;
  EXPECT_NE(line.find(" 1  " + shownTime), std::string::npos) << line;
  char sum[32];
  std::snprintf(sum, sizeof sum, "%lld.%02lld", total / 100, total % 100);
  EXPECT_EQ(line.substr(line.size() - std::string(sum).size()), sum) << line;
}

}  // namespace
}  // namespace morvek::test
