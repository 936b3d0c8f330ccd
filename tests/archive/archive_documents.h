#pragma once
// Documents for the archive tests, made as the document reader makes them: a receipt or a
// Z-report of a register, with the XML a register would send for it (Windows-1251).
#include <string>
#include <vector>

#include "archive/document_record.h"
#include "test_support.h"

namespace morvek::test {

inline const std::string kFiscalA = "3000000001";
inline const std::string kFiscalB = "3000000002";

// The XML of a receipt of one item, as a register sends it.
inline std::string ReceiptXml(const std::string& fiscal, long long di, long long number,
                              const std::string& utf8Item, long long total) {
  const std::string d = std::to_string(di), sum = std::to_string(total);
  std::string name;  // the item's name as an attribute value
  for (const char c : utf8Item) {
    if (c == '"')
      name += "&quot;";
    else if (c == '&')
      name += "&amp;";
    else if (c == '<')
      name += "&lt;";
    else
      name += c;
  }
  return W(
      "<DAT FN=\"" + fiscal + "\" ZN=\"ТЕ00000001\" DI=\"" + d +
      "\"><C T=\"0\" ON=\"Тест\"><P N=\"1\" NM=\"" + name + "\" Q=\"1000\" PRC=\"" + sum +
      "\" SM=\"" + sum + "\" TX=\"1\"/><M N=\"2\" NM=\"ГОТІВКА\" SM=\"" + sum +
      "\"/><E N=\"3\" NO=\"" + std::to_string(number) + "\" SM=\"" + sum +
      "\" TX=\"1\" TXPR=\"20\" TXSM=\"0\" CS=\"1\"/></C><TS>20160305140700</TS></DAT><MAC DI=\"" +
      d + "\" NT=\"1\"/>");
}

struct ReceiptFields {
  std::string fiscal = kFiscalA;
  long long di = 1, number = 1;
  std::string timestamp = "2016-03-05 14:07:00";
  long long total = 1250;
  std::string item = "Хліб";  // UTF-8
  DocumentKind kind = DocumentKind::kReceipt;
  std::string rrn = "";
  std::string comment = "";
};

inline DocumentRecord Receipt(const ReceiptFields& fields) {
  DocumentRecord document;
  document.fiscalNumber = fields.fiscal;
  document.serialNumber = "ТЕ00000001";
  document.taxNumber = "123456789012";
  document.di = fields.di;
  document.kind = fields.kind;
  document.number = fields.number;
  document.timestamp = fields.timestamp;
  document.total = fields.total;
  document.xml = ReceiptXml(fields.fiscal, fields.di, fields.number, fields.item, fields.total);
  document.operatorName = "Тест";
  document.items.push_back({1, false, "101", fields.item, "А", fields.total, 1000, fields.total});
  PaymentLine payment{2,
                      fields.rrn.empty() ? 0 : 2,
                      fields.rrn.empty() ? "ГОТІВКА" : "КАРТКА",
                      fields.rrn,
                      fields.total,
                      0};
  document.payments.push_back(payment);
  if (!fields.comment.empty()) document.texts.push_back({3, fields.comment});
  document.taxes.push_back({"А", "20", fields.total / 6, 0});
  return document;
}

inline DocumentRecord ZReport(const std::string& fiscal, long long di, long long number,
                              const std::string& timestamp, long long sales) {
  DocumentRecord document;
  document.fiscalNumber = fiscal;
  document.di = di;
  document.kind = DocumentKind::kZReport;
  document.number = number;
  document.timestamp = timestamp;
  document.total = sales;
  document.xml =
      W("<DAT FN=\"" + fiscal + "\" DI=\"" + std::to_string(di) + "\"><Z NO=\"" +
        std::to_string(number) + "\"><TXS TX=\"1\" SMI=\"" + std::to_string(sales) +
        "\"/></Z><TS>20160305230000</TS></DAT><MAC DI=\"" + std::to_string(di) + "\" NT=\"1\"/>");
  document.zTaxes.push_back({"А", "20", sales, 0, sales / 6, 0, 0, 0});
  document.zPayments.push_back({0, "ГОТІВКА", sales, 0});
  document.zCash.push_back({0, "ГОТІВКА", 0, 0, sales});
  document.salesCount = 3;
  return document;
}

}  // namespace morvek::test
