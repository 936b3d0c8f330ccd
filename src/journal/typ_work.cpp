#include "journal/typ_work.h"

#include <cstddef>

#include "journal/record_fields.h"

namespace morvek {

namespace {

// Each attribute's name to its place in the list; the element's own text has no name to look up.
template <class Record, std::size_t N>
std::vector<std::pair<std::string, int>> NamesOf(const Field<Record> (&fields)[N]) {
  std::vector<std::pair<std::string, int>> names;
  for (std::size_t code = 0; code < N; ++code)
    if (!fields[code].name.empty()) names.emplace_back(fields[code].name, static_cast<int>(code));
  return names;
}

}  // namespace

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
      p_(NamesOf(kSaleFields)),
      ds_(NamesOf(kUpDownFields)),
      m_(NamesOf(kPayFields)),
      io_(NamesOf(kInOutFields)),
      l_(NamesOf(kCommentFields)),
      h_(NamesOf(kServiceInfoFields)),
      vd_(NamesOf(kCancelFields)),
      e_(NamesOf(kEndFields)),
      txs_(NamesOf(kTaxTotalFields)),
      zm_(NamesOf(kPayTotalFields)),
      rotate_(NamesOf(kRotateFields)),
      nc_(NamesOf(kCountFields)),
      tx_(NamesOf(kTaxFields)) {}

int typ_work::Find(const Table& table, std::string_view name) {
  for (const auto& [known, code] : table)
    if (known == name) return code;
  return 0;
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
