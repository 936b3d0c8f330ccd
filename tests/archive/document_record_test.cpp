// Reading documents for the archive: the bytes each document keeps, the figures taken from the
// attribute texts, and the journals refused whole.
#include <gtest/gtest.h>

#include <string>

#include "archive/archive_error.h"
#include "archive/document_record.h"
#include "codec/cp1251.h"
#include "sim/journal_generator.h"

namespace morvek {
namespace {

const std::string kProlog = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n";

std::string Journal(const std::string& body) {
  return kProlog + "<RQ V=\"1\">\r\n" + body + "</RQ>\r\n";
}

const std::string kReceipt =
    "<DAT FN=\"3000000001\" TN=\"TN1\" ZN=\"ZN1\" DI=\"7\" DT=\"0\" V=\"1\"><C T=\"0\" CN=\"2\" "
    "ON=\"op\"><P N=\"1\" C=\"1\" NM=\"a&gt;b\" SM=\"2147483648\" Q=\"1000\" PRC=\"2147483648\" "
    "TX=\"1\"/><M N=\"2\" T=\"2\" NM=\"card\" SM=\"2147483648\" RRN=\"123\"/><E N=\"3\" NO=\"5\" "
    "SM=\"2147483648\"><TX TX=\"1\" TXPR=\"20\" TXSM=\"357913941\"/></E></C><TS>20240109082157"
    "</TS></DAT><MAC DI=\"7\" NT=\"1\"/>";

TEST(DocumentRecord, KeepsTheBytesFromDatThroughMacAndFiguresAsWholeNumbers) {
  const std::string journal = Journal(kReceipt + "\r\n");
  const std::vector<DocumentRecord> records = ReadDocuments(journal);
  ASSERT_EQ(records.size(), 1u);
  const DocumentRecord& r = records[0];
  EXPECT_EQ(r.xml, kReceipt);
  EXPECT_EQ(r.di, 7);
  EXPECT_EQ(r.number, 5);
  EXPECT_EQ(r.kind, DocumentKind::kReceipt);
  EXPECT_EQ(r.total, 2147483648LL);  // past what a float of the model holds exactly
  EXPECT_EQ(r.timestamp, "2024-01-09 08:21:57");
  ASSERT_EQ(r.items.size(), 1u);
  EXPECT_EQ(r.items[0].name, "a>b");
  ASSERT_EQ(r.payments.size(), 1u);
  EXPECT_EQ(r.payments[0].rrn, "123");
  ASSERT_EQ(r.taxes.size(), 1u);
  EXPECT_EQ(r.taxes[0].tax, 357913941);
  EXPECT_EQ(ReadDocument(kReceipt).xml, kReceipt);
}

TEST(DocumentRecord, ReadsEveryDocumentOfAGeneratedJournalWithItsKindAndNumber) {
  JournalOptions options;
  options.receipts = 300;
  options.zReports = 3;
  const GeneratedJournal generated = GenerateJournal(options);
  const std::vector<DocumentRecord> records = ReadDocuments(generated.xml);
  ASSERT_EQ(records.size(), 303u);
  int returns = 0, service = 0, cancelled = 0, z = 0;
  for (const DocumentRecord& r : records) {
    returns += r.kind == DocumentKind::kReturn;
    service += r.kind == DocumentKind::kService;
    cancelled += r.kind == DocumentKind::kCancelled;
    z += r.kind == DocumentKind::kZReport;
    EXPECT_NE(generated.xml.find(r.xml), std::string::npos);
    EXPECT_EQ(r.xml.substr(0, 4), "<DAT");
  }
  EXPECT_EQ(returns, generated.returnReceipts);
  EXPECT_EQ(service, generated.serviceReceipts);
  EXPECT_EQ(cancelled, generated.cancelledReceipts);
  EXPECT_EQ(z, 3);
  EXPECT_EQ(records.back().number, generated.lastReceiptNumber);
  // Texts come out in UTF-8.
  EXPECT_EQ(records[0].operatorName, Cp1251ToUtf8(Utf8ToCp1251(records[0].operatorName)));
  EXPECT_NE(records[0].cash.at(0).name.find("\xD0\x93"), std::string::npos);  // "Г" of ГОТІВКА
}

TEST(DocumentRecord, RefusesWholeWhatItCannotTakeAsItIs) {
  const std::string z = "<DAT DI=\"9\"><Z NO=\"1\"/><TS>1</TS></DAT><MAC/>";
  const struct {
    const char* what;
    std::string journal;
  } kCases[] = {
      {"not well-formed", Journal("<DAT DI=\"1\"><Z NO=\"1\"/><TS>&bogus;</TS></DAT><MAC/>")},
      {"no windows-1251 declaration", "<RQ>" + kReceipt + "</RQ>"},
      {"UTF-8 declared", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><RQ>" + kReceipt + "</RQ>"},
      {"root other than RQ", kProlog + "<RX>" + kReceipt + "</RX>"},
      {"a DAT without its MAC", Journal("<DAT DI=\"1\"><Z NO=\"1\"/></DAT>" + z)},
      {"text between documents", Journal(kReceipt + "x" + z)},
      {"a comment between documents", Journal(kReceipt + "<!-- -->" + z)},
      {"no DI", Journal("<DAT><Z NO=\"1\"/></DAT><MAC/>")},
      {"a DI that is no whole number", Journal("<DAT DI=\"1.5\"><Z NO=\"1\"/></DAT><MAC/>")},
      {"money that is no whole number",
       Journal("<DAT DI=\"1\"><C><E NO=\"1\" SM=\"1.50\"/></C></DAT><MAC/>")},
      {"a receipt without its end record",
       Journal("<DAT DI=\"1\"><C><P N=\"1\"/></C></DAT><MAC/>")},
      {"a Z-report without its number", Journal("<DAT DI=\"1\"><Z/></DAT><MAC/>")},
      {"neither receipt nor Z-report", Journal("<DAT DI=\"1\"><TS>1</TS></DAT><MAC/>")},
      {"both", Journal("<DAT DI=\"1\"><Z NO=\"1\"/><C><E NO=\"1\"/></C></DAT><MAC/>")},
  };
  for (const auto& c : kCases) EXPECT_THROW(ReadDocuments(c.journal), ArchiveError) << c.what;
  // A quoted '>' and markup inside a document do not confuse where it ends.
  const std::string tricky =
      "<DAT DI=\"2\" FN='a>b'><!-- <MAC/> --><![CDATA[<MAC/>]]><?pi <MAC/>?><Z NO=\"3\"/></DAT>"
      "\r\n<MAC DI=\"2\"></MAC>";
  const std::string journal = Journal(tricky + "\r\n" + z);  // the slices point into it
  const std::vector<std::string_view> slices = SliceDocuments(journal);
  ASSERT_EQ(slices.size(), 2u);
  EXPECT_EQ(slices[0], tricky);
  EXPECT_EQ(slices[1], z);
}

}  // namespace
}  // namespace morvek
