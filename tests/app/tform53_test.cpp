// The retrieval window's logic around the rendered list: the document type box, the processing of
// an assembled journal, and saving the list.
#include "app/tform53.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/application.h"
#include "codec/errors.h"
#include "export/pdf_pages.h"
#include "pdf_reading.h"
#include "test_support.h"

namespace morvek::test {
namespace {

using Lines = std::vector<std::string>;

const std::string kFailure1 = W("Непредвиденный сбой в структуре получаемой информации!");
const std::string kFailure2 = W("Попробуйте выбрать другой диапазон номеров или дат!");

// An assembled journal as the request loop writes it, in Windows-1251.
std::string Journal(const std::string& documentsUtf8) {
  return W("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n" + documentsUtf8 +
           "\r\n</RQ>\r\n");
}

std::string Dat(int di, const std::string& body) {
  const std::string d = std::to_string(di);
  return "<DAT FN=\"3000012345\" TN=\"ПН 1\" ZN=\"ЖЛ00001234\" DI=\"" + d + "\" V=\"1\">" + body +
         "<TS>201603051407</TS></DAT><MAC DI=\"" + d + "\"/>";
}

std::string ReceiptXml(int number, int di, const std::string& lines = "") {
  return Dat(di, "<C T=\"0\" ON=\"Касир\">" + lines + "<E N=\"" +
                     std::to_string(lines.empty() ? 1 : 2) + "\" NO=\"" + std::to_string(number) +
                     "\" SM=\"100\" CS=\"1\"/></C>");
}

std::string ZReportXml(int number, int di) {
  return Dat(di, "<Z NO=\"" + std::to_string(number) + "\"></Z>");
}

std::string Joined(const Lines& lines) {
  std::string bytes;
  for (const auto& line : lines) bytes += line + "\r\n";
  return bytes;
}

class RetrievalWindow : public ::testing::Test {
 protected:
  RetrievalWindow() { form.errorLogPath = dir.File("error.log"); }

  // The receipt numbers in ListBox2, taken from the receipt footers ("  000000005 ...").
  Lines ShownReceipts() const {
    Lines shown;
    for (const auto& line : form.ListBox2.lines)
      if (line.size() > 11 && line.compare(0, 4, "  00") == 0)
        shown.push_back(std::to_string(std::stoi(std::string(line.substr(2, 9)))));
    return shown;
  }

  void Ask(int type, const std::string& first, const std::string& last) {
    form.ComboBox1.Select(type);
    form.Edit1.text = first;
    form.Edit2.text = last;
  }

  TempDir dir;
  RecordingUi ui;
  Application app{ui};
  TForm53& form = app.Form53;
};

TEST_F(RetrievalWindow, StartsWithBothTypesChosenAndNumbersOne) {
  EXPECT_EQ(form.ComboBox1.items,
            (Lines{W("Z-отчет"), W("Чек"), W("Чек+Z-отчет"), W("Внес./Изъят.")}));
  EXPECT_EQ(form.ComboBox1.itemIndex, 2);
  EXPECT_EQ(form.ComboBox1.text, W("Чек+Z-отчет"));
  EXPECT_EQ(form.Edit1.text, "1");
  EXPECT_EQ(form.Edit2.text, "1");
  EXPECT_EQ(form.rq.doc_index, 0);
  EXPECT_FALSE(form.tables.shownZNumbers.IsFilled());
  EXPECT_FALSE(form.tables.zNumberByPosition.IsFilled());
}

TEST_F(RetrievalWindow, ChoosingZReportsFillsTheZReportNumberRange) {
  ASSERT_TRUE(form.ShowAssembled(
      Journal(ReceiptXml(5, 1) + ReceiptXml(9, 2) + ZReportXml(4, 3) + ZReportXml(2, 4))));
  form.ComboBox1.Select(kTypeZReport);
  form.ComboBox1Change();
  EXPECT_EQ(form.Edit1.text, "2");
  EXPECT_EQ(form.Edit2.text, "4");
}

TEST_F(RetrievalWindow, ChoosingAnyOtherTypeFillsTheReceiptNumberRange) {
  ASSERT_TRUE(form.ShowAssembled(Journal(ReceiptXml(9, 1) + ReceiptXml(5, 2) + ZReportXml(4, 3))));
  for (int type : {int{kTypeReceipt}, int{kTypeBoth}, int{kTypeCash}, -1}) {
    form.Edit1.text = form.Edit2.text = "";
    form.ComboBox1.Select(type);
    form.ComboBox1Change();
    EXPECT_EQ(form.Edit1.text, "5") << "type " << type;
    EXPECT_EQ(form.Edit2.text, "9") << "type " << type;
  }
}

TEST_F(RetrievalWindow, ChoosingATypeBeforeAnyLoadPutsZeros) {
  form.ComboBox1.Select(kTypeZReport);
  form.ComboBox1Change();
  EXPECT_EQ(form.Edit1.text, "0");
  EXPECT_EQ(form.Edit2.text, "0");
}

TEST_F(RetrievalWindow, AssembledJournalIsLoadedOrderedAndRenderedForTheRange) {
  Ask(kTypeReceipt, "5", "9");
  form.ListBox2.Add("earlier rendering");
  ASSERT_TRUE(form.ShowAssembled(Journal(ReceiptXml(9, 7) + ReceiptXml(5, 3) + ReceiptXml(7, 5))));
  EXPECT_EQ(form.rq.doc_index, 3);
  EXPECT_EQ(form.rq.dats.at(0).di, 3);
  EXPECT_EQ(ShownReceipts(), (Lines{"5", "7", "9"}));
  ASSERT_FALSE(form.ListBox2.lines.empty());
  EXPECT_EQ(form.ListBox2.lines.front(), W("          ДП \"Компанія VERNO\""));
}

TEST_F(RetrievalWindow, LaterLoadAddsToTheModelAndIsOrderedWithIt) {
  Ask(kTypeReceipt, "1", "100");
  ASSERT_TRUE(form.ShowAssembled(Journal(ReceiptXml(5, 5) + ReceiptXml(9, 9))));
  ASSERT_TRUE(form.ShowAssembled(Journal(ReceiptXml(7, 7))));
  EXPECT_EQ(form.rq.doc_index, 3);
  EXPECT_EQ(ShownReceipts(), (Lines{"5", "7", "9"}));
}

// The list on paper: a strip per document under its title, together exactly the list's lines;
// the printer gets them, and "Сохранить PDF" writes them on A4 pages that pdftotext reads back.
TEST_F(RetrievalWindow, TheListGoesOnPaperAStripPerDocument) {
  Ask(kTypeBoth, "1", "100");
  ASSERT_TRUE(form.ShowAssembled(Journal(ReceiptXml(5, 1) + ZReportXml(4, 2) + ReceiptXml(7, 3))));
  const std::vector<TextStrip> strips = form.ListStrips();
  Lines titles, lines;
  for (const TextStrip& strip : strips) {
    titles.push_back(strip.title);
    lines.insert(lines.end(), strip.lines.begin(), strip.lines.end());
  }
  EXPECT_EQ(titles, (Lines{W("Чек № 5"), W("Z-отчет № 4"), W("Чек № 7")}));
  EXPECT_EQ(lines, form.ListBox2.lines);

  form.Button7Click();
  ASSERT_EQ(ui.printed.size(), 1u);
  EXPECT_EQ(ui.printed[0].size(), strips.size());

  ui.saveAnswer = dir.File("list.pdf");
  form.Button8Click();
  ASSERT_EQ(ui.dialogs.size(), 1u);
  EXPECT_EQ(ui.dialogs[0].defaultExt, "pdf");
  const Lines page = PdfPageLines(dir.File("list.pdf"), 1, CharacterPitch(PdfPaper::kA4));
  for (const std::string& footer : {"  000000005", "  000000007"})
    EXPECT_NE(std::find_if(
                  page.begin(), page.end(),
                  [&](const std::string& line) { return line.find(footer) != std::string::npos; }),
              page.end())
        << footer;

  // A list filled otherwise is one strip without a title.
  form.ListBox2.Clear();
  form.AddFailureLines();
  ASSERT_EQ(form.ListStrips().size(), 1u);
  EXPECT_EQ(form.ListStrips()[0].title, "");
  EXPECT_EQ(form.ListStrips()[0].lines, form.ListBox2.lines);
}

TEST_F(RetrievalWindow, JournalWithoutDocumentsShowsTheNoDataLine) {
  ASSERT_TRUE(form.ShowAssembled(Journal("")));
  EXPECT_EQ(form.ListBox2.lines, Lines{W("Запрашиваемые данные отсутствуют!")});
}

TEST_F(RetrievalWindow, MalformedJournalAddsExactlyTheTwoFailureLines) {
  Ask(kTypeReceipt, "5", "5");
  ASSERT_TRUE(form.ShowAssembled(Journal(ReceiptXml(5, 1))));
  const Lines before = form.ListBox2.lines;

  EXPECT_FALSE(form.ShowAssembled(Journal(ReceiptXml(7, 2) + "<DAT")));

  Lines expected = before;
  expected.push_back(kFailure1);
  expected.push_back(kFailure2);
  EXPECT_EQ(form.ListBox2.lines, expected);
  EXPECT_EQ(form.rq.doc_index, 1);
  EXPECT_EQ(form.rq.dats.at(0).checks.at(0).end.no, 5);
}

TEST_F(RetrievalWindow, LoadThatFailsHalfwayKeepsTheDocumentsStoredBeforeIt) {
  const std::string broken = "<DAT FN=\"1\" DI=\"x\"></DAT><MAC/>";
  EXPECT_FALSE(form.ShowAssembled(Journal(ReceiptXml(5, 3) + broken + ReceiptXml(7, 4))));
  EXPECT_EQ(form.ListBox2.lines, (Lines{kFailure1, kFailure2}));
  EXPECT_EQ(form.rq.doc_index, 1);
  EXPECT_EQ(form.rq.dats.at(0).di, 3);
}

TEST_F(RetrievalWindow, NumberFieldThatIsNoIntegerEndsWithTheFailureLines) {
  Ask(kTypeReceipt, "five", "9");
  EXPECT_FALSE(form.ShowAssembled(Journal(ReceiptXml(5, 1))));
  EXPECT_EQ(form.ListBox2.lines, (Lines{kFailure1, kFailure2}));
  EXPECT_EQ(form.rq.doc_index, 1);
}

TEST_F(RetrievalWindow, FailingDocumentGoesToTheWindowsErrorLogAndTheRenderingSucceeds) {
  Ask(kTypeReceipt, "5", "7");
  const std::string badGoods = "<P N=\"1\" NM=\"Tea\" SM=\"100\" Q=\"0\" PRC=\"100\" TX=\"Б\"/>";
  ASSERT_TRUE(form.ShowAssembled(Journal(ReceiptXml(5, 1, badGoods) + ReceiptXml(7, 2))));
  EXPECT_EQ(ShownReceipts(), (Lines{"7"}));
  EXPECT_EQ(ReadFile(dir.File("error.log")), W("'Б' is not a valid integer value\r\n"));
}

TEST_F(RetrievalWindow, SaveWritesEveryLineWithCrLfAndNothingElse) {
  form.ListBox2.lines = {"first", W("  Сума") + "   ", "", W("останній")};
  ui.saveAnswer = dir.File("out.txt");
  form.Button3Click();
  EXPECT_EQ(ReadFile(dir.File("out.txt")),
            "first\r\n" + W("  Сума") + "   \r\n\r\n" + W("останній") + "\r\n");
}

TEST_F(RetrievalWindow, SaveKeepsTheTrailingSpacesOfARenderedReceipt) {
  Ask(kTypeReceipt, "5", "5");
  ASSERT_TRUE(form.ShowAssembled(Journal(ReceiptXml(5, 1))));
  ui.saveAnswer = dir.File("receipt.txt");
  form.Button3Click();
  const std::string saved = ReadFile(dir.File("receipt.txt"));
  EXPECT_EQ(saved, Joined(form.ListBox2.lines));
  // The footer: number and stamp placed in a line padded to 54 characters.
  EXPECT_NE(saved.find("  000000005         05.03.2016  14:07" + std::string(17, ' ') + "\r\n"),
            std::string::npos);
}

TEST_F(RetrievalWindow, SaveOfAnEmptyListGivesAnEmptyFile) {
  ui.saveAnswer = dir.File("empty.txt");
  form.Button3Click();
  ASSERT_TRUE(FileExists(dir.File("empty.txt")));
  EXPECT_EQ(ReadFile(dir.File("empty.txt")), "");
}

TEST_F(RetrievalWindow, SaveReplacesAnExistingFileWithoutAsking) {
  WriteFile(dir.File("out.txt"), "a much longer earlier content\r\nof two lines\r\n");
  form.ListBox2.lines = {"new"};
  ui.saveAnswer = dir.File("out.txt");
  form.Button3Click();
  EXPECT_EQ(ReadFile(dir.File("out.txt")), "new\r\n");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RetrievalWindow, SaveDialogOffersTextFiles) {
  form.Button3Click();
  ASSERT_EQ(ui.dialogs.size(), 1u);
  EXPECT_EQ(ui.dialogs[0].filter, "*.txt");
  EXPECT_EQ(ui.dialogs[0].fileName, "*.txt");
  EXPECT_EQ(ui.dialogs[0].defaultExt, "txt");
}

TEST_F(RetrievalWindow, CancelledSaveWritesNothing) {
  form.ListBox2.lines = {"line"};
  ui.saveAnswer.reset();
  form.Button3Click();
  EXPECT_EQ(ui.dialogs.size(), 1u);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(RetrievalWindow, UnwritableSaveTargetRaisesAndTheListStays) {
  form.ListBox2.lines = {"line one", "line two"};
  ui.saveAnswer = dir.File("missing/out.txt");
  EXPECT_THROW(form.Button3Click(), FileError);
  EXPECT_EQ(form.ListBox2.lines, (Lines{"line one", "line two"}));
  EXPECT_FALSE(FileExists(dir.File("missing/out.txt")));
}

}  // namespace
}  // namespace morvek::test
