#pragma once
// Journals as a register hands them out, made up from a seed: the same options give the same bytes
// on every machine. The benchmark, the fuzz seeds and the simulator serve them.
//
// The text is the assembled <RQ V="1"> document in Windows-1251, as the retrieval window writes it
// to temp.xml: the declaration, <RQ V="1">, one line per document and </RQ>, each line ending in
// CR LF. A document line is
// <DAT ...><C ...>lines</C><TS>stamp</TS></DAT><MAC .../> for a receipt and the same with <Z ...>
// for a Z-report. Receipts are sales, returns, service receipts (cash in and out) and a few
// cancelled ones, with goods (P, CP), discounts and surcharges (D, S), payments (M), comments (L),
// service lines (H), item cancellations (VD), the end record (E) and its taxes (TX). A Z-report
// closes each shift with the totals of its receipts (TXS, M, IO, NC).
//
// Z-reports stand at even intervals between the receipts and the journal ends in an open shift
// (receipts after the last Z-report), the way the tape reads in the middle of a working day. A
// request by number for receipts 1 .. 2147483647 therefore shows every document: the end of such
// a request is the position of the last receipt, so a Z-report after it would not be shown.
#include <cstdint>
#include <string>

namespace morvek {

struct JournalOptions {
  int receipts = 100;
  int zReports = 3;
  std::uint64_t seed = 1;
  int firstReceiptNumber = 1;
  int firstZNumber = 1;
  int firstDocumentId = 1;     // DI of the first document; the others follow one by one
  std::string fiscalNumber{};  // DAT FN; empty: one made up from the seed
  // The day of the first shift; later shifts follow day by day.
  int firstYear = 2024, firstMonth = 1, firstDay = 9;
};

struct GeneratedJournal {
  std::string xml;  // Windows-1251 bytes
  int receipts = 0;
  int zReports = 0;
  int cancelledReceipts = 0;  // E VD="1": no "ФІСКАЛЬНИЙ ЧЕК" caption
  int returnReceipts = 0;     // C T="1"
  int serviceReceipts = 0;    // C T="2"
  int lastReceiptNumber = 0;  // 0 when there are no receipts
  int lastZNumber = 0;        // 0 when there are no Z-reports
};

GeneratedJournal GenerateJournal(const JournalOptions& options);

}  // namespace morvek
