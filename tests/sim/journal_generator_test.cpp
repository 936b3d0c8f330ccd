// The generated journals are what the benchmark times and the fuzzer starts from: they must be
// reproducible, well-formed, and shown in full by a request for every number.
#include "sim/journal_generator.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <optional>
#include <string>

#include "app/application.h"
#include "codec/cp1251.h"
#include "platform/silent_ui.h"
#include "platform/xml_document.h"
#include "render/ordering.h"
#include "render/renderer.h"

namespace morvek {
namespace {

class Folder {
 public:
  Folder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "morvek-generator-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

int CountPrefixed(const std::vector<std::string>& lines, std::string_view prefix) {
  int count = 0;
  for (const auto& line : lines)
    if (std::string_view(line).substr(0, prefix.size()) == prefix) ++count;
  return count;
}

int CountEqual(const std::vector<std::string>& lines, std::string_view text) {
  int count = 0;
  for (const auto& line : lines)
    if (line == text) ++count;
  return count;
}

// A request for every number, as `morvek-cli render` makes it.
struct Rendered {
  explicit Rendered(const std::string& xml, int type = kTypeBoth) {
    form.errorLogPath = folder.File("error.log");
    form.FormCreate();
    form.control.Reset();
    form.SetRequest(type, 1, INT_MAX);
    shown = form.ShowAssembled(xml);
  }
  bool ErrorLogged() const { return std::filesystem::exists(form.errorLogPath); }

  Folder folder;
  SilentUi ui;
  Application app{ui};
  TForm53& form = app.Form53;
  bool shown = false;
};

TEST(JournalGenerator, SameOptionsGiveTheSameBytes) {
  const JournalOptions options{.receipts = 200, .zReports = 5, .seed = 42};
  EXPECT_EQ(GenerateJournal(options).xml, GenerateJournal(options).xml);
  JournalOptions other = options;
  other.seed = 43;
  EXPECT_NE(GenerateJournal(options).xml, GenerateJournal(other).xml);
}

TEST(JournalGenerator, WritesAWellFormedWindows1251Journal) {
  const GeneratedJournal journal = GenerateJournal({.receipts = 300, .zReports = 8, .seed = 7});
  // The lines of the assembled document, each ending in CR LF; 308 documents numbered from 1.
  EXPECT_TRUE(journal.xml.starts_with(
      "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n<DAT "));
  EXPECT_TRUE(journal.xml.ends_with("<MAC DI=\"308\" NT=\"1\"/>\r\n</RQ>\r\n"));
  EXPECT_EQ(std::count(journal.xml.begin(), journal.xml.end(), '\n'), 308 + 3);
  // Cyrillic goods names arrive as single Windows-1251 bytes, not as UTF-8 pairs.
  EXPECT_NE(journal.xml.find("Хліб"_cp), std::string::npos);
  EXPECT_EQ(journal.xml.find("Хліб"), std::string::npos);
  EXPECT_NO_THROW(XmlDocument::Parse(journal.xml));
}

TEST(JournalGenerator, ARequestForEveryNumberShowsEveryDocument) {
  const GeneratedJournal journal = GenerateJournal({.receipts = 1000, .zReports = 30, .seed = 3});
  ASSERT_EQ(journal.receipts, 1000);
  ASSERT_EQ(journal.zReports, 30);
  EXPECT_GT(journal.cancelledReceipts, 0);
  EXPECT_GT(journal.returnReceipts, 0);
  EXPECT_GT(journal.serviceReceipts, 30);  // the morning cash-in of every shift, and more

  Rendered r(journal.xml);
  ASSERT_TRUE(r.shown);
  EXPECT_FALSE(r.ErrorLogged()) << "a document failed to render";
  EXPECT_EQ(r.form.rq.doc_index, 1030);
  EXPECT_EQ(r.form.rq.check_no_min, 1);
  EXPECT_EQ(r.form.rq.check_no_max, journal.lastReceiptNumber);
  EXPECT_EQ(r.form.rq.z_no_min, 1);
  EXPECT_EQ(r.form.rq.z_no_max, journal.lastZNumber);

  const auto& lines = r.form.ListBox2.lines;
  EXPECT_EQ(CountEqual(lines, "          ДП \"Компанія VERNO\""_cp), 1030);
  EXPECT_EQ(CountPrefixed(lines, "           Z-звіт N "_cp), 30);
  EXPECT_EQ(CountEqual(lines, "       * ЧЕК АНУЛЬОВАНО *"_cp), journal.cancelledReceipts);
  EXPECT_EQ(CountEqual(lines, "         ВИДАТКОВИЙ ЧЕК"_cp), journal.returnReceipts);
  EXPECT_EQ(CountEqual(lines, "         СЛУЖБОВИЙ ЧЕК"_cp), journal.serviceReceipts);
  // Every sale that stands and every Z-report ends with the fiscal caption.
  const int sales = journal.receipts - journal.cancelledReceipts - journal.returnReceipts -
                    journal.serviceReceipts;
  EXPECT_EQ(CountEqual(lines, "         ФІСКАЛЬНИЙ ЧЕК"_cp), sales + journal.zReports);
  // The last receipt is the last document shown: its footer is the last numbered line.
  std::string lastFooter;
  for (auto it = lines.rbegin(); it != lines.rend() && lastFooter.empty(); ++it)
    if (it->size() > 11 && it->starts_with("  0")) lastFooter = it->substr(0, 11);
  std::string expected = std::to_string(journal.lastReceiptNumber);
  expected.insert(0, 9 - expected.size(), '0');
  EXPECT_EQ(lastFooter, "  " + expected);
}

TEST(JournalGenerator, ZReportTotalsAddUpTheReceiptsOfTheirShift) {
  const GeneratedJournal journal = GenerateJournal({.receipts = 400, .zReports = 12, .seed = 11});
  Rendered r(journal.xml);
  ASSERT_TRUE(r.shown);
  double sales = 0, returns = 0;
  int salesCount = 0, returnsCount = 0, zSeen = 0;
  for (int p = 0; p < r.form.rq.doc_index; ++p) {
    dat& d = r.form.rq.dats[p];
    if (d.is_receipt) {
      check& c = d.checks[0];
      if (c.end.vd == 1 || c.t == 2) continue;
      (c.t == 1 ? returns : sales) += c.end.sm;
      ++(c.t == 1 ? returnsCount : salesCount);
      continue;
    }
    zvit& z = d.zvits[0];
    double zSales = 0, zReturns = 0;
    for (int j = 0; j < z.tax_key; ++j) zSales += z.taxes[j].smi, zReturns += z.taxes[j].smo;
    double paidIn = 0;
    for (int j = 0; j < z.pay_key; ++j) paidIn += z.pays[j].smi;
    EXPECT_EQ(zSales, sales) << "Z-report " << z.no;
    EXPECT_EQ(zReturns, returns) << "Z-report " << z.no;
    EXPECT_EQ(paidIn, sales) << "Z-report " << z.no;
    EXPECT_EQ(z.counts[0].ni, static_cast<float>(salesCount)) << "Z-report " << z.no;
    EXPECT_EQ(z.counts[0].no, static_cast<float>(returnsCount)) << "Z-report " << z.no;
    sales = returns = 0;
    salesCount = returnsCount = 0;
    ++zSeen;
  }
  EXPECT_EQ(zSeen, 12);
}

TEST(JournalGenerator, DocumentsStandInTheOrderOfTheirIdentifiers) {
  const GeneratedJournal journal =
      GenerateJournal({.receipts = 50, .zReports = 2, .seed = 5, .firstDocumentId = 9000});
  SilentUi ui;
  Application app(ui);
  TForm53& form = app.Form53;
  form.control.Reset();
  form.LoadDocument(journal.xml);
  ASSERT_EQ(form.rq.doc_index, 52);
  for (int p = 0; p < 52; ++p) EXPECT_EQ(form.rq.dats[p].di, static_cast<float>(9000 + p));
}

TEST(JournalGenerator, ReceiptsOnlyAndEmptyJournals) {
  const GeneratedJournal receipts = GenerateJournal({.receipts = 5, .zReports = 0, .seed = 1});
  Rendered r(receipts.xml);
  EXPECT_EQ(CountEqual(r.form.ListBox2.lines, "          ДП \"Компанія VERNO\""_cp), 5);
  EXPECT_EQ(receipts.lastZNumber, 0);

  const GeneratedJournal empty = GenerateJournal({.receipts = 0, .zReports = 0, .seed = 1});
  Rendered e(empty.xml);
  EXPECT_EQ(e.form.ListBox2.lines,
            std::vector<std::string>{std::string("Запрашиваемые данные отсутствуют!"_cp)});
  EXPECT_EQ(empty.lastReceiptNumber, 0);
}

TEST(JournalGenerator, NumbersStartWhereAsked) {
  const GeneratedJournal journal = GenerateJournal(
      {.receipts = 10, .zReports = 1, .seed = 2, .firstReceiptNumber = 500, .firstZNumber = 77});
  EXPECT_EQ(journal.lastReceiptNumber, 509);
  EXPECT_EQ(journal.lastZNumber, 77);
  Rendered r(journal.xml);
  EXPECT_EQ(r.form.rq.check_no_min, 500);
  EXPECT_EQ(r.form.rq.z_no_min, 77);
}

// A register of a fleet announces itself by its fiscal number, and a collector asks for its
// receipts by date: the journal carries that number and lies on the days asked for.
TEST(JournalGenerator, CarriesTheGivenFiscalNumberAndStartsOnTheGivenDay) {
  JournalOptions options{.receipts = 6, .zReports = 2, .seed = 5};
  const GeneratedJournal plain = GenerateJournal(options);
  options.fiscalNumber = "4000000042";
  options.firstYear = 2025, options.firstMonth = 2, options.firstDay = 28;
  const std::string xml = GenerateJournal(options).xml;
  EXPECT_EQ(xml.find("FN=\"3"), std::string::npos) << "no made-up number is left";
  const std::string opening = "<DAT FN=\"4000000042\"";
  std::size_t documents = 0;
  for (std::size_t at = xml.find("<DAT "); at != std::string::npos;
       at = xml.find("<DAT ", at + 1)) {
    ++documents;
    EXPECT_EQ(xml.compare(at, opening.size(), opening), 0) << xml.substr(at, 40);
  }
  EXPECT_EQ(documents, 8u);
  // Three shifts from 28 February 2025: two closed by Z-reports, then the day still open.
  for (const char* day : {"<TS>20250228", "<TS>20250301", "<TS>20250302"})
    EXPECT_NE(xml.find(day), std::string::npos) << day;
  EXPECT_EQ(xml.find("<TS>2024"), std::string::npos);
  // Only the number and the dates differ from the journal of the same seed.
  EXPECT_EQ(xml.size(), plain.xml.size());
}

}  // namespace
}  // namespace morvek
