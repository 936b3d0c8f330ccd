#include "sim/journal_generator.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "codec/cp1251.h"
#include "platform/date_time.h"

namespace morvek {

namespace {

// splitmix64, with its own range reduction: unlike the standard distributions it gives the same
// numbers with every library.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // A whole number from lo to hi inclusive.
  int Between(int lo, int hi) {
    const auto span = static_cast<std::uint64_t>(static_cast<long long>(hi) - lo + 1);
    return lo + static_cast<int>(Next() % span);
  }
  bool Percent(int p) { return Between(0, 99) < p; }
  template <class T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[static_cast<std::size_t>(Between(0, static_cast<int>(N) - 1))];
  }

 private:
  std::uint64_t state_;
};

// Tax groups as the register is programmed: 1 "A" VAT 20 %, 2 "Б" VAT 7 %, 3 "В" VAT 20 % with a
// 5 % excise duty on top.
struct TaxGroup {
  int vatRate;
  int exciseRate;
};
constexpr TaxGroup kGroups[4] = {{0, 0}, {20, 0}, {7, 0}, {20, 5}};
constexpr int kGroupCount = 3;

struct Goods {
  const char* name;  // UTF-8; the journal is converted as a whole at the end
  const char* code;
  int price;  // kopecks
  int group;
  bool weighed;  // sold by weight: quantities in grams
};

constexpr Goods kGoods[] = {
    {"Хліб житній нарізний", "4820000000011", 2450, 1, false},
    {"Батон \"Київський\" 0,5 кг", "4820000000028", 2890, 1, false},
    {"Молоко 2,5% 900 г", "4820000000035", 3650, 1, false},
    {"Кефір 1% 1 л", "4820000000042", 4120, 1, false},
    {"Сир твердий \"Звенигора\" 50%", "2100000000059", 38900, 1, true},
    {"Ковбаса варена \"Лікарська\" в/г", "2100000000066", 21500, 1, true},
    {"Яблука Голден", "2100000000073", 3400, 1, true},
    {"Банани", "2100000000080", 5990, 1, true},
    {"Картопля молода", "2100000000097", 2200, 1, true},
    {"Цукор білий кристалічний 1 кг", "4820000000103", 4790, 1, false},
    {"Олія соняшникова рафінована 0,85 л", "4820000000110", 6590, 1, false},
    {"Кава мелена & цикорій 250 г", "4820000000127", 18990, 1, false},
    {"Чай чорний листовий <Цейлон> 100 г", "4820000000134", 7450, 1, false},
    {"Сік яблучний 'Садочок' 0,95 л", "4820000000141", 5290, 1, false},
    {"Пральний порошок автомат \"Чистота\" для кольорових речей 4,5 кг", "4820000000158", 28900, 1,
     false},
    {"Зубна паста з екстрактом ромашки та шавлії, 75 мл, туба", "4820000000165", 6790, 1, false},
    {"Парацетамол 500 мг №10", "4820000000172", 1850, 2, false},
    {"Вітамін C 500 мг №20 шипучі таблетки", "4820000000189", 9900, 2, false},
    {"Сироп від кашлю 100 мл", "4820000000196", 14350, 2, false},
    {"Пиво світле 0,5 л", "4820000000202", 3990, 3, false},
    {"Вино сухе червоне 0,75 л", "4820000000219", 21900, 3, false},
    {"Сигарети з фільтром", "4820000000226", 9500, 3, false},
    {"Пакет поліетиленовий", "2000000000001", 300, 1, false},
};

constexpr const char* kOperators[] = {"Іваненко О.", "Петренко М.", "Ковальчук Н.", "Бондар Ю."};

constexpr const char* kComments[] = {
    "Дякуємо за покупку!",
    "Знижка за картою лояльності",
    "Обмін та повернення протягом 14 днів",
    "Бонусів нараховано: 12",
};

// Payment forms: T and the name the register prints.
struct PaymentForm {
  int t;
  const char* name;
};
constexpr PaymentForm kCash = {0, "ГОТІВКА"};
constexpr PaymentForm kCard = {2, "КАРТКА"};
constexpr PaymentForm kCredit = {3, "КРЕДИТ"};
constexpr PaymentForm kForms[] = {kCash, kCard, kCredit};

std::string Base64(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                       static_cast<unsigned char>(bytes[i + 1]) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
    for (int s = 18; s >= 0; s -= 6) out += kAlphabet[(v >> s) & 63];
  }
  if (i < bytes.size()) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

// VAT included in an amount, rounded to the kopeck.
long long IncludedTax(long long amount, int rate) {
  return (amount * rate + (100 + rate) / 2) / (100 + rate);
}

// The wall clock of the register: shifts from 08:00, the next shift on the next calendar day.
class Clock {
 public:
  Clock(int year, int month, int day) : year_(year), month_(month), day_(day) {}
  void Advance(int minutes) {
    minute_ += minutes;
    if (minute_ > 23 * 60 + 59) minute_ = 23 * 60 + 59;
  }
  void NextShift(int startMinute) {
    if (++day_ > DaysInMonth(year_, month_)) {
      day_ = 1;
      if (++month_ > 12) month_ = 1, ++year_;
    }
    minute_ = startMinute;
  }
  // YYYYMMDDhhmmss
  std::string Stamp(int second) const {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", year_, month_, day_, minute_ / 60,
                  minute_ % 60, second);
    return text;
  }
  std::string Date() const { return Stamp(0).substr(0, 8); }

 private:
  int year_, month_, day_, minute_ = 8 * 60;
};

struct GroupTotals {
  long long sales = 0, returns = 0;          // turnover, kopecks
  long long salesTax = 0, returnsTax = 0;    // VAT
  long long salesDuty = 0, returnsDuty = 0;  // excise
};

struct ShiftTotals {
  GroupTotals groups[kGroupCount + 1];
  long long paidIn[3] = {}, paidOut[3] = {};  // by payment form: sales, returns
  long long cashIn = 0, cashOut = 0, cashInTill = 0;
  int sales = 0, returns = 0;
};

// Appends the XML of the journal (UTF-8 until the very end).
class Writer {
 public:
  explicit Writer(std::string& out) : out_(out) {}

  Writer& Open(std::string_view element) {
    out_ += '<';
    out_ += element;
    return *this;
  }
  Writer& Attr(std::string_view name, std::string_view value) {
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    Escaped(value);
    out_ += '"';
    return *this;
  }
  Writer& Attr(std::string_view name, long long value) {
    return Attr(name, std::string_view(std::to_string(value)));
  }
  Writer& Attr(std::string_view name, int value) {
    return Attr(name, static_cast<long long>(value));
  }
  Writer& Attr(std::string_view name, const char* value) {
    return Attr(name, std::string_view(value));
  }
  void Empty() { out_ += "/>"; }
  void Start() { out_ += '>'; }
  void Close(std::string_view element) {
    out_ += "</";
    out_ += element;
    out_ += '>';
  }
  void TextElement(std::string_view element, std::string_view text) {
    Start();
    Escaped(text);
    Close(element);
  }
  void Raw(std::string_view text) { out_ += text; }

 private:
  void Escaped(std::string_view text) {
    for (const char c : text) {
      switch (c) {
        case '&': out_ += "&amp;"; break;
        case '<': out_ += "&lt;"; break;
        case '>': out_ += "&gt;"; break;
        case '"': out_ += "&quot;"; break;
        default: out_ += c;
      }
    }
  }

  std::string& out_;
};

class JournalBuilder {
 public:
  explicit JournalBuilder(const JournalOptions& options)
      : options_(options),
        random_(options.seed),
        writer_(xml_),
        clock_(options.firstYear, options.firstMonth, options.firstDay) {
    // Drawn also when given, so that the rest of the journal stays the same.
    fiscalNumber_ = std::to_string(3000000000LL + random_.Between(0, 99999999));
    if (!options.fiscalNumber.empty()) fiscalNumber_ = options.fiscalNumber;
    factoryNumber_ = "ПБ41" + std::to_string(random_.Between(10000000, 99999999));
    taxNumber_ = "ПН " + std::to_string(random_.Between(100000, 999999)) +
                 std::to_string(random_.Between(100000, 999999));
    desk_ = random_.Percent(50) ? 1 : random_.Between(2, 15);
    receiptNumber_ = options.firstReceiptNumber;
    zNumber_ = options.firstZNumber;
    documentId_ = options.firstDocumentId;
  }

  GeneratedJournal Build() {
    writer_.Raw("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n");
    const int receipts = options_.receipts > 0 ? options_.receipts : 0;
    const int zReports = options_.zReports > 0 ? options_.zReports : 0;
    int written = 0;
    for (int k = 1; k <= zReports; ++k) {
      // Z-report k closes the shift that ends with receipt k * R / (Z + 1).
      const long long end = static_cast<long long>(k) * receipts / (zReports + 1);
      for (; written < end; ++written) Receipt();
      ZReport();
    }
    for (; written < receipts; ++written) Receipt();
    writer_.Raw("</RQ>\r\n");

    result_.xml = Utf8ToCp1251(xml_);
    result_.lastReceiptNumber = result_.receipts > 0 ? receiptNumber_ - 1 : 0;
    result_.lastZNumber = result_.zReports > 0 ? zNumber_ - 1 : 0;
    return std::move(result_);
  }

 private:
  void OpenDocument(int dt) {
    writer_.Open("DAT")
        .Attr("FN", fiscalNumber_)
        .Attr("TN", taxNumber_)
        .Attr("ZN", factoryNumber_)
        .Attr("DI", documentId_)
        .Attr("DT", dt)
        .Attr("V", 1)
        .Start();
  }

  void CloseDocument() {
    writer_.Open("TS");
    writer_.TextElement("TS", clock_.Stamp(random_.Between(0, 59)));
    writer_.Close("DAT");
    writer_.Open("MAC").Attr("DI", documentId_).Attr("NT", 1).Empty();
    writer_.Raw("\r\n");
    ++documentId_;
  }

  void Receipt() {
    clock_.Advance(random_.Between(1, 25));
    const bool firstOfShift = shiftReceipts_++ == 0;
    const int kind = random_.Between(0, 99);
    if (firstOfShift || kind < 3)
      ServiceReceipt(firstOfShift);
    else
      SaleReceipt(kind < 8);
    ++result_.receipts;
    ++receiptNumber_;
  }

  // A cash-in (the morning float) or a cash-out: one I or O line and the end record.
  void ServiceReceipt(bool cashIn) {
    ++result_.serviceReceipts;
    OpenDocument(0);
    writer_.Open("C").Attr("T", 2).Attr("CN", desk_).Attr("ON", random_.Pick(kOperators)).Start();
    long long amount = 100LL * 100 * random_.Between(1, 20);
    if (!cashIn && amount > shift_.cashInTill)
      amount = shift_.cashInTill > 0 ? shift_.cashInTill - shift_.cashInTill % 100 : 0;
    writer_.Open(cashIn ? "I" : "O")
        .Attr("N", 1)
        .Attr("T", 0)
        .Attr("NM", kCash.name)
        .Attr("SM", amount)
        .Empty();
    (cashIn ? shift_.cashIn : shift_.cashOut) += amount;
    shift_.cashInTill += cashIn ? amount : -amount;
    writer_.Open("E").Attr("N", 2).Attr("NO", receiptNumber_).Attr("SM", amount);
    writer_.Attr("CS", desk_).Empty();
    writer_.Close("C");
    CloseDocument();
  }

  void SaleReceipt(bool isReturn) {
    const bool cancelled = !isReturn && random_.Percent(2);
    if (isReturn) ++result_.returnReceipts;
    if (cancelled) ++result_.cancelledReceipts;
    OpenDocument(0);
    writer_.Open("C").Attr("T", isReturn ? 1 : 0).Attr("CN", desk_);
    writer_.Attr("ON", random_.Pick(kOperators)).Start();

    long long groupSum[kGroupCount + 1] = {};
    int line = 1;
    const int items = random_.Percent(5) ? random_.Between(10, 25) : random_.Between(1, 6);
    for (int i = 0; i < items; ++i) {
      const Goods& goods = random_.Pick(kGoods);
      const int q = goods.weighed ? random_.Between(120, 2500) : 1000 * random_.Between(1, 3);
      const long long sm = (static_cast<long long>(goods.price) * q + 500) / 1000;
      const bool packed = random_.Percent(4);
      writer_.Open(packed ? "CP" : "P")
          .Attr("N", line++)
          .Attr("C", goods.code)
          .Attr("NM", goods.name)
          .Attr("SM", sm)
          .Attr("Q", q)
          .Attr("PRC", goods.price)
          .Attr("TX", goods.group)
          .Empty();
      groupSum[goods.group] += sm;

      if (random_.Percent(1) && !isReturn) {  // the cashier takes the item back off the receipt
        const int itemLine = line - 1;
        writer_.Open("VD").Attr("N", line++).Attr("NI", itemLine).Empty();
        groupSum[goods.group] -= sm;
      } else if (random_.Percent(8)) {
        const int rate = random_.Pick({3, 5, 10, 15});
        const long long cut = (sm * rate + 50) / 100;
        writer_.Open("D").Attr("N", line++).Attr("TR", 0).Attr("TY", 1).Attr("PR", rate);
        writer_.Attr("SM", cut).Attr("TX", goods.group).Empty();
        groupSum[goods.group] -= cut;
      } else if (random_.Percent(2)) {
        const long long extra = (sm * 5 + 50) / 100;
        writer_.Open("S").Attr("N", line++).Attr("TR", 0).Attr("TY", 1).Attr("PR", 5);
        writer_.Attr("SM", extra).Attr("TX", goods.group).Empty();
        groupSum[goods.group] += extra;
      }
    }
    if (random_.Percent(3) && groupSum[1] > 1000) {  // a discount on the subtotal, in group 1
      const long long cut = random_.Between(1, 10) * 100;
      writer_.Open("D").Attr("N", line++).Attr("TR", 1).Attr("TY", 0).Attr("SM", cut).Empty();
      groupSum[1] -= cut;
    }
    long long total = 0;
    for (int g = 1; g <= kGroupCount; ++g) total += groupSum[g];

    if (random_.Percent(10)) {
      writer_.Open("L").Attr("N", line++);
      writer_.TextElement("L", random_.Pick(kComments));
    }
    if (random_.Percent(4)) {
      writer_.Open("H").Attr("N", line++);
      if (random_.Percent(50)) {
        writer_.Attr("HP", 0).Attr("HT", "BarBitLine");
        writer_.TextElement("H", std::to_string(random_.Between(100000, 999999)));
      } else {
        writer_.Attr("HP", 1).Attr("HT", "Картка");
        const std::string card =
            Utf8ToCp1251("клієнта № " + std::to_string(random_.Between(1000, 9999)));
        writer_.TextElement("H", Base64(card));
      }
    }

    // Payments: cash with change, card or credit with a transaction number.
    const PaymentForm& form = isReturn ? kCash : random_.Pick(kForms);
    long long paid = total, change = 0;
    if (form.t == kCash.t && !isReturn && random_.Percent(70)) {
      const long long note = random_.Pick({5000, 10000, 20000, 50000, 100000});
      paid = (total / note + 1) * note;
      change = paid - total;
    }
    writer_.Open("M").Attr("N", line++).Attr("T", form.t).Attr("NM", form.name).Attr("SM", paid);
    if (change) writer_.Attr("RM", change);
    if (form.t != kCash.t) writer_.Attr("RRN", std::to_string(random_.Between(100000, 999999)));
    writer_.Empty();

    // The end record and its taxes; a receipt of one group may carry its tax in E itself.
    writer_.Open("E").Attr("N", line++).Attr("NO", receiptNumber_).Attr("SM", total);
    writer_.Attr("CS", desk_);
    if (cancelled) writer_.Attr("VD", 1);
    int groupsUsed = 0, onlyGroup = 0;
    for (int g = 1; g <= kGroupCount; ++g)
      if (groupSum[g] != 0) ++groupsUsed, onlyGroup = g;
    long long tax[kGroupCount + 1] = {}, duty[kGroupCount + 1] = {};
    for (int g = 1; g <= kGroupCount; ++g) {
      const TaxGroup& group = kGroups[g];
      duty[g] = IncludedTax(groupSum[g], group.exciseRate);
      tax[g] = IncludedTax(groupSum[g] - duty[g], group.vatRate);
    }
    if (groupsUsed == 1 && kGroups[onlyGroup].exciseRate == 0 && random_.Percent(30)) {
      writer_.Attr("TX", onlyGroup).Attr("TXPR", kGroups[onlyGroup].vatRate);
      writer_.Attr("TXSM", tax[onlyGroup]).Attr("TXAL", 0).Empty();
    } else {
      writer_.Start();
      for (int g = 1; g <= kGroupCount; ++g) {
        if (groupSum[g] == 0) continue;
        writer_.Open("TX")
            .Attr("TX", g)
            .Attr("TXPR", kGroups[g].vatRate)
            .Attr("TXSM", tax[g])
            .Attr("DTPR", kGroups[g].exciseRate)
            .Attr("DTSM", duty[g])
            .Attr("TXTY", 0)
            .Attr("TXAL", 0)
            .Empty();
      }
      writer_.Close("E");
    }
    writer_.Close("C");
    CloseDocument();

    if (cancelled) return;
    for (int g = 1; g <= kGroupCount; ++g) {
      GroupTotals& totals = shift_.groups[g];
      (isReturn ? totals.returns : totals.sales) += groupSum[g];
      (isReturn ? totals.returnsTax : totals.salesTax) += tax[g];
      (isReturn ? totals.returnsDuty : totals.salesDuty) += duty[g];
    }
    const int slot = form.t == kCash.t ? 0 : form.t == kCard.t ? 1 : 2;
    (isReturn ? shift_.paidOut : shift_.paidIn)[slot] += total;
    if (form.t == kCash.t) shift_.cashInTill += isReturn ? -total : total;
    ++(isReturn ? shift_.returns : shift_.sales);
  }

  void ZReport() {
    clock_.Advance(random_.Between(5, 30));
    OpenDocument(1);
    writer_.Open("Z").Attr("NO", zNumber_).Start();
    for (int g = 1; g <= kGroupCount; ++g) {
      const GroupTotals& t = shift_.groups[g];
      writer_.Open("TXS")
          .Attr("TX", g)
          .Attr("TS", "20230101")
          .Attr("TXPR", kGroups[g].vatRate)
          .Attr("TXI", t.salesTax)
          .Attr("TXO", t.returnsTax)
          .Attr("DTPR", kGroups[g].exciseRate)
          .Attr("DTI", t.salesDuty)
          .Attr("DTO", t.returnsDuty)
          .Attr("TXTY", 0)
          .Attr("TXAL", 0)
          .Attr("SMI", t.sales)
          .Attr("SMO", t.returns)
          .Empty();
    }
    for (int f = 0; f < 3; ++f) {
      writer_.Open("M").Attr("T", kForms[f].t).Attr("NM", kForms[f].name);
      writer_.Attr("SMI", shift_.paidIn[f]).Attr("SMO", shift_.paidOut[f]).Empty();
    }
    writer_.Open("IO").Attr("T", 0).Attr("NM", kCash.name).Attr("SMI", shift_.cashIn);
    writer_.Attr("SMO", shift_.cashOut).Attr("SMT", shift_.cashInTill).Empty();
    writer_.Open("NC").Attr("NI", shift_.sales).Attr("NO", shift_.returns).Empty();
    writer_.Close("Z");
    CloseDocument();
    ++result_.zReports;
    ++zNumber_;

    shift_ = ShiftTotals();
    shiftReceipts_ = 0;
    clock_.NextShift(7 * 60 + random_.Between(30, 90));
  }

  const JournalOptions& options_;
  Random random_;
  std::string xml_;
  Writer writer_;
  Clock clock_;
  GeneratedJournal result_;
  ShiftTotals shift_;
  std::string fiscalNumber_, factoryNumber_, taxNumber_;
  int desk_ = 1;
  int shiftReceipts_ = 0;
  int receiptNumber_ = 1, zNumber_ = 1, documentId_ = 1;
};

}  // namespace

GeneratedJournal GenerateJournal(const JournalOptions& options) {
  return JournalBuilder(options).Build();
}

}  // namespace morvek
