#include "journal/document.h"

namespace morvek {

namespace {

void NoteNumber(int n, int& min, int& max) {
  if (min > n || min == 0) {
    min = n;
    if (max == 0) max = n;
  } else if (n > max) {
    max = n;
  }
}

}  // namespace

int check::LineCount() const {
  return sale_key + cp_sale_key + discount_key + surcharge_key + payment_key + cash_in_key +
         cash_out_key + comment_key + service_info_key + cancel_key + end_key;
}

void rq::Clear() {
  doc_index = 0;
  dats.clear();
  macs.clear();
}

void rq::NoteCheckNumber(int n) {
  NoteNumber(n, check_no_min, check_no_max);
}

void rq::NoteZNumber(int n) {
  NoteNumber(n, z_no_min, z_no_max);
}

}  // namespace morvek
