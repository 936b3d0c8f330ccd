// morvek-cli export, run as a child process: a generated journal whose names hold quotes, commas,
// semicolons and Cyrillic goes into an SQLite archive and out again as CSV (read back by Python's
// csv module), as JSON Lines and as PDF (read back by poppler's tools), each checked against the
// archive's own figures and against what `archive show` prints.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "archive/archive_text.h"
#include "cli/cli_runner.h"
#include "export/pdf_pages.h"
#include "pdf_reading.h"
#include "sim/journal_generator.h"
#include "test_support.h"

namespace morvek::test {
namespace {

// The three CSV files of a prefix as Python's csv module reads them: {"documents": [{column:
// value}...], "lines": [...], "zreports": [...]}.
nlohmann::json ReadByPython(const TempDir& dir, const std::string& prefix) {
  const std::string script = dir.File("read_csv.py"), out = dir.File("csv.json");
  WriteFile(script,
            "import csv, json, sys\n"
            "result = {}\n"
            "for part in ('documents', 'lines', 'zreports'):\n"
            "    with open(sys.argv[1] + '-' + part + '.csv', encoding='utf-8-sig', newline='') "
            "as f:\n"
            "        result[part] = list(csv.DictReader(f, strict=True))\n"
            "json.dump(result, open(sys.argv[2], 'w', encoding='utf-8'), ensure_ascii=False)\n");
  const std::string command = "python3 '" + script + "' '" + prefix + "' '" + out + "'";
  if (std::system(command.c_str()) != 0)
    throw std::runtime_error("python3 could not read " + prefix);
  return nlohmann::json::parse(ReadFile(out));
}

int Occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

class ExportCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    journal = GenerateJournal({.receipts = 60, .zReports = 3, .seed = 23});
    // A name with a semicolon as well as the generator's quotes, commas and Cyrillic.
    std::string& xml = journal.xml;
    for (std::size_t at = xml.find(W("NM=\"Банани\"")); at != std::string::npos;
         at = xml.find(W("NM=\"Банани\""), at))
      xml.replace(at, W("NM=\"Банани\"").size(), W("NM=\"Банани; стиглі\""));
    path = dir.File("journal.xml");
    WriteFile(path, xml);
    const std::size_t fn = xml.find("FN=\"") + 4;
    fiscal = xml.substr(fn, xml.find('"', fn) - fn);
    archivePath = dir.File("tapes.sqlite");
  }
  CliResult Cli(std::vector<std::string> args) { return RunCli(dir.path(), args); }
  void Import() {
    const CliResult imported = Cli({"archive", "import", "--archive", archivePath, path});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
  }

  TempDir dir;
  GeneratedJournal journal;
  std::string path, fiscal, archivePath;
};

TEST_F(ExportCommand, TheArchiveExportsToCsvAndJsonWithItsOwnFiguresAndTextImages) {
  Import();
  FindQuery everything;
  everything.registerKey = fiscal;
  const std::vector<FoundDocument> held = OpenArchive(archivePath)->Find(everything);
  std::vector<DocumentRecord> records;
  OpenArchive(archivePath)->ForEachDocument(fiscal, "", "", [&](const StoredDocument& stored) {
    records.push_back(ReadDocument(stored.xml));
  });
  ASSERT_EQ(held.size(), static_cast<std::size_t>(journal.receipts + journal.zReports));
  ASSERT_EQ(records.size(), held.size());

  // CSV, UTF-8 with its byte-order mark, read back by Python.
  const CliResult csv = Cli({"export", "--archive", archivePath, "--register", fiscal, "--format",
                             "csv", "--out", dir.File("tape")});
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_EQ(ReadFile(dir.File("tape-documents.csv")).substr(0, 3), "\xEF\xBB\xBF");
  const nlohmann::json read = ReadByPython(dir, dir.File("tape"));
  const nlohmann::json& documents = read.at("documents");
  ASSERT_EQ(documents.size(), held.size());
  for (std::size_t i = 0; i < held.size(); ++i) {
    EXPECT_EQ(documents[i].at("fiscal_number"), fiscal);
    EXPECT_EQ(documents[i].at("kind"), KindName(held[i].kind)) << i;
    EXPECT_EQ(documents[i].at("number"), std::to_string(held[i].number)) << i;
    EXPECT_EQ(documents[i].at("di"), std::to_string(held[i].di)) << i;
    EXPECT_EQ(documents[i].at("total"), Hryvnias(held[i].total)) << i;
    EXPECT_EQ(documents[i].at("date_time").get<std::string>().substr(0, 10),
              held[i].timestamp.substr(0, 10));
  }
  // Every line and every total: the counts per document, the money per kind.
  std::size_t items = 0, payments = 0, zTotals = 0;
  long long paid = 0, paidInCsv = 0, salesCount = 0, salesCountInCsv = 0;
  for (const DocumentRecord& record : records) {
    items += record.items.size();
    payments += record.payments.size();
    for (const PaymentLine& payment : record.payments) paid += payment.sum;
    if (record.kind == DocumentKind::kZReport)
      zTotals += record.zTaxes.size() + record.zPayments.size() + record.zCash.size() + 1;
    salesCount += record.salesCount;
  }
  std::size_t itemsInCsv = 0, paymentsInCsv = 0, bananas = 0, batons = 0;
  for (const nlohmann::json& line : read.at("lines")) {
    const std::string kind = line.at("line_kind"), name = line.at("name");
    itemsInCsv += kind == "item";
    if (kind == "payment") {
      ++paymentsInCsv;
      paidInCsv += *Kopecks(line.at("sum").get<std::string>());
    }
    bananas += name == "Банани; стиглі";
    batons += name == "Батон \"Київський\" 0,5 кг";
  }
  for (const nlohmann::json& total : read.at("zreports"))
    if (total.at("total") == "counts")
      salesCountInCsv += std::stoll(total.at("sales_count").get<std::string>());
  EXPECT_EQ(itemsInCsv, items);
  EXPECT_EQ(paymentsInCsv, payments);
  EXPECT_EQ(paidInCsv, paid);
  EXPECT_EQ(read.at("zreports").size(), zTotals);
  EXPECT_EQ(salesCountInCsv, salesCount);
  EXPECT_GT(bananas, 0u);
  EXPECT_EQ(bananas, static_cast<std::size_t>(Occurrences(journal.xml, W("Банани; стиглі"))));
  EXPECT_GT(batons, 0u);
  EXPECT_EQ(batons, static_cast<std::size_t>(Occurrences(journal.xml, W("Київський"))));

  // The same files in Windows-1251: the same text, no byte-order mark.
  const CliResult cp1251 =
      Cli({"export", "--archive", archivePath, "--register", fiscal, "--format", "csv", "--out",
           dir.File("tape1251"), "--encoding", "cp1251"});
  ASSERT_EQ(cp1251.exitCode, 0) << cp1251.err;
  for (const std::string part : {"documents", "lines", "zreports"})
    EXPECT_EQ(ReadFile(dir.File("tape1251-" + part + ".csv")),
              W(ReadFile(dir.File("tape-" + part + ".csv")).substr(3)))
        << part;

  // JSON Lines: a parsed object per document, its text image as `archive show` prints it.
  const CliResult json = Cli({"export", "--archive", archivePath, "--register", fiscal, "--format",
                              "json", "--out", dir.File("tape.jsonl")});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  std::vector<nlohmann::json> objects;
  const std::string text = ReadFile(dir.File("tape.jsonl"));
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    ASSERT_NE(end, std::string::npos) << "the last line has no end";
    objects.push_back(nlohmann::json::parse(text.substr(at, end - at)));
    at = end + 1;
  }
  ASSERT_EQ(objects.size(), held.size());
  std::map<std::string, int> shownChecks;
  for (std::size_t i = 0; i < held.size(); ++i) {
    const nlohmann::json& object = objects[i];
    EXPECT_EQ(object.at("di"), held[i].di);
    EXPECT_EQ(object.at("number"), held[i].number);
    EXPECT_EQ(object.at("total"), Hryvnias(held[i].total));
    const bool z = held[i].kind == DocumentKind::kZReport;
    EXPECT_EQ(object.contains("totals"), z) << i;
    if (!z) {
      EXPECT_EQ(object.at("payments").size(), records[i].payments.size()) << i;
    }
    // The first and last receipt and the first Z-report against `archive show`.
    const std::string type = z ? "z" : "receipt";
    if (shownChecks[type]++ > 0 && !(type == "receipt" && i + 1 == held.size())) continue;
    const CliResult shown = Cli({"archive", "show", "--archive", archivePath, fiscal,
                                 std::to_string(held[i].number), "--type", type});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    std::string image;
    for (const nlohmann::json& line : object.at("text")) image += line.get<std::string>() + "\n";
    EXPECT_GT(object.at("text").size(), 5u);
    EXPECT_EQ(image, shown.out) << type << ' ' << held[i].number;
  }
  EXPECT_EQ(shownChecks["z"], journal.zReports);
}

// A page's lines as pdftotext reads them at the paper's pitch, from the left margin on (where the
// page's first line, which has no indent, starts).
std::vector<std::string> PageText(const std::string& pdf, int page, PdfPaper paper) {
  std::vector<std::string> lines = PdfPageLines(pdf, page, CharacterPitch(paper));
  const std::size_t margin = lines.empty() ? 0 : lines[0].find_first_not_of(' ');
  for (std::string& line : lines) line.erase(0, std::min(margin, line.find_first_not_of(' ')));
  return lines;
}

std::vector<std::string> TrimmedLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    const std::string line = text.substr(at, end - at);
    lines.push_back(line.substr(0, line.find_last_not_of(' ') + 1));
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

TEST_F(ExportCommand, PdfPagesReadBackAsTheTextImagesInTheirColumns) {
  Import();
  std::map<int, std::vector<std::string>> images;  // of the first and the last receipt
  for (const int number : {1, journal.receipts}) {
    const CliResult shown = Cli({"archive", "show", "--archive", archivePath, fiscal,
                                 std::to_string(number), "--type", "receipt"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    images[number] = TrimmedLines(shown.out);
  }

  // The roll: a page per receipt, under the register and the receipt's number.
  const std::string roll = dir.File("roll.pdf");
  const CliResult rolled = Cli({"export", "--archive", archivePath, "--register", fiscal, "--type",
                                "receipt", "--format", "pdf", "--paper", "roll80", "--out", roll});
  ASSERT_EQ(rolled.exitCode, 0) << rolled.err;
  ASSERT_EQ(PdfPageCount(roll), journal.receipts);
  for (const auto& [number, image] : images) {
    std::vector<std::string> expected = {"ФН " + fiscal, "", ""};  // the title is checked apart
    expected.insert(expected.end(), image.begin(), image.end());
    while (!expected.empty() && expected.back().empty()) expected.pop_back();
    std::vector<std::string> page = PageText(roll, number, PdfPaper::kRoll80);
    ASSERT_GT(page.size(), 2u);
    EXPECT_EQ(page[1].rfind("Чек № " + std::to_string(number) + " ", 0), 0u) << page[1];
    page[1].clear();
    EXPECT_EQ(page, expected) << "receipt " << number;
  }

  // A4: the receipts flow down columns under a header naming the register, the days and the page;
  // the first one stands in the left column line by line, the columns beside it apart.
  const std::string a4 = dir.File("a4.pdf");
  const CliResult paged = Cli({"export", "--archive", archivePath, "--register", fiscal, "--type",
                               "receipt", "--format", "pdf", "--out", a4});
  ASSERT_EQ(paged.exitCode, 0) << paged.err;
  const int pages = PdfPageCount(a4);
  EXPECT_GT(pages, 1);
  EXPECT_LT(pages, journal.receipts / 2);
  const std::vector<std::string> page = PageText(a4, 1, PdfPaper::kA4);
  ASSERT_GT(page.size(), images[1].size() + 2);
  EXPECT_EQ(page[0].rfind("ФН " + fiscal + "   09.01.24 - ", 0), 0u) << page[0];
  const std::string last = "Стр. 1 из " + std::to_string(pages);
  EXPECT_EQ(page[0].substr(page[0].size() - last.size()), last);
  for (std::size_t i = 0; i < images[1].size(); ++i) {
    const std::string& line = page[i + 2];
    const std::string& expected = images[1][i];
    EXPECT_EQ(line.rfind(expected, 0), 0u) << "line " << i << ": " << line;
    EXPECT_TRUE(line.size() == expected.size() || line[expected.size()] == ' ') << line;
  }
  // Rendered, the page carries the ink of its text and is no black sheet.
  const double ink = PdfPageInk(a4, 1);
  EXPECT_GT(ink, 0.004);
  EXPECT_LT(ink, 0.5);
}

TEST_F(ExportCommand, AJournalFileExportsTheDocumentsOfTheRangeAsked) {
  const CliResult csv = Cli({"export", path, "1", "10", "--type", "receipt", "--format", "csv",
                             "--out", dir.File("first")});
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  const nlohmann::json documents = ReadByPython(dir, dir.File("first")).at("documents");
  ASSERT_EQ(documents.size(), 10u);
  for (std::size_t i = 0; i < documents.size(); ++i) {
    EXPECT_EQ(documents[i].at("number"), std::to_string(i + 1));
    EXPECT_NE(documents[i].at("kind"), "z");
    EXPECT_EQ(documents[i].at("register_name"), "");
  }
}

TEST_F(ExportCommand, AnOutputThatCannotBeWrittenLeavesNoFileBehind) {
  Import();
  const std::vector<std::string> before = FileNames(dir.path());
  for (const std::string format : {"csv", "json", "pdf"}) {
    const CliResult failed = Cli({"export", "--archive", archivePath, "--register", fiscal,
                                  "--format", format, "--out", dir.File("no/such/folder/tape")});
    EXPECT_EQ(failed.exitCode, 1) << format;
    EXPECT_EQ(Occurrences(failed.err, "\n"), 1) << failed.err;
    EXPECT_NE(failed.err.find("no/such/folder/tape"), std::string::npos) << failed.err;
  }
  EXPECT_EQ(FileNames(dir.path()), before);
}

TEST_F(ExportCommand, UnreadableInputFailsAndBadCommandLinesAreUsageErrors) {
  Import();
  WriteFile(dir.File("not-a-journal.xml"), "<RQ V=\"1\"><DAT");
  const std::vector<std::pair<std::vector<std::string>, int>> cases = {
      {{"export", dir.File("not-a-journal.xml"), "--format", "csv", "--out", "x"}, 1},
      {{"export", "--archive", archivePath, "--register", "nobody", "--format", "csv", "--out",
        "x"},
       1},
      {{"export", "--format", "csv", "--out", "x"}, 2},
      {{"export", path, "--format", "xls", "--out", "x"}, 2},
      {{"export", path, "--format", "csv", "--paper", "a4", "--out", "x"}, 2},
      {{"export", path, "--format", "pdf", "--paper", "a5", "--out", "x"}, 2},
      {{"export", path, "--register", fiscal, "--format", "csv", "--out", "x"}, 2},
      {{"export", "--register", fiscal, "--from", "31.02.24", "--format", "csv", "--out", "x"}, 2},
      {{"export", path, "--format", "csv"}, 2},
      {{"export", path, "--format", "json", "--out", "x", "--encoding", "cp1251"}, 2},
      {{"export", path, "--format", "pdf", "--out", "x", "--encoding", "cp1251"}, 2}};
  for (const auto& [args, status] : cases) {
    const CliResult result = Cli(args);
    EXPECT_EQ(result.exitCode, status) << args[1] << ' ' << args[2] << result.err;
    EXPECT_FALSE(FileExists(dir.File("x-documents.csv")));
    EXPECT_FALSE(FileExists(dir.File("x")));
  }
}

}  // namespace
}  // namespace morvek::test
