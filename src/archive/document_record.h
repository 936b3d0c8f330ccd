#pragma once
// A document of the control tape as the archive keeps it, read from the register's XML of that one
// document: the bytes from its DAT element through the end of its MAC element, kept exactly as the
// register sent them so that its text image can always be rendered again. Money, counts, numbers
// and DI come from the attribute texts as 64-bit integers (kopecks, thousandths), not from the
// model, whose floats round above 167,772.16. Texts are UTF-8.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvek {

enum class DocumentKind { kReceipt, kReturn, kService, kCancelled, kZReport };

// "receipt", "return", "service", "cancelled", "z": the names the terminal program and the
// archive use.
std::string_view KindName(DocumentKind kind);
std::optional<DocumentKind> KindNamed(std::string_view name);

// P and CP lines.
struct ItemLine {
  int line = 0;                                // N
  bool packed = false;                         // CP
  std::string code, name, taxLetter;           // C, NM, TX
  long long sum = 0, quantity = 0, price = 0;  // SM, Q (thousandths), PRC
};
// D (discount) and S (surcharge) lines.
struct AdjustmentLine {
  int line = 0;
  bool surcharge = false;
  std::string taxLetter;  // empty: on the subtotal
  long long sum = 0;
};
// M lines of a receipt.
struct PaymentLine {
  int line = 0;
  int form = 0;  // T
  std::string name, rrn;
  long long sum = 0, change = 0;  // SM, RM
};
// I (cash in) and O (cash out) lines.
struct CashLine {
  int line = 0;
  bool out = false;
  int form = 0;
  std::string name;
  long long sum = 0;
};
// L comments and H service lines: the texts a search looks in.
struct TextLine {
  int line = 0;
  std::string text;
};
// VD: the item of line voidedLine taken back off the receipt.
struct VoidLine {
  int line = 0, voidedLine = 0;
};
// TX of a receipt's end record, or the end record's own TX and TXSM when it has no TX elements.
struct TaxLine {
  std::string letter, rate;     // TX, TXPR as sent
  long long tax = 0, duty = 0;  // TXSM, DTSM
};
// A Z-report's totals: TXS per tax letter, M per payment form, IO cash in and out.
struct ZTaxTotal {
  std::string letter, rate;
  long long sales = 0, returns = 0;          // SMI, SMO: turnover
  long long salesTax = 0, returnsTax = 0;    // TXI, TXO
  long long salesDuty = 0, returnsDuty = 0;  // DTI, DTO
};
struct ZPaymentTotal {
  int form = 0;
  std::string name;
  long long sales = 0, returns = 0;  // SMI, SMO
};
struct ZCashTotal {
  int form = 0;
  std::string name;
  long long in = 0, out = 0, till = 0;  // SMI, SMO, SMT
};

struct DocumentRecord {
  std::string fiscalNumber, taxNumber, serialNumber;  // DAT FN, TN, ZN
  long long di = 0;
  DocumentKind kind = DocumentKind::kReceipt;
  long long number = 0;   // E NO of a receipt, Z NO of a Z-report
  std::string timestamp;  // "YYYY-MM-DD HH:MM:SS" from TS; empty when it has none
  long long total = 0;    // E SM; for a Z-report the turnover of sales, the sum of TXS SMI
  std::string xml;        // the document's bytes as sent, Windows-1251

  // A receipt.
  std::string operatorName;  // C ON
  int desk = 0;              // C CN
  std::vector<ItemLine> items;
  std::vector<AdjustmentLine> adjustments;
  std::vector<PaymentLine> payments;
  std::vector<CashLine> cash;
  std::vector<TextLine> texts;
  std::vector<VoidLine> voids;
  std::vector<TaxLine> taxes;

  // A Z-report.
  std::vector<ZTaxTotal> zTaxes;
  std::vector<ZPaymentTotal> zPayments;
  std::vector<ZCashTotal> zCash;
  long long salesCount = 0, returnsCount = 0;  // NC NI, NO
};

// The record of one document's XML (a DAT element and its MAC). Raises ArchiveError naming what is
// wrong when it is not well-formed, has no DAT with a whole-number DI, no fiscal number, is
// neither a receipt with its end record nor a Z-report with its number, or carries money or a
// count that is no whole number.
DocumentRecord ReadDocument(std::string_view xml);

// The documents of a journal text (an RQ root whose children are documents, a DAT each followed by
// its MAC, as "temp.xml" and the register's journal files hold them): each document's bytes from
// its "<DAT" through the end of its MAC element. Raises ArchiveError for a text that is not
// well-formed, or that holds anything but white space between documents, so that what is taken is
// exactly what the retrieval window would load.
std::vector<std::string_view> SliceDocuments(std::string_view journal);

// The records of every document of a journal text, each with its slice, in one pass of the
// parser; refused whole (ArchiveError) as SliceDocuments and ReadDocument refuse.
std::vector<DocumentRecord> ReadDocuments(std::string_view journal);
// The same a record at a time, none of them held: take has each one as the parser reaches it, and
// those before a refusal have been taken when it is raised.
void ReadDocuments(std::string_view journal, const std::function<void(DocumentRecord&&)>& take);

}  // namespace morvek
