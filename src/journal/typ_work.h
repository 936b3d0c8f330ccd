#pragma once
// The vocabulary of the electronic journal: every element and attribute name the loader
// understands, as small integer codes. Names not in a table read as code 0.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvek {

// Element codes.
// clang-format off
enum Element : int {
  kRQ = 0, kDAT = 1, kMAC = 2, kC = 3, kZ = 4, kTS = 5, kP = 6, kCP = 7, kD = 8, kS = 9, kM = 10,
  kI = 11, kO = 12, kL = 13, kH = 14, kVD = 15, kE = 16, kTXS = 17, kZ_M = 18, kIO = 19, kNC = 20,
  kTX = 21,
};
// clang-format on
inline constexpr int kElementCount = 22;

class typ_work {
 public:
  typ_work();
  int ElementCode(std::string_view name) const;
  // 0 for an unknown name, and for an element code outside 0..21.
  int AttributeCode(int element, std::string_view name) const;

 private:
  // A handful of short names each: looked through in order, which is quicker than a tree.
  using Table = std::vector<std::pair<std::string, int>>;
  static int Find(const Table& table, std::string_view name);

  Table elements_;
  // Nineteen attribute tables; P and CP, D and S, I and O share one. Those of the receipt lines,
  // the tax records and the Z-report totals are made from journal/record_fields.h.
  Table rq_, dat_, mac_, c_, z_, ts_, p_, ds_, m_, io_, l_, h_, vd_, e_, txs_, zm_, rotate_, nc_,
      tx_;
};

// The loader's cursor: the code of the element being read.
class control {
 public:
  int element = kRQ;
  typ_work dictionary;

  // An M right after a Z-report element or one of its totals is a payment total (Z_M).
  void EnterElement(std::string_view name);
  void Reset() { element = kRQ; }
};

}  // namespace morvek
