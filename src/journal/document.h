#pragma once
// The records above the receipt: the Z-report with its totals, the document envelope and the
// root that holds every document loaded since it was last cleared.
#include <string>
#include "journal/keyed_records.h"

#include "journal/receipt.h"

namespace morvek {

struct vid_tax {  // TXS
  std::string tx, ts;
  float txpr = 0, txi = 0, txo = 0, dtpr = 0, dti = 0, dto = 0, txty = 0, txal = 0, smi = 0,
        smo = 0;
};

struct vid_pay {  // M inside a Z-report
  float t = 0;
  std::string nm;
  float smi = 0, smo = 0;
};

struct vid_rotate {  // IO
  float t = 0;
  std::string nm;
  float smi = 0, smo = 0, smt = 0;
};

struct count_check {  // NC
  float ni = 0, no = 0;
};

struct zvit {
  float no = 0;
  KeyedRecords<vid_tax> taxes;
  KeyedRecords<vid_pay> pays;
  KeyedRecords<vid_rotate> rotates;
  KeyedRecords<count_check> counts;
  int tax_key = 0, pay_key = 0, rotate_key = 0, count_key = 0;
  bool has_taxes = false, has_pays = false, has_rotates = false, has_counts = false;
};

struct ts {
  std::string value;  // digits: year(4) month(2) day(2) hour(2) minute(2)
};

struct mac {
  float di = 0, nt = 0;
};

struct dat {
  bool is_receipt = true;
  std::string fn, tn, zn;
  float di = 0, dt = 0, v = 0;
  morvek::ts ts;
  KeyedRecords<check> checks;  // the receipt, under key 0
  KeyedRecords<zvit> zvits;    // the Z-report, under key 0
  int check_key = 0, zvit_key = 0;
};

struct rq {
  float v = 0;
  KeyedRecords<dat> dats;  // by position 0 .. doc_index - 1
  KeyedRecords<mac> macs;  // by doc_index after it advanced for them
  int doc_index = 0;       // advances when a MAC starts: the number of documents held
  // Receipt and Z-report number ranges; 0 means none noted yet.
  int check_no_min = 0, check_no_max = 0, z_no_min = 0, z_no_max = 0;

  void Clear();
  void NoteCheckNumber(int n);
  void NoteZNumber(int n);
};

}  // namespace morvek
