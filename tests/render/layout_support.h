#pragma once
// Helpers of the layout and walk tests: records added to a receipt the way the loader adds them
// (each line numbered and counted), a model with documents at the next position, expected lines
// with the padding that PlaceRight leaves, and a line-by-line comparison that prints UTF-8.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "journal/document.h"
#include "render/renderer.h"
#include "test_support.h"

namespace morvek::test {

// An example line followed by spaces up to `length` characters. The length is the one the
// PlaceRight rule gives: a text shorter than 38 characters grows by 35 spaces before the value is
// placed, so the line ends 35 characters after the end of its text (plus any prefix added later).
inline std::string Padded(const std::string& utf8, std::size_t length) {
  std::string line = W(utf8);
  EXPECT_LE(line.size(), length) << "example longer than its padded length: " << utf8;
  line.append(length - std::min(length, line.size()), ' ');
  return line;
}

// Several lines of W().
inline std::vector<std::string> Ws(const std::vector<std::string>& utf8) {
  std::vector<std::string> lines;
  for (const auto& line : utf8) lines.push_back(W(line));
  return lines;
}

// Compares Windows-1251 lines byte for byte; a difference is shown in UTF-8 with brackets, so that
// trailing spaces can be seen.
inline ::testing::AssertionResult SameLines(const std::vector<std::string>& actual,
                                            const std::vector<std::string>& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  std::ostringstream out;
  out << "got " << actual.size() << " lines, expected " << expected.size() << "\n";
  const std::size_t n = std::max(actual.size(), expected.size());
  for (std::size_t i = 0; i < n; ++i) {
    const bool has = i < actual.size(), wants = i < expected.size();
    const bool same = has && wants && actual[i] == expected[i];
    out << (same ? "   " : "-> ") << i << ": ";
    if (has) out << "[" << U(actual[i]) << "] (" << actual[i].size() << ")";
    if (!same) {
      out << "\n      expected ";
      if (wants)
        out << "[" << U(expected[i]) << "] (" << expected[i].size() << ")";
      else
        out << "nothing";
    }
    out << "\n";
  }
  return ::testing::AssertionFailure() << out.str();
}

inline ::testing::AssertionResult SameLine(std::string_view actual, const std::string& expected) {
  return SameLines({std::string(actual)}, {expected});
}

// Receipt records, numbered and counted as the loader numbers and counts them.
inline sale& AddSale(check& c) {
  const int key = c.sale_key++;
  c.PlaceLine(c.line_no++, kLineP, key);
  return c.sales[key];
}
inline sale& AddCpSale(check& c) {
  const int key = c.cp_sale_key++;
  c.PlaceLine(c.line_no++, kLineCP, key);
  return c.cp_sales[key];
}
inline sale_up_down& AddDiscount(check& c) {
  const int key = c.discount_key++;
  c.PlaceLine(c.line_no++, kLineD, key);
  return c.discounts[key];
}
inline sale_up_down& AddSurcharge(check& c) {
  const int key = c.surcharge_key++;
  c.PlaceLine(c.line_no++, kLineS, key);
  return c.surcharges[key];
}
inline sale_pay& AddPayment(check& c) {
  const int key = c.payment_key++;
  c.PlaceLine(c.line_no++, kLineM, key);
  return c.payments[key];
}
inline sale_in_out& AddCashIn(check& c) {
  const int key = c.cash_in_key++;
  c.PlaceLine(c.line_no++, kLineI, key);
  return c.cash_ins[key];
}
inline sale_in_out& AddCashOut(check& c) {
  const int key = c.cash_out_key++;
  c.PlaceLine(c.line_no++, kLineO, key);
  return c.cash_outs[key];
}
inline sale_comment& AddComment(check& c) {
  const int key = c.comment_key++;
  c.PlaceLine(c.line_no++, kLineL, key);
  return c.comments[key];
}
inline sale_serv_info& AddServiceInfo(check& c) {
  const int key = c.service_info_key++;
  c.PlaceLine(c.line_no++, kLineH, key);
  return c.service_infos[key];
}
// The end record's line; its fields live in c.end.
inline sale_end& AddEnd(check& c) {
  const int key = c.end_key++;
  c.PlaceLine(c.line_no++, kLineE, key);
  return c.end;
}
inline tx& AddTax(sale_end& end) {
  end.has_taxes = true;
  return end.taxes[end.tax_key++];
}

inline vid_tax& AddTax(zvit& z) {
  z.has_taxes = true;
  return z.taxes[z.tax_key++];
}
inline vid_pay& AddPay(zvit& z) {
  z.has_pays = true;
  return z.pays[z.pay_key++];
}
inline vid_rotate& AddRotate(zvit& z) {
  z.has_rotates = true;
  return z.rotates[z.rotate_key++];
}
inline count_check& AddCount(zvit& z) {
  z.has_counts = true;
  return z.counts[z.count_key++];
}

// A model, the window's tables and a renderer whose error log lies in a temporary folder.
class RenderFixture : public ::testing::Test {
 protected:
  // A receipt document at the next position, numbered `number`, with the usual header fields.
  dat& AddReceiptDocument(int number, float di, float type = 0) {
    dat& d = model.dats[model.doc_index++];
    d.is_receipt = true;
    d.fn = "3000012345";
    d.zn = W("ЖЛ00001234");
    d.di = di;
    d.ts.value = "201603051407";
    check& c = d.checks[0];
    c.t = type;
    c.on = W("Касир");
    c.end.no = static_cast<float>(number);
    c.end.cs = 1;
    return d;
  }
  dat& AddZReportDocument(int number, float di) {
    dat& d = model.dats[model.doc_index++];
    d.is_receipt = false;
    d.fn = "3000012345";
    d.zn = W("ЖЛ00001234");
    d.di = di;
    d.ts.value = "201603052359";
    d.zvits[0].no = static_cast<float>(number);
    return d;
  }
  std::string ErrorLogPath() const { return dir.File("error.log"); }
  Renderer MakeRenderer() { return Renderer(model, tables, ErrorLogPath()); }

  // The lines a rendering adds between the header (the first `headerLines` lines) and the footer
  // (the last `footerLines` lines).
  static std::vector<std::string> Middle(const ListBox& list, std::size_t headerLines,
                                         std::size_t footerLines) {
    if (list.lines.size() < headerLines + footerLines) {
      ADD_FAILURE() << "only " << list.lines.size() << " lines";
      return {};
    }
    return {list.lines.begin() + static_cast<std::ptrdiff_t>(headerLines),
            list.lines.end() - static_cast<std::ptrdiff_t>(footerLines)};
  }

  TempDir dir;
  rq model;
  DocumentTables tables;
  ListBox list;
};

}  // namespace morvek::test
