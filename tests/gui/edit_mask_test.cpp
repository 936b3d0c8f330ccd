// The date and time fields: the old masks carried over to Qt's, and the text the logic reads.
#include <QLineEdit>
#include <QTest>

#include "gui/edit_mask.h"
#include "gui/retrieval_view.h"
#include "gui_fixture.h"
#include "gui_tests.h"

namespace morvek::gui::test {

class EditMaskTest : public QObject {
  Q_OBJECT

 private:
  static QString Shown(const EditMask& mask, const std::string& text) {
    QLineEdit edit;
    edit.setInputMask(mask.inputMask);
    ShowMaskedText(edit, mask, text);
    return edit.displayText();
  }

 private slots:
  void OptionalAndRequiredDigitsSwapTheirLetters() {
    QCOMPARE(TranslateEditMask("!99/99/00;1;.", '.', ':').inputMask, QString("00.00.99;."));
    QCOMPARE(TranslateEditMask("!90:00;1;:", '.', ':').inputMask, QString("09:99;:"));
  }

  void SeparatorsBecomeTheProgramsAndQtLettersAreEscaped() {
    QCOMPARE(TranslateEditMask("99/99;1;_", '-', ':').inputMask, QString("00-00;_"));
    QCOMPARE(TranslateEditMask("0\\A0;0;*", '.', ':').inputMask, QString("9\\A9;*"));
    QVERIFY(!TranslateEditMask("0\\A0;0;*", '.', ':').keepLiterals);
  }

  void DateReadsEightCharactersWithBlanksAsSpaces() {
    const EditMask& date = RetrievalView::DateMask();
    QCOMPARE(MaskedText(date, "05.03.24"), std::string("05.03.24"));
    QCOMPARE(MaskedText(date, "........"), std::string("  .  .  "));
    QCOMPARE(MaskedText(date, "05.03..."), std::string("05.03.  "));
  }

  void OneDigitPartStandsRight() {
    const EditMask& date = RetrievalView::DateMask();
    QCOMPARE(MaskedText(date, "5..03.24"), std::string(" 5.03.24"));
    QCOMPARE(MaskedText(date, ".5.03.24"), std::string(" 5.03.24"));
    const EditMask& time = RetrievalView::TimeMask();
    QCOMPARE(MaskedText(time, "9::05"), std::string(" 9:05"));
    QCOMPARE(MaskedText(time, ":::::"), std::string("  :  "));
  }

  void TextsGoInPositionByPosition() {
    const EditMask& date = RetrievalView::DateMask();
    QCOMPARE(Shown(date, " 5.03.24"), QString(".5.03.24"));
    QCOMPARE(Shown(date, "  .03.24"), QString("...03.24"));
    const EditMask& time = RetrievalView::TimeMask();
    QCOMPARE(Shown(time, "  : 5"), QString("::::5"));
    QCOMPARE(Shown(time, "12:30"), QString("12:30"));
  }

  void TypingIntoTheFieldsWritesTheModel() {
    DesktopFixture f;
    RetrievalView& view = f.desktop->retrieval();
    f.app.Form53.Show();
    view.Edit4->setFocus();
    view.Edit4->setCursorPosition(0);
    view.Edit4->selectAll();
    QTest::keyClicks(view.Edit4, "5.0324");
    QCOMPARE(f.app.Form53.Edit4.text, std::string(" 5.03.24"));
    view.Edit7->selectAll();
    QTest::keyClicks(view.Edit7, "2359");
    QCOMPARE(f.app.Form53.Edit7.text, std::string("23:59"));
    f.app.Form53.Hide();
  }

  void ModelTextsShowInTheFields() {
    DesktopFixture f;
    f.app.Form53.Edit5.text = "29.02.24";
    f.app.Form53.Edit6.text = " 7:05";
    f.desktop->RefreshAll();
    QCOMPARE(f.desktop->retrieval().Edit5->displayText(), QString("29.02.24"));
    QCOMPARE(f.desktop->retrieval().Edit6->displayText(), QString(":7:05"));
  }
};

static RegisterTestClass<EditMaskTest> registered;

}  // namespace morvek::gui::test

#include "edit_mask_test.moc"
