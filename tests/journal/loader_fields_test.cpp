// Where each attribute and element text of the journal lands in the model, and how its text is
// converted.
#include <gtest/gtest.h>

#include <string>

#include "codec/errors.h"
#include "journal/loader.h"
#include "journal_fixture.h"
#include "test_support.h"

namespace morvek {
namespace {

using test::Journal;
using test::W;

std::string Receipt(const std::string& lines, const std::string& receiptAttributes = "T=\"0\"") {
  return "<RQ V=\"1\"><DAT><C " + receiptAttributes + ">" + lines +
         "</C><TS>201512041200</TS></DAT><MAC/></RQ>";
}

std::string ZReport(const std::string& totals) {
  return "<RQ V=\"1\"><DAT><Z NO=\"1\">" + totals + "</Z><TS>201512041200</TS></DAT><MAC/></RQ>";
}

TEST(LoaderFields, DocumentAttributesFillTheEnvelope) {
  Journal j;
  j.Load(R"(<RQ V="2.5"><DAT FN="3000123456" TN="ПН 1234" ZN="АТ4001" DI="77" DT="1" V="3"/>)"
         R"(<MAC DI="77" NT="9"/></RQ>)");
  const dat& d = j.Doc();
  EXPECT_EQ(j.model.v, 2.5f);
  EXPECT_EQ(d.fn, "3000123456");
  EXPECT_EQ(d.tn, W("ПН 1234"));
  EXPECT_EQ(d.zn, W("АТ4001"));
  EXPECT_EQ(d.di, 77.0f);
  EXPECT_EQ(d.dt, 1.0f);
  EXPECT_EQ(d.v, 3.0f);
  EXPECT_EQ(j.model.macs[1].nt, 9.0f);
}

TEST(LoaderFields, TimeStampComesFromTheElementTextOrItsAttribute) {
  Journal j;
  j.Load(R"(<RQ><DAT/><TS>201512041230</TS><MAC/><DAT/><TS TS="201601020304"/><MAC/></RQ>)");
  EXPECT_EQ(j.Doc(0).ts.value, "201512041230");
  EXPECT_EQ(j.Doc(1).ts.value, "201601020304");
}

TEST(LoaderFields, ReceiptHeaderFillsTypeNumberAndOperator) {
  Journal j;
  j.Load(Receipt("", R"(T="1" CN="12" ON="Касир Іван")"));
  const check& c = j.Receipt();
  EXPECT_EQ(c.t, 1.0f);
  EXPECT_EQ(c.cn, 12);
  EXPECT_EQ(c.on, W("Касир Іван"));
  EXPECT_TRUE(j.Doc().is_receipt);
}

TEST(LoaderFields, ReceiptNumberThatIsNoIntegerIsZeroAndTheLoadGoesOn) {
  Journal j;
  j.Load(Receipt(R"(<P N="1" NM="after"/>)", R"(T="0" CN="x" ON="op")"));
  EXPECT_EQ(j.Receipt().cn, 0);
  EXPECT_EQ(j.Receipt().on, "op");
  EXPECT_EQ(j.Receipt().sales.at(0).nm, "after");
  for (const char* text : {"", "1.5", "12a", "99999999999"}) {
    Journal k;
    k.Load(Receipt("", std::string("CN=\"") + text + "\""));
    EXPECT_EQ(k.Receipt().cn, 0) << text;
  }
}

TEST(LoaderFields, OperatorTextThatCannotBeStoredBecomesSevenSpaces) {
  rq model;
  control cursor;
  Loader loader(model, cursor);
  cursor.element = kC;
  loader.StoreValue(2, XmlValue("Op\xD0"));  // malformed UTF-8
  EXPECT_EQ(model.dats[0].checks[0].on, "       ");
  loader.StoreValue(2, XmlValue("Оля"));
  EXPECT_EQ(model.dats[0].checks[0].on, W("Оля"));
}

TEST(LoaderFields, MalformedTextInANumberRaisesButInTheReceiptNumberGivesZero) {
  rq model;
  control cursor;
  Loader loader(model, cursor);
  cursor.element = kC;
  loader.StoreValue(1, XmlValue("\xFF"));
  EXPECT_EQ(model.dats[0].checks[0].cn, 0);
  EXPECT_THROW(loader.StoreValue(0, XmlValue("1\xD0")), ConvertError);
}

TEST(LoaderFields, OperatorCharacterWithoutWindows1251FormIsAQuestionMark) {
  Journal j;
  j.Load(Receipt("", R"(ON="Op中")"));
  EXPECT_EQ(j.Receipt().on, "Op?");
}

TEST(LoaderFields, SaleAttributesFillTheirFields) {
  Journal j;
  j.Load(
      Receipt(R"(<CP N="1" C="7" CD="4820000" NM="Хліб" SM="1850" Q="2000" PRC="925" TX="А"/>)"));
  const sale& s = j.Receipt().cp_sales.at(0);
  EXPECT_EQ(s.n, 1.0f);
  EXPECT_EQ(s.c, "7");
  EXPECT_EQ(s.cd, "4820000");
  EXPECT_EQ(s.nm, W("Хліб"));
  EXPECT_EQ(s.sm, 1850.0f);
  EXPECT_EQ(s.q, 2000.0f);
  EXPECT_EQ(s.prc, 925.0f);
  EXPECT_EQ(s.tx, W("А"));
  EXPECT_TRUE(j.Receipt().sales.empty());
}

TEST(LoaderFields, DiscountAndSurchargeAttributesFillTheirFields) {
  Journal j;
  j.Load(Receipt(R"(<D TR="1" TY="2" ST="3" NI="4" TX="Б" PR="5.5" SM="60" N="1"/>)"
                 R"(<S TR="7" SM="8" N="2"/>)"));
  const sale_up_down& d = j.Receipt().discounts.at(0);
  EXPECT_EQ(d.tr, 1.0f);
  EXPECT_EQ(d.ty, 2.0f);
  EXPECT_EQ(d.st, 3.0f);
  EXPECT_EQ(d.ni, 4.0f);
  EXPECT_EQ(d.tx, W("Б"));
  EXPECT_EQ(d.pr, 5.5f);
  EXPECT_EQ(d.sm, 60.0f);
  EXPECT_EQ(d.n, 1.0f);
  EXPECT_EQ(j.Receipt().surcharges.at(0).tr, 7.0f);
  EXPECT_EQ(j.Receipt().surcharges.at(0).sm, 8.0f);
}

TEST(LoaderFields, PaymentAttributesFillTheirFields) {
  Journal j;
  j.Load(Receipt(R"(<M N="1" T="2" NM="Картка" SM="5000" RM="150" RRN="123456789012"/>)"));
  const sale_pay& p = j.Receipt().payments.at(0);
  EXPECT_EQ(p.n, 1.0f);
  EXPECT_EQ(p.t, 2.0f);
  EXPECT_EQ(p.nm, W("Картка"));
  EXPECT_EQ(p.sm, 5000.0f);
  EXPECT_EQ(p.rm, 150.0f);
  EXPECT_EQ(p.rrn, "123456789012");
}

TEST(LoaderFields, CashInAndOutAttributesFillTheirFields) {
  Journal j;
  j.Load(Receipt(R"(<I N="1" T="0" NM="Внесок" SM="10000"/><O N="2" T="1" NM="Винос" SM="500"/>)"));
  const sale_in_out& in = j.Receipt().cash_ins.at(0);
  const sale_in_out& out = j.Receipt().cash_outs.at(0);
  EXPECT_EQ(in.nm, W("Внесок"));
  EXPECT_EQ(in.sm, 10000.0f);
  EXPECT_EQ(out.t, 1.0f);
  EXPECT_EQ(out.nm, W("Винос"));
  EXPECT_EQ(out.sm, 500.0f);
  EXPECT_EQ(out.n, 2.0f);
}

TEST(LoaderFields, CommentAndServiceLinesTakeTheirText) {
  Journal j;
  j.Load(Receipt(R"(<L N="1">Дякуємо!</L><H N="2" HP="1" HT="2">Сервіс</H>)"));
  const check& c = j.Receipt();
  EXPECT_EQ(c.comments.at(0).text, W("Дякуємо!"));
  EXPECT_EQ(c.comments.at(0).n, 1.0f);
  EXPECT_EQ(c.service_infos.at(0).text, W("Сервіс"));
  EXPECT_EQ(c.service_infos.at(0).hp, "1");
  EXPECT_EQ(c.service_infos.at(0).ht, "2");
  EXPECT_EQ(c.service_infos.at(0).n, 2.0f);
}

TEST(LoaderFields, CommentTextInCdataIsTaken) {
  Journal j;
  j.Load(Receipt(R"(<L N="1"><![CDATA[<a & b>]]></L>)"));
  EXPECT_EQ(j.Receipt().comments.at(0).text, "<a & b>");
}

TEST(LoaderFields, EndRecordAttributesFillTheirFields) {
  Journal j;
  j.Load(Receipt(R"(<E N="1" NO="31" SM="2" SE="3" TX="Б" TXPR="5" TXSM="6" DTPR="7" DTSM="8" )"
                 R"(TXTY="9" TXAL="10" CS="11" VD="12" TS="20151204120000" FN="3000"/>)"));
  const sale_end& e = j.Receipt().end;
  EXPECT_EQ(e.n, 1.0f);
  EXPECT_EQ(e.no, 31.0f);
  EXPECT_EQ(e.sm, 2.0f);
  EXPECT_EQ(e.se, 3.0f);
  EXPECT_EQ(e.tx, W("Б"));
  EXPECT_EQ(e.txpr, 5.0f);
  EXPECT_EQ(e.txsm, 6.0f);
  EXPECT_EQ(e.dtpr, 7.0f);
  EXPECT_EQ(e.dtsm, 8.0f);
  EXPECT_EQ(e.txty, 9.0f);
  EXPECT_EQ(e.txal, 10.0f);
  EXPECT_EQ(e.cs, 11.0f);
  EXPECT_EQ(e.vd, 12.0f);
  EXPECT_EQ(e.ts, "20151204120000");
  EXPECT_EQ(e.fn, "3000");
  EXPECT_FALSE(e.has_taxes);
}

TEST(LoaderFields, EndRecordTextsKeepTheirDefaultsUnlessSent) {
  Journal j;
  j.Load(Receipt(R"(<E N="1" NO="2"/>)"));
  EXPECT_EQ(j.Receipt().end.tx, "0");
  EXPECT_EQ(j.Receipt().end.ts, "0");
  EXPECT_EQ(j.Receipt().end.fn, "0");
}

TEST(LoaderFields, TaxRecordAttributesFillTheirFields) {
  Journal j;
  j.Load(Receipt(R"(<E N="1"/><TX TX="В" TXPR="1" TXSM="2" DTPR="3" DTSM="4" TXTY="5" TXAL="6"/>)"
                 R"(<TX TXPR="9"/>)"));
  const tx& t = j.Receipt().end.taxes.at(0);
  EXPECT_EQ(t.tx, W("В"));
  EXPECT_EQ(t.txpr, 1.0f);
  EXPECT_EQ(t.txsm, 2.0f);
  EXPECT_EQ(t.dtpr, 3.0f);
  EXPECT_EQ(t.dtsm, 4.0f);
  EXPECT_EQ(t.txty, 5.0f);
  EXPECT_EQ(t.txal, 6.0f);
  EXPECT_EQ(j.Receipt().end.taxes.at(1).tx, " ");  // its default when not sent
}

TEST(LoaderFields, TaxTotalAttributesFillTheirFields) {
  Journal j;
  j.Load(ZReport(R"(<TXS TX="А" TS="20151204" TXPR="1" TXI="2" TXO="3" DTPR="4" DTI="5" )"
                 R"(DTO="6" TXTY="7" TXAL="8" SMI="9" SMO="10"/>)"));
  const vid_tax& t = j.ZReport().taxes.at(0);
  EXPECT_EQ(t.tx, W("А"));
  EXPECT_EQ(t.ts, "20151204");
  EXPECT_EQ(t.txpr, 1.0f);
  EXPECT_EQ(t.txi, 2.0f);
  EXPECT_EQ(t.txo, 3.0f);
  EXPECT_EQ(t.dtpr, 4.0f);
  EXPECT_EQ(t.dti, 5.0f);
  EXPECT_EQ(t.dto, 6.0f);
  EXPECT_EQ(t.txty, 7.0f);
  EXPECT_EQ(t.txal, 8.0f);
  EXPECT_EQ(t.smi, 9.0f);
  EXPECT_EQ(t.smo, 10.0f);
}

TEST(LoaderFields, PaymentRotationAndCountTotalsFillTheirFields) {
  Journal j;
  j.Load(ZReport(R"(<M T="1" NM="Готівка" SMI="100" SMO="20"/>)"
                 R"(<IO T="2" NM="Службове" SMI="3" SMO="4" SMT="5"/><NC NI="6" NO="7"/>)"));
  const zvit& z = j.ZReport();
  EXPECT_EQ(z.pays.at(0).t, 1.0f);
  EXPECT_EQ(z.pays.at(0).nm, W("Готівка"));
  EXPECT_EQ(z.pays.at(0).smi, 100.0f);
  EXPECT_EQ(z.pays.at(0).smo, 20.0f);
  const vid_rotate& r = z.rotates.at(0);
  EXPECT_EQ(r.t, 2.0f);
  EXPECT_EQ(r.nm, W("Службове"));
  EXPECT_EQ(r.smi, 3.0f);
  EXPECT_EQ(r.smo, 4.0f);
  EXPECT_EQ(r.smt, 5.0f);
  EXPECT_EQ(z.counts.at(0).ni, 6.0f);
  EXPECT_EQ(z.counts.at(0).no, 7.0f);
  EXPECT_TRUE(z.has_pays && z.has_rotates && z.has_counts);
  EXPECT_FALSE(z.has_taxes);
}

TEST(LoaderFields, AmountBeyondTheFloatsExactRangeTakesTheNearestFloat) {
  Journal j;
  j.Load(Receipt(R"(<P N="1" SM="16777217"/><P N="2" SM="16777216"/>)"));
  EXPECT_EQ(j.Receipt().sales.at(0).sm, 16777216.0f);
  EXPECT_EQ(j.Receipt().sales.at(1).sm, 16777216.0f);
}

TEST(LoaderFields, FractionalReceiptNumberEntersTheRangeTruncated) {
  Journal j;
  j.Load(Receipt(R"(<E N="1" NO="31.9"/>)"));
  EXPECT_EQ(j.Receipt().end.no, 31.9f);
  EXPECT_EQ(j.model.check_no_min, 31);
  EXPECT_EQ(j.model.check_no_max, 31);
}

TEST(LoaderFields, NumbersWithBlanksSignsAndExponentsAreRead) {
  Journal j;
  j.Load(Receipt(R"(<P N=" 1 " SM="-150" Q="1e3" PRC="+.5"/>)"));
  const sale& s = j.Receipt().sales.at(0);
  EXPECT_EQ(s.n, 1.0f);
  EXPECT_EQ(s.sm, -150.0f);
  EXPECT_EQ(s.q, 1000.0f);
  EXPECT_EQ(s.prc, 0.5f);
}

TEST(LoaderFields, Windows1251DocumentGivesTheSameTextsAsUtf8) {
  const std::string body = R"(<RQ V="1"><DAT ZN="АТ4001"><C T="0" ON="Іван">)"
                           R"(<P N="1" NM="Молоко «Ферма» 2,5%"/><L N="2">Дякуємо</L>)"
                           R"(</C><TS>1</TS></DAT><MAC/></RQ>)";
  Journal utf8, cp1251;
  utf8.Load(body);
  cp1251.Load("<?xml version=\"1.0\" encoding=\"windows-1251\"?>" + W(body));
  for (Journal* j : {&utf8, &cp1251}) {
    EXPECT_EQ(j->Doc().zn, W("АТ4001"));
    EXPECT_EQ(j->Receipt().on, W("Іван"));
    EXPECT_EQ(j->Receipt().sales.at(0).nm, W("Молоко «Ферма» 2,5%"));
    EXPECT_EQ(j->Receipt().comments.at(0).text, W("Дякуємо"));
  }
}

TEST(LoaderFields, RootAttributesAreReadAsTheElementTheCursorStandsOn) {
  // The loader does not enter the root itself; a caller that left the cursor on DAT gets the
  // root's attributes in the document envelope.
  rq model;
  control cursor;
  cursor.element = kDAT;
  const XmlDocument doc = XmlDocument::Parse(R"(<RQ FN="F9"/>)");
  Loader(model, cursor).LoadJournal(doc.DocumentElement());
  EXPECT_EQ(model.dats[0].fn, "F9");
  EXPECT_EQ(model.v, 0.0f);
}

}  // namespace
}  // namespace morvek
