#pragma once
// The attributes of the receipt lines, the tax records and the Z-report totals, each beside the
// member it fills. An attribute's code is its place in its element's list: the dictionary takes
// the names from here and the loader the members, so the two cannot drift apart.
#include <string>
#include <string_view>

#include "journal/document.h"

namespace morvek {

// A number is converted, a text kept as sent; a line's number also places the line in the
// receipt's line order.
enum class FieldKind { kNumber, kText, kLine };

template <class Record>
struct Field {
  constexpr Field(std::string_view attribute, float Record::*member,
                  FieldKind how = FieldKind::kNumber)
      : name(attribute), kind(how), number(member) {}
  constexpr Field(std::string_view attribute, std::string Record::*member)
      : name(attribute), kind(FieldKind::kText), text(member) {}

  std::string_view name;  // empty for the element's own text, which no attribute can name
  FieldKind kind;
  float Record::*number = nullptr;
  std::string Record::*text = nullptr;
};

inline constexpr FieldKind kLineNumber = FieldKind::kLine;

// clang-format off
inline constexpr Field<sale> kSaleFields[] = {  // P and CP
    {"N", &sale::n, kLineNumber}, {"C", &sale::c}, {"CD", &sale::cd}, {"NM", &sale::nm},
    {"SM", &sale::sm}, {"Q", &sale::q}, {"PRC", &sale::prc}, {"TX", &sale::tx}};

inline constexpr Field<sale_up_down> kUpDownFields[] = {  // D and S
    {"TR", &sale_up_down::tr}, {"TY", &sale_up_down::ty}, {"ST", &sale_up_down::st},
    {"NI", &sale_up_down::ni}, {"TX", &sale_up_down::tx}, {"PR", &sale_up_down::pr},
    {"SM", &sale_up_down::sm}, {"N", &sale_up_down::n, kLineNumber}};

inline constexpr Field<sale_pay> kPayFields[] = {  // M inside a receipt
    {"N", &sale_pay::n, kLineNumber}, {"T", &sale_pay::t}, {"NM", &sale_pay::nm},
    {"SM", &sale_pay::sm}, {"RM", &sale_pay::rm}, {"RRN", &sale_pay::rrn}};

inline constexpr Field<sale_in_out> kInOutFields[] = {  // I and O
    {"N", &sale_in_out::n, kLineNumber}, {"T", &sale_in_out::t}, {"NM", &sale_in_out::nm},
    {"SM", &sale_in_out::sm}};

inline constexpr Field<sale_comment> kCommentFields[] = {  // L
    {"N", &sale_comment::n, kLineNumber}, {"", &sale_comment::text}};

inline constexpr Field<sale_serv_info> kServiceInfoFields[] = {  // H
    {"N", &sale_serv_info::n, kLineNumber}, {"", &sale_serv_info::text},
    {"HP", &sale_serv_info::hp}, {"HT", &sale_serv_info::ht}};

inline constexpr Field<sale_cancel> kCancelFields[] = {  // VD
    {"N", &sale_cancel::n, kLineNumber}, {"NI", &sale_cancel::ni}};

inline constexpr Field<sale_end> kEndFields[] = {  // E
    {"N", &sale_end::n, kLineNumber}, {"NO", &sale_end::no}, {"SM", &sale_end::sm},
    {"SE", &sale_end::se}, {"TX", &sale_end::tx}, {"TXPR", &sale_end::txpr},
    {"TXSM", &sale_end::txsm}, {"DTPR", &sale_end::dtpr}, {"DTSM", &sale_end::dtsm},
    {"TXTY", &sale_end::txty}, {"TXAL", &sale_end::txal}, {"CS", &sale_end::cs},
    {"VD", &sale_end::vd}, {"TS", &sale_end::ts}, {"FN", &sale_end::fn}};

inline constexpr Field<tx> kTaxFields[] = {  // TX
    {"TX", &tx::tx}, {"TXPR", &tx::txpr}, {"TXSM", &tx::txsm}, {"DTPR", &tx::dtpr},
    {"DTSM", &tx::dtsm}, {"TXTY", &tx::txty}, {"TXAL", &tx::txal}};

inline constexpr Field<vid_tax> kTaxTotalFields[] = {  // TXS
    {"TX", &vid_tax::tx}, {"TS", &vid_tax::ts}, {"TXPR", &vid_tax::txpr}, {"TXI", &vid_tax::txi},
    {"TXO", &vid_tax::txo}, {"DTPR", &vid_tax::dtpr}, {"DTI", &vid_tax::dti},
    {"DTO", &vid_tax::dto}, {"TXTY", &vid_tax::txty}, {"TXAL", &vid_tax::txal},
    {"SMI", &vid_tax::smi}, {"SMO", &vid_tax::smo}};

inline constexpr Field<vid_pay> kPayTotalFields[] = {  // Z_M
    {"T", &vid_pay::t}, {"NM", &vid_pay::nm}, {"SMI", &vid_pay::smi}, {"SMO", &vid_pay::smo}};

inline constexpr Field<vid_rotate> kRotateFields[] = {  // IO
    {"T", &vid_rotate::t}, {"NM", &vid_rotate::nm}, {"SMI", &vid_rotate::smi},
    {"SMO", &vid_rotate::smo}, {"SMT", &vid_rotate::smt}};

inline constexpr Field<count_check> kCountFields[] = {  // NC
    {"NI", &count_check::ni}, {"NO", &count_check::no}};
// clang-format on

}  // namespace morvek
