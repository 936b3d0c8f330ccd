#pragma once
// One receipt of the control tape as the loader fills it. Numbers are 32-bit floats in device
// units (kopecks, thousandths) as sent; every map creates a default record on lookup, so readers
// and the loader never fail on a missing key.
#include <string>
#include <utility>
#include "journal/keyed_records.h"

namespace morvek {

// Line kinds, as line_order records them.
// clang-format off
enum LineKind : int {
  kLineNone = 0,
  kLineP = 1,
  kLineCP = 2,
  kLineD = 3,
  kLineS = 4,
  kLineM = 5,
  kLineI = 6,
  kLineO = 7,
  kLineL = 8,
  kLineH = 9,
  kLineVD = 10,
  kLineE = 11,
};
// clang-format on

struct sale {  // P and CP
  float n = 0;
  std::string c, cd, nm;
  float sm = 0, q = 0, prc = 0;
  std::string tx;
};

struct sale_up_down {  // D and S
  float n = 0, tr = 0, ty = 0, st = 0, ni = 0;
  std::string tx;
  float pr = 0, sm = 0;
};

struct sale_pay {  // M inside a receipt
  float n = 0, t = 0, sm = 0, rm = 0;
  std::string nm, rrn;
};

struct sale_in_out {  // I and O
  float n = 0, t = 0;
  std::string nm;
  float sm = 0;
};

struct sale_comment {  // L
  float n = 0;
  std::string text;
};

struct sale_serv_info {  // H
  float n = 0;
  std::string hp, ht, text;
};

struct sale_cancel {  // VD
  float n = 0, ni = 0;
};

struct tx {  // TX, a tax record of the receipt's end record
  std::string tx = " ";
  float txpr = 0, txsm = 0, dtpr = 0, dtsm = 0, txty = 0, txal = 0;
};

struct sale_end {  // E, the receipt's totals
  bool has_taxes = false;
  float n = 0, no = 0, sm = 0, se = 0;
  std::string tx = "0", ts = "0", fn = "0";
  float txpr = 0, txsm = 0, dtpr = 0, dtsm = 0, txty = 0, txal = 0, cs = 0, vd = 0;
  KeyedRecords<morvek::tx> taxes;
  int tax_key = 0;
};

struct check {
  float t = 0;
  int cn = 0;
  std::string on;
  KeyedRecords<sale> sales, cp_sales;
  KeyedRecords<sale_up_down> discounts, surcharges;
  KeyedRecords<sale_pay> payments;
  KeyedRecords<sale_in_out> cash_ins, cash_outs;
  KeyedRecords<sale_comment> comments;
  KeyedRecords<sale_serv_info> service_infos;
  sale_cancel cancel;
  sale_end end;
  KeyedRecords<std::pair<int, int>> line_order;  // line number -> (kind, key)
  // Each counter is the key of the record being filled and, once read, the count of its kind.
  int sale_key = 0, cp_sale_key = 0, discount_key = 0, surcharge_key = 0, payment_key = 0,
      cash_in_key = 0, cash_out_key = 0, comment_key = 0, service_info_key = 0, cancel_key = 0,
      end_key = 0;
  int line_no = 1;  // the number the next line takes

  void PlaceLine(int line, int kind, int key) { line_order[line] = {kind, key}; }
  int LineCount() const;
};

}  // namespace morvek
