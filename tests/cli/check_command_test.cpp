// morvek-cli archive check on an SQLite archive filled with a generated journal, one of whose
// Z-reports was changed on the way.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "archive/archive.h"
#include "archive/archive_text.h"
#include "cli/cli_runner.h"
#include "sim/journal_generator.h"

namespace morvek {
namespace {

using test::CliResult;
using test::RunCli;
using test::TempDir;

std::size_t ZAt(const std::vector<DocumentRecord>& records, long long number) {
  std::size_t at = 0;
  while (records.at(at).kind != DocumentKind::kZReport || records[at].number != number) ++at;
  return at;
}

// Adds one to the value of the first `attribute` after `from` in xml; gives the value it had.
long long Bump(std::string& xml, std::size_t from, const std::string& attribute) {
  const std::size_t value = xml.find(attribute + "=\"", from) + attribute.size() + 2;
  const std::size_t end = xml.find('"', value);
  const long long had = std::stoll(xml.substr(value, end - value));
  xml.replace(value, end - value, std::to_string(had + 1));
  return had;
}

// What the register's Z-report 3 said before it was changed on the way into the archive: one
// sale receipt more, and one kopeck more of cash for sales.
struct Tampered {
  long long saleReceipts = 0, cashSales = 0;
};

std::vector<DocumentRecord> WithTamperedZReport(Tampered& tampered) {
  std::vector<DocumentRecord> records;
  const GeneratedJournal journal = GenerateJournal({500, 4, 41});
  for (const std::string_view slice : SliceDocuments(journal.xml)) {
    std::string xml(slice);
    if (const std::size_t at = xml.find("<Z NO=\"3\""); at != std::string::npos) {
      tampered.saleReceipts = Bump(xml, xml.find("<NC ", at), "NI");
      tampered.cashSales = Bump(xml, xml.find("<M T=\"0\"", at), "SMI");
    }
    records.push_back(ReadDocument(xml));
  }
  return records;
}

TEST(ArchiveCheckCommand, FindsTheChangedZReportInEveryFormat) {
  TempDir dir;
  const std::string archivePath = dir.File("tapes.sqlite");
  Tampered was;
  const std::vector<DocumentRecord> records = WithTamperedZReport(was);
  OpenArchive(archivePath)->Store(records, Arrival::kImported);
  const std::string fiscalNumber = records.front().fiscalNumber;

  const CliResult text = RunCli(dir.path(), {"archive", "check", "--archive", archivePath});
  EXPECT_EQ(text.exitCode, 3) << text.err;
  EXPECT_NE(text.out.find("Register " + fiscalNumber), std::string::npos) << text.out;
  EXPECT_NE(text.out.find(": sale receipts: Z-report " + std::to_string(was.saleReceipts + 1) +
                          ", receipts " + std::to_string(was.saleReceipts) + "\n"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find(": sales payments, form 0: Z-report " + Hryvnias(was.cashSales + 1) +
                          ", receipts " + Hryvnias(was.cashSales) + "\n"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("4 shifts: 3 consistent, 1 with differences"), std::string::npos);

  const CliResult json = RunCli(dir.path(), {"archive", "check", "--archive", archivePath,
                                             "--format", "json", "--register", fiscalNumber});
  EXPECT_EQ(json.exitCode, 3) << json.err;
  const nlohmann::json parsed = nlohmann::json::parse(json.out);
  EXPECT_FALSE(parsed.at("consistent").get<bool>());
  const nlohmann::json& shift = parsed.at("registers").at(0).at("shifts").at(0);
  EXPECT_EQ(shift.at("z_report"), 3);
  EXPECT_EQ(shift.at("differences").at(0).at("z_report"), was.saleReceipts + 1);
  EXPECT_EQ(shift.at("differences").at(1).at("receipts"), was.cashSales);

  const CliResult csv =
      RunCli(dir.path(), {"archive", "check", "--archive", archivePath, "--format", "csv"});
  EXPECT_EQ(csv.out.find("register,fiscal_number,shift,date,finding,key,z_report,receipts\r\n"),
            0u);
  EXPECT_NE(csv.out.find(",3,"), std::string::npos);

  // The shifts closed on the tape's first two days alone are consistent.
  const std::string day2 = records[ZAt(records, 2)].timestamp;
  const std::string to = day2.substr(8, 2) + "." + day2.substr(5, 2) + "." + day2.substr(2, 2);
  const CliResult limited = RunCli(
      dir.path(), {"archive", "check", "--archive", archivePath, "--from", "01.01.20", "--to", to});
  EXPECT_EQ(limited.exitCode, 0) << limited.out << limited.err;
  EXPECT_NE(limited.out.find("2 shifts: 2 consistent"), std::string::npos) << limited.out;
}

TEST(ArchiveCheckCommand, ExitStatusSaysWhatWentWrong) {
  TempDir dir;
  const std::string archivePath = dir.File("tapes.sqlite");
  Tampered was;
  OpenArchive(archivePath)->Store(WithTamperedZReport(was), Arrival::kImported);
  test::WriteFile(dir.File("not-an-archive"), "plain text, not a database file at all");
  struct Case {
    std::vector<std::string> args;
    int status;
  };
  const std::vector<Case> cases = {
      {{"--archive", archivePath, "--register", "no such register"}, 2},
      {{"--archive", archivePath, "--from", "32.01.24"}, 2},
      {{"--archive", archivePath, "--format", "xml"}, 2},
      {{"--archive", dir.File("not-an-archive")}, 1},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"archive", "check"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliResult result = RunCli(dir.path(), args);
    EXPECT_EQ(result.exitCode, c.status) << c.args.back() << ": " << result.err;
  }
}

}  // namespace
}  // namespace morvek
