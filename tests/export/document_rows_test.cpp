// A document as the rows of an export: receipt lines in the order of their numbers with the taxes
// last, Z-report totals by kind, and the CSV files with their header rows and encodings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/cp1251.h"
#include "export/document_export.h"
#include "export/document_rows.h"
#include "test_support.h"

namespace morvek {
namespace {

DocumentRecord MixedReceipt() {
  DocumentRecord receipt;
  receipt.fiscalNumber = "3000000001";
  receipt.di = 17;
  receipt.number = 5;
  receipt.timestamp = "2024-01-09 08:21:57";
  receipt.total = 2650;
  receipt.desk = 2;
  receipt.operatorName = "Іваненко О.";
  // Kept in the record by kind; the rows come by line number.
  receipt.payments = {{.line = 6, .form = 4, .name = "КАРТКА", .rrn = "000123", .sum = 2650}};
  receipt.items = {{.line = 1,
                    .code = "482",
                    .name = "Батон \"Київський\", 0,5 кг",
                    .taxLetter = "А",
                    .sum = 2890,
                    .quantity = 1000,
                    .price = 2890},
                   {.line = 3,
                    .packed = true,
                    .code = "",
                    .name = "Банани",
                    .taxLetter = "",
                    .sum = 599,
                    .quantity = 250,
                    .price = 2396}};
  receipt.adjustments = {{.line = 4, .surcharge = false, .taxLetter = "", .sum = 240}};
  receipt.voids = {{.line = 5, .voidedLine = 3}};
  receipt.texts = {{.line = 2, .text = "Дякуємо; до зустрічі"}};
  receipt.taxes = {{.letter = "А", .rate = "20.00", .tax = 442}};
  return receipt;
}

DocumentRecord ZReport() {
  DocumentRecord z;
  z.fiscalNumber = "3000000001";
  z.kind = DocumentKind::kZReport;
  z.di = 30;
  z.number = 2;
  z.total = 100000;
  z.zTaxes = {{.letter = "А", .rate = "20.00", .sales = 100000, .returns = 500, .salesTax = 16667}};
  z.zPayments = {{.form = 0, .name = "ГОТІВКА", .sales = 60000}};
  z.zCash = {{.form = 0, .name = "ГОТІВКА", .in = 1000, .out = 200, .till = 60800}};
  z.salesCount = 14;
  z.returnsCount = 1;
  return z;
}

std::vector<std::string> Column(const std::vector<ExportRow>& rows, std::string_view column) {
  std::vector<std::string> texts;
  for (const ExportRow& row : rows) texts.push_back(row.At(column));
  return texts;
}

TEST(ReceiptLineRows, ComeInLineOrderWithTheTaxesLast) {
  const std::vector<ExportRow> rows = ReceiptLineRows(MixedReceipt());
  EXPECT_EQ(
      Column(rows, "line_kind"),
      (std::vector<std::string>{"item", "text", "item", "adjustment", "void", "payment", "tax"}));
  EXPECT_EQ(Column(rows, "line"), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", ""}));
}

TEST(ReceiptLineRows, CarryEachKindsOwnFieldsAsTexts) {
  const std::vector<ExportRow> rows = ReceiptLineRows(MixedReceipt());
  EXPECT_EQ(rows[0].Cells({"code", "name", "tax_letter", "quantity", "price", "sum", "detail"}),
            (std::vector<std::string>{"482", "Батон \"Київський\", 0,5 кг", "А", "1.000", "28.90",
                                      "28.90", ""}));
  EXPECT_EQ(rows[2].Cells({"quantity", "detail"}), (std::vector<std::string>{"0.250", "packed"}));
  EXPECT_EQ(rows[3].Cells({"sum", "detail", "tax_letter"}),
            (std::vector<std::string>{"2.40", "discount", ""}));
  EXPECT_EQ(rows[4].At("voided_line"), "3");
  EXPECT_EQ(rows[5].Cells({"form", "name", "sum", "rrn", "change"}),
            (std::vector<std::string>{"4", "КАРТКА", "26.50", "000123", ""}));
  EXPECT_EQ(rows[6].Cells({"tax_letter", "tax_rate", "tax", "duty"}),
            (std::vector<std::string>{"А", "20.00", "4.42", ""}));
}

TEST(ZTotalRows, GiveTaxesPaymentsCashAndTheCounts) {
  const std::vector<ExportRow> rows = ZTotalRows(ZReport());
  EXPECT_EQ(Column(rows, "total"), (std::vector<std::string>{"tax", "payment", "cash", "counts"}));
  EXPECT_EQ(rows[0].Cells({"sales", "returns", "sales_tax", "returns_tax"}),
            (std::vector<std::string>{"1000.00", "5.00", "166.67", "0.00"}));
  EXPECT_EQ(rows[2].Cells({"cash_in", "cash_out", "till"}),
            (std::vector<std::string>{"10.00", "2.00", "608.00"}));
  EXPECT_EQ(rows[3].Cells({"sales_count", "returns_count"}), (std::vector<std::string>{"14", "1"}));
  EXPECT_TRUE(ZTotalRows(MixedReceipt()).empty());
  EXPECT_TRUE(ReceiptLineRows(ZReport()).empty());
}

TEST(DocumentRow, NamesTheRegisterWhenKnownAndTheDeskOfReceiptsOnly) {
  const ExportRow receipt = DocumentRow(MixedReceipt(), "Каса 1");
  EXPECT_EQ(receipt.Cells({"register_name", "kind", "number", "di", "date_time", "total", "desk",
                           "operator"}),
            (std::vector<std::string>{"Каса 1", "receipt", "5", "17", "2024-01-09T08:21:57",
                                      "26.50", "2", "Іваненко О."}));
  const ExportRow z = DocumentRow(ZReport(), "");
  EXPECT_EQ(z.Cells({"register_name", "kind", "date_time", "desk", "operator"}),
            (std::vector<std::string>{"", "z", "", "", ""}));
}

TEST(CsvExport, WritesThreeFilesWithHeadersInTheEncodingAsked) {
  for (const CsvEncoding encoding : {CsvEncoding::kUtf8, CsvEncoding::kCp1251}) {
    const test::TempDir dir;
    const std::unique_ptr<DocumentExport> csv = CsvExport(dir.File("tape"), encoding);
    csv->Add(MixedReceipt(), "Каса 1");
    csv->Add(ZReport(), "Каса 1");
    EXPECT_FALSE(test::FileExists(dir.File("tape-documents.csv")));  // not before the end
    EXPECT_EQ(csv->Finish(),
              (std::vector<std::string>{dir.File("tape-documents.csv"), dir.File("tape-lines.csv"),
                                        dir.File("tape-zreports.csv")}));
    struct Written {
      std::string bytes;
    };
    const Written files[] = {{test::ReadFile(dir.File("tape-documents.csv"))},
                             {test::ReadFile(dir.File("tape-lines.csv"))},
                             {test::ReadFile(dir.File("tape-zreports.csv"))}};
    const std::string bom = "\xEF\xBB\xBF";
    const bool utf8 = encoding == CsvEncoding::kUtf8;
    const std::string documents =
        utf8 ? files[0].bytes.substr(bom.size()) : Cp1251ToUtf8(files[0].bytes);
    EXPECT_EQ(files[0].bytes.substr(0, bom.size()) == bom, utf8);
    EXPECT_EQ(documents,
              "fiscal_number,register_name,tax_number,serial_number,kind,number,di,date_time,"
              "total,desk,operator\r\n"
              "3000000001,Каса 1,,,receipt,5,17,2024-01-09T08:21:57,26.50,2,Іваненко О.\r\n"
              "3000000001,Каса 1,,,z,2,30,,1000.00,,\r\n");
    const std::string lines = utf8 ? files[1].bytes : Cp1251ToUtf8(files[1].bytes);
    EXPECT_NE(lines.find("\r\n3000000001,receipt,5,17,item,1,482,\"Батон \"\"Київський\"\", 0,5 "
                         "кг\",А,,1.000,28.90,28.90,"),
              std::string::npos)
        << lines;
    const std::string z = utf8 ? files[2].bytes : Cp1251ToUtf8(files[2].bytes);
    EXPECT_NE(z.find("\r\n3000000001,2,30,,counts,,,,,,,,,,,,,,14,1\r\n"), std::string::npos) << z;
  }
}

}  // namespace
}  // namespace morvek
