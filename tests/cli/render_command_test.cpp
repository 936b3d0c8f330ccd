// morvek-cli render, run as a child process in a temporary working folder (where error.log lands):
// what it prints, what --out saves, and how it ends on bad journals and bad command lines.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "test_support.h"

namespace morvek::test {
namespace {

const std::string kSample = MORVEK_SOURCE_DIR "/data/sample-journal.xml";
const std::string kExpectedDir = MORVEK_SOURCE_DIR "/tests/golden/expected/";
const std::string kSeparator = "  --------------------------------------";

std::string Golden(const std::string& name) {
  return ReadFile(kExpectedDir + name + ".txt");
}

// The saved form (CR LF) as the terminal form (LF), bytes unchanged.
std::string WithLf(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

std::string Utf8Lines(const std::vector<std::string>& utf8Lines) {
  std::string text;
  for (const auto& line : utf8Lines) text += line + "\n";
  return text;
}

// A journal written as the register sends it: Windows-1251 with its declaration.
std::string WriteJournal(const TempDir& dir, const std::string& utf8Body) {
  const std::string path = dir.File("journal.xml");
  WriteFile(path, "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n" + W(utf8Body));
  return path;
}

std::string Document(int di, const std::string& content) {
  const std::string d = std::to_string(di);
  return "<DAT FN=\"3000000001\" ZN=\"ТЕ00000001\" DI=\"" + d + "\">" + content +
         "</DAT>\n<MAC DI=\"" + d + "\" NT=\"1\"/>\n";
}

// Bread 1.5 kg at 12.50 paid with 20.00: a receipt whose every line is worked out by hand below.
std::string BreadReceipt(int di, int number) {
  return Document(di,
                  "<C T=\"0\" ON=\"Тест\"><P N=\"1\" NM=\"Хліб\" Q=\"1500\" PRC=\"1250\" "
                  "SM=\"1875\" TX=\"1\"/><M N=\"2\" NM=\"ГОТІВКА\" SM=\"2000\" RM=\"125\"/>"
                  "<E N=\"3\" NO=\"" +
                      std::to_string(number) +
                      "\" SM=\"1875\" TX=\"1\" TXPR=\"20\" TXSM=\"312\" CS=\"1\"/></C>"
                      "<TS>201603051407</TS>");
}

std::vector<std::string> Header() {
  return {"          ДП \"Компанія VERNO\"", "                м.Київ",
          "     ЗН ТЕ00000001  ФН 3000000001", "         Тест Каса01", kSeparator};
}

std::vector<std::string> BreadReceiptLines(int number) {
  std::vector<std::string> lines = Header();
  const std::string no = std::to_string(number);
  const std::vector<std::string> rest = {
      "  Хліб",
      "  1.500. X 12.50 =              18.75 A" + std::string(14, ' '),
      kSeparator,
      "  Сума                          18.75" + std::string(19, ' '),
      "       ПДВ_A A =20.00%           3.12" + std::string(15, ' '),
      kSeparator,
      kSeparator,
      "  ГОТІВКА                       20.00" + std::string(13, ' '),
      "  Решта                         -1.25" + std::string(5, ' '),
      "  " + std::string(9 - no.size(), '0') + no + "         05.03.2016  14:07" +
          std::string(17, ' '),
      "         ФІСКАЛЬНИЙ ЧЕК",
      kSeparator,
      kSeparator};
  lines.insert(lines.end(), rest.begin(), rest.end());
  return lines;
}

const std::string kFailureLines =
    "Непредвиденный сбой в структуре получаемой информации!\n"
    "Попробуйте выбрать другой диапазон номеров или дат!\n";

// --- What it prints ---

// Each program names itself, the project's version and the commit it was built from.
TEST(VersionOption, TheTerminalProgramsNameTheirVersionAndCommit) {
  TempDir dir;
  const std::regex line(std::string("(morvek-cli|morvek-sim) ") + MORVEK_PROJECT_VERSION +
                        " \\(commit ([0-9a-f]{12}|unknown)\\)\n");
  const CliResult cli = RunCli(dir.path(), {"--version"});
  EXPECT_EQ(cli.exitCode, 0);
  EXPECT_TRUE(std::regex_match(cli.out, line)) << cli.out;
  EXPECT_TRUE(cli.out.rfind("morvek-cli ", 0) == 0) << cli.out;
  const std::string simOut = dir.File("sim.out");
  ASSERT_EQ(std::system((std::string(MORVEK_SIM) + " --version > '" + simOut + "'").c_str()), 0);
  EXPECT_TRUE(std::regex_match(ReadFile(simOut), line)) << ReadFile(simOut);
  EXPECT_TRUE(ReadFile(simOut).rfind("morvek-sim ", 0) == 0);
}

TEST(RenderCommandOutput, PrintsEveryDocumentInUtf8ByDefault) {
  TempDir dir;
  const CliResult result = RunCli(dir.path(), {"render", kSample});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ(U(WithLf(Golden("BothWholeJournal"))), result.out);
  EXPECT_EQ("", result.err);
  EXPECT_FALSE(FileExists(dir.File("error.log")));
}

TEST(RenderCommandOutput, Cp1251EncodingPrintsTheListBytesUnconverted) {
  TempDir dir;
  const CliResult result = RunCli(dir.path(), {"render", "--encoding", "cp1251", kSample});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ(WithLf(Golden("BothWholeJournal")), result.out);
}

TEST(RenderCommandOutput, Utf8EncodingCanBeAskedForExplicitly) {
  TempDir dir;
  const CliResult result = RunCli(dir.path(), {"render", "--encoding", "utf8", kSample});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ(U(WithLf(Golden("BothWholeJournal"))), result.out);
}

struct TypeCase {
  const char* name;
  std::vector<std::string> args;  // after "render"
  const char* golden;
};
void PrintTo(const TypeCase& c, std::ostream* os) {
  *os << c.name;
}

class RenderCommandType : public testing::TestWithParam<TypeCase> {};

TEST_P(RenderCommandType, PrintsTheDocumentsOfItsTypeInTheRange) {
  TempDir dir;
  std::vector<std::string> args{"render"};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  const CliResult result = RunCli(dir.path(), args);
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ(U(WithLf(Golden(GetParam().golden))), result.out);
}

INSTANTIATE_TEST_SUITE_P(
    , RenderCommandType,
    testing::Values(
        TypeCase{
            "Receipt", {"--type", "receipt", kSample, "1519", "1523"}, "ReceiptsFrom1519To1523"},
        TypeCase{"Both", {"--type", "both", kSample, "1522", "1526"}, "BothFrom1522To1526"},
        TypeCase{"Z", {"--type", "z", kSample}, "ZReportsWholeJournal"},
        // The sample's Z-reports are numbered 87 to 89.
        TypeCase{"ZByTheirNumbers", {"--type", "z", kSample, "87", "89"}, "ZReportsWholeJournal"},
        TypeCase{"Cash", {"--type", "cash", kSample}, "CashDocumentsWholeJournal"}),
    [](const testing::TestParamInfo<TypeCase>& param) { return std::string(param.param.name); });

// A Z-report before receipt 1, and a receipt numbered far above any realistic end number. The
// start number 1 lands on receipt 1 and so leaves the Z-report out; 0 would take it in. The end
// number 2147483647 reaches the last receipt.
TEST(RenderCommandOutput, RangeDefaultsToFirstOneAndLast2147483647) {
  TempDir dir;
  const std::string journal =
      WriteJournal(dir, "<RQ V=\"1\">\n" + Document(1, "<Z NO=\"5\"/><TS>201603040000</TS>") +
                            BreadReceipt(2, 1) + BreadReceipt(3, 16777216) + "</RQ>\n");
  const CliResult defaults = RunCli(dir.path(), {"render", journal});
  const CliResult explicitRange = RunCli(dir.path(), {"render", journal, "1", "2147483647"});
  const CliResult firstOnly = RunCli(dir.path(), {"render", journal, "1"});
  const CliResult fromZero = RunCli(dir.path(), {"render", journal, "0"});
  const CliResult belowLast = RunCli(dir.path(), {"render", journal, "1", "16777215"});
  ASSERT_EQ(0, defaults.exitCode) << defaults.err;

  std::vector<std::string> both = BreadReceiptLines(1);
  const std::vector<std::string> last = BreadReceiptLines(16777216);
  both.insert(both.end(), last.begin(), last.end());
  EXPECT_EQ(Utf8Lines(both), defaults.out);
  EXPECT_EQ(defaults.out, explicitRange.out);
  EXPECT_EQ(defaults.out, firstOnly.out);
  EXPECT_NE(std::string::npos, fromZero.out.find("Z-звіт N 5"));
  EXPECT_EQ(Utf8Lines(BreadReceiptLines(1)), belowLast.out);
}

TEST(RenderCommandOutput, JournalWithoutDocumentsSaysSo) {
  TempDir dir;
  const std::string journal = WriteJournal(dir, "<RQ V=\"1\">\n</RQ>\n");
  const CliResult result = RunCli(dir.path(), {"render", journal});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ("Запрашиваемые данные отсутствуют!\n", result.out);
}

TEST(RenderCommandOutput, OutputThatCannotBeWrittenExitsOne) {
  if (!FileExists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  TempDir dir;
  const CliResult result = RunCli(dir.path(), {"render", kSample}, "/dev/full");
  EXPECT_EQ(1, result.exitCode);
  EXPECT_NE(std::string::npos, result.err.find("cannot write")) << result.err;
}

// Lines printed as each document is made read as the collected lines --out prints beside the
// file: with a failing document between good ones, and with a journal refused whole.
TEST(RenderCommandOutput, LinesPrintedAsTheyComeReadAsTheCollectedOnes) {
  const std::string failing = Document(
      2, "<C T=\"0\"><P N=\"1\" NM=\"Чай\" SM=\"100\" TX=\"x\"/><E N=\"2\" NO=\"8\"/></C>");
  const std::string good = BreadReceipt(1, 7) + failing + BreadReceipt(3, 9);
  for (const std::string& body :
       {"<RQ V=\"1\">\n" + good + "</RQ>\n", "<RQ V=\"1\">\n" + good + "</RQ>\n<junk/>"}) {
    TempDir dir;
    const std::string journal = WriteJournal(dir, body);
    for (const char* encoding : {"utf8", "cp1251"}) {
      const CliResult printed = RunCli(dir.path(), {"render", "--encoding", encoding, journal});
      const CliResult collected =
          RunCli(dir.path(), {"render", "--encoding", encoding, "--out", "saved.txt", journal});
      EXPECT_EQ(printed.out, collected.out) << encoding << body;
      EXPECT_EQ(printed.exitCode, collected.exitCode) << encoding << body;
      EXPECT_FALSE(printed.out.empty());
    }
  }
}

// --- What --out saves ---

TEST(RenderCommandSave, OutWritesExactlyWhatTheSaveButtonWrites) {
  TempDir dir;
  const CliResult result = RunCli(dir.path(), {"render", "--out", "saved.txt", kSample});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ(Golden("BothWholeJournal"), ReadFile(dir.File("saved.txt")));
  EXPECT_EQ(U(WithLf(Golden("BothWholeJournal"))), result.out);
}

TEST(RenderCommandSave, OutSavesWindows1251WhateverTheTerminalEncoding) {
  TempDir dir;
  const CliResult result = RunCli(dir.path(), {"render", "--encoding", "cp1251", "--type", "z",
                                               "--out", dir.File("z.txt"), kSample});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ(Golden("ZReportsWholeJournal"), ReadFile(dir.File("z.txt")));
}

TEST(RenderCommandSave, OutReplacesAnExistingFile) {
  TempDir dir;
  WriteFile(dir.File("saved.txt"), std::string(100000, 'x'));
  const CliResult result =
      RunCli(dir.path(), {"render", "--type", "cash", "--out", "saved.txt", kSample});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ(Golden("CashDocumentsWholeJournal"), ReadFile(dir.File("saved.txt")));
}

TEST(RenderCommandSave, NameWithoutExtensionGetsTxtAsInTheSaveDialog) {
  TempDir dir;
  const CliResult result = RunCli(dir.path(), {"render", "--out", "saved", kSample});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_FALSE(FileExists(dir.File("saved")));
  EXPECT_EQ(Golden("BothWholeJournal"), ReadFile(dir.File("saved.txt")));
}

TEST(RenderCommandSave, FileThatCannotBeCreatedExitsOneWithTheReason) {
  TempDir dir;
  const CliResult result =
      RunCli(dir.path(), {"render", "--out", "no-such-folder/saved.txt", kSample});
  EXPECT_EQ(1, result.exitCode);
  EXPECT_NE(std::string::npos, result.err.find("no-such-folder")) << result.err;
}

TEST(RenderCommandSave, FolderNameIsNotTurnedIntoAHiddenFile) {
  TempDir dir;
  ASSERT_EQ(0, mkdir(dir.File("folder").c_str(), 0755));
  const CliResult result = RunCli(dir.path(), {"render", "--out", "folder/", kSample});
  EXPECT_EQ(1, result.exitCode);
  EXPECT_FALSE(FileExists(dir.File("folder/.txt")));
  EXPECT_NE("", result.err);
}

// --- Bad journals ---

struct BadJournalCase {
  const char* name;
  const char* body;
};
void PrintTo(const BadJournalCase& c, std::ostream* os) {
  *os << c.name;
}

class RenderCommandBadJournal : public testing::TestWithParam<BadJournalCase> {};

TEST_P(RenderCommandBadJournal, PrintsTheTwoFailureLinesAndExitsOne) {
  TempDir dir;
  const std::string journal = WriteJournal(dir, GetParam().body);
  const CliResult result = RunCli(dir.path(), {"render", journal});
  EXPECT_EQ(1, result.exitCode);
  EXPECT_EQ(kFailureLines, result.out);
}

INSTANTIATE_TEST_SUITE_P(
    , RenderCommandBadJournal,
    testing::Values(
        BadJournalCase{"NotWellFormed",
                       "<RQ V=\"1\">\n<DAT DI=\"1\"><C T=\"0\"><E N=\"1\" NO=\"1\"/></C>\n</RQ>"},
        BadJournalCase{"AmountThatIsNotANumber",
                       "<RQ V=\"1\">\n<DAT DI=\"1\"><C T=\"0\"><P N=\"1\" NM=\"Хліб\" SM=\"abc\"/>"
                       "<E N=\"2\" NO=\"1\"/></C><TS>201603051407</TS></DAT>\n<MAC/>\n</RQ>"}),
    [](const testing::TestParamInfo<BadJournalCase>& param) {
      return std::string(param.param.name);
    });

TEST(RenderCommandBadJournalBytes, FailureLinesFollowTheOutputEncoding) {
  TempDir dir;
  const std::string journal = WriteJournal(dir, "<RQ V=\"1\"><DAT>");
  const CliResult result = RunCli(dir.path(), {"render", "--encoding", "cp1251", journal});
  EXPECT_EQ(1, result.exitCode);
  EXPECT_EQ(W(kFailureLines), result.out);
}

// Receipts 2 and 4 carry tax groups that are not numbers. Each keeps the lines it had appended
// before the failure, the others are complete, and error.log holds the last failure only.
TEST(RenderCommandRenderFailure, FailedDocumentsAreLoggedAndTheOthersRender) {
  TempDir dir;
  const std::string second =
      Document(2,
               "<C T=\"0\" ON=\"Тест\"><L N=\"1\">Перевірка</L><P N=\"2\" NM=\"Сіль\" SM=\"500\" "
               "TX=\"x1\"/><E N=\"3\" NO=\"2\" SM=\"500\" CS=\"1\"/></C><TS>201603051410</TS>");
  const std::string fourth =
      Document(4,
               "<C T=\"0\" ON=\"Тест\"><P N=\"1\" NM=\"Сіль\" SM=\"500\" TX=\"q7\"/>"
               "<E N=\"2\" NO=\"4\" SM=\"500\" CS=\"1\"/></C><TS>201603051420</TS>");
  const std::string journal = WriteJournal(dir, "<RQ V=\"1\">\n" + BreadReceipt(1, 1) + second +
                                                    BreadReceipt(3, 3) + fourth + "</RQ>\n");

  const CliResult result = RunCli(dir.path(), {"render", journal});
  EXPECT_EQ(0, result.exitCode) << result.err;

  std::vector<std::string> expected = BreadReceiptLines(1);
  for (const auto& line : Header()) expected.push_back(line);
  expected.push_back("  Перевірка");
  for (const auto& line : BreadReceiptLines(3)) expected.push_back(line);
  for (const auto& line : Header()) expected.push_back(line);
  EXPECT_EQ(Utf8Lines(expected), result.out);

  const std::string log = ReadFile(dir.File("error.log"));
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ("\r\n", log.substr(log.size() - 2));
  EXPECT_EQ(log.size() - 2, log.find("\r\n")) << "one message only: " << log;
  EXPECT_NE(std::string::npos, log.find("q7")) << log;
  EXPECT_EQ(std::string::npos, log.find("x1")) << log;
}

TEST(RenderCommandRenderFailure, RenderingWithoutFailureLeavesErrorLogUntouched) {
  TempDir dir;
  WriteFile(dir.File("error.log"), "an earlier failure\r\n");
  const CliResult result = RunCli(dir.path(), {"render", kSample});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ("an earlier failure\r\n", ReadFile(dir.File("error.log")));
}

// --- Bad command lines ---

class RenderCommandUsage : public testing::TestWithParam<UsageCase> {};

TEST_P(RenderCommandUsage, ExitsTwoWithAMessageAndPrintsNothing) {
  TempDir dir;
  const CliResult result = RunCli(dir.path(), GetParam().args);
  EXPECT_EQ(2, result.exitCode);
  EXPECT_NE("", result.err);
  EXPECT_EQ("", result.out);
  EXPECT_FALSE(FileExists(dir.File("error.log")));
}

INSTANTIATE_TEST_SUITE_P(
    , RenderCommandUsage,
    testing::Values(UsageCase{"UnknownType", {"render", "--type", "x", kSample}},
                    UsageCase{"UnknownEncoding", {"render", "--encoding", "koi8", kSample}},
                    UsageCase{"MissingJournalFile", {"render", "no-such-journal.xml"}},
                    UsageCase{"NoJournalGiven", {"render"}},
                    UsageCase{"FirstNotANumber", {"render", kSample, "abc"}},
                    UsageCase{"LastNotANumber", {"render", kSample, "1", "2x"}},
                    UsageCase{"FirstBeyondInt", {"render", kSample, "2147483648"}},
                    UsageCase{"UnknownOption", {"render", "--bogus", kSample}},
                    UsageCase{"ExtraArgument", {"render", kSample, "1", "2", "3"}},
                    UsageCase{"NoCommand", {}}),
    [](const testing::TestParamInfo<UsageCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace morvek::test
