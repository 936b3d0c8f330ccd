#include "journal/typ_work.h"

namespace morvek {

typ_work::typ_work()
    : elements_{{"RQ", 0},   {"DAT", 1}, {"MAC", 2}, {"C", 3},   {"Z", 4},  {"TS", 5},
                {"P", 6},    {"CP", 7},  {"D", 8},   {"S", 9},   {"M", 10}, {"I", 11},
                {"O", 12},   {"L", 13},  {"H", 14},  {"VD", 15}, {"E", 16}, {"TXS", 17},
                {"Z_M", 18}, {"IO", 19}, {"NC", 20}, {"TX", 21}},
      rq_{{"V", 0}},
      dat_{{"FN", 0}, {"TN", 1}, {"ZN", 2}, {"DI", 3}, {"DT", 4}, {"V", 5}},
      mac_{{"DI", 0}, {"NT", 1}},
      c_{{"T", 0}, {"CN", 1}, {"ON", 2}},
      z_{{"NO", 0}},
      ts_{{"TS", 0}},
      p_{{"N", 0}, {"C", 1}, {"CD", 2}, {"NM", 3}, {"SM", 4}, {"Q", 5}, {"PRC", 6}, {"TX", 7}},
      ds_{{"TR", 0}, {"TY", 1}, {"ST", 2}, {"NI", 3}, {"TX", 4}, {"PR", 5}, {"SM", 6}, {"N", 7}},
      m_{{"N", 0}, {"T", 1}, {"NM", 2}, {"SM", 3}, {"RM", 4}, {"RRN", 5}},
      io_{{"N", 0}, {"T", 1}, {"NM", 2}, {"SM", 3}},
      l_{{"N", 0}},
      h_{{"N", 0}, {"HP", 2}, {"HT", 3}},
      vd_{{"N", 0}, {"NI", 1}},
      e_{{"N", 0},     {"NO", 1},   {"SM", 2},   {"SE", 3},   {"TX", 4},
         {"TXPR", 5},  {"TXSM", 6}, {"DTPR", 7}, {"DTSM", 8}, {"TXTY", 9},
         {"TXAL", 10}, {"CS", 11},  {"VD", 12},  {"TS", 13},  {"FN", 14}},
      txs_{{"TX", 0},  {"TS", 1},  {"TXPR", 2}, {"TXI", 3},  {"TXO", 4},  {"DTPR", 5},
           {"DTI", 6}, {"DTO", 7}, {"TXTY", 8}, {"TXAL", 9}, {"SMI", 10}, {"SMO", 11}},
      zm_{{"T", 0}, {"NM", 1}, {"SMI", 2}, {"SMO", 3}},
      rotate_{{"T", 0}, {"NM", 1}, {"SMI", 2}, {"SMO", 3}, {"SMT", 4}},
      nc_{{"NI", 0}, {"NO", 1}},
      tx_{{"TX", 0}, {"TXPR", 1}, {"TXSM", 2}, {"DTPR", 3}, {"DTSM", 4}, {"TXTY", 5}, {"TXAL", 6}} {
}

int typ_work::Find(const Table& table, std::string_view name) {
  const auto it = table.find(name);
  return it == table.end() ? 0 : it->second;
}

int typ_work::ElementCode(std::string_view name) const {
  return Find(elements_, name);
}

int typ_work::AttributeCode(int element, std::string_view name) const {
  switch (element) {
    case kRQ: return Find(rq_, name);
    case kDAT: return Find(dat_, name);
    case kMAC: return Find(mac_, name);
    case kC: return Find(c_, name);
    case kZ: return Find(z_, name);
    case kTS: return Find(ts_, name);
    case kP:
    case kCP: return Find(p_, name);
    case kD:
    case kS: return Find(ds_, name);
    case kM: return Find(m_, name);
    case kI:
    case kO: return Find(io_, name);
    case kL: return Find(l_, name);
    case kH: return Find(h_, name);
    case kVD: return Find(vd_, name);
    case kE: return Find(e_, name);
    case kTXS: return Find(txs_, name);
    case kZ_M: return Find(zm_, name);
    case kIO: return Find(rotate_, name);
    case kNC: return Find(nc_, name);
    case kTX: return Find(tx_, name);
    default: return 0;
  }
}

void control::EnterElement(std::string_view name) {
  const bool inZReport =
      element == kZ || element == kTXS || element == kZ_M || element == kIO || element == kNC;
  element = dictionary.ElementCode(name == "M" && inZReport ? std::string_view("Z_M") : name);
}

}  // namespace morvek
