// The list on Qt's PDF printer, read back by pdftotext: a strip that fits on a page never splits,
// a longer one fills its page and goes on under a continuation line, and every line is printed
// once.
#include <QPainter>
#include <QTest>
#include <map>

#include "export/pdf_pages.h"
#include "gui/retrieval_view.h"
#include "gui/strip_printer.h"
#include "gui_tests.h"
#include "pdf_reading.h"
#include "test_support.h"

namespace morvek::gui::test {

using morvek::test::W;

// "<name>001", "<name>002", ...: line i of a strip.
std::string LineOf(const std::string& name, std::size_t i) {
  const std::string number = std::to_string(i);
  return name + std::string(3 - number.size(), '0') + number;
}

// Lines 1 to `lines` of a strip titled "Чек № <name>".
TextStrip Strip(const std::string& name, std::size_t lines) {
  TextStrip strip{W("Чек № ") + name, {}};
  for (std::size_t i = 1; i <= lines; ++i) strip.lines.push_back(LineOf(name, i));
  return strip;
}

// The first page a line is printed on; 0 when it is not printed.
int PageOf(const std::map<std::string, std::vector<int>>& pages, const std::string& line) {
  const auto found = pages.find(line);
  return found == pages.end() || found->second.empty() ? 0 : found->second.front();
}

class StripPrinterTest : public QObject {
  Q_OBJECT

 private slots:
  void StripsMoveWholeAndOnlyLongOnesSplit() {
    morvek::test::TempDir dir;
    const std::string pdf = dir.File("list.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    // The rows a page holds in the list's font.
    const int rows = [&] {
      QPainter painter(&printer);
      painter.setFont(ListFont());
      return printer.pageLayout().paintRectPixels(printer.resolution()).height() /
             painter.fontMetrics().lineSpacing();
    }();
    QVERIFY(rows > 20);
    const auto size = static_cast<std::size_t>(rows);
    // A short strip; one that fits on a page but not under it; one of more than two pages.
    const std::vector<TextStrip> strips = {Strip("A", 5), Strip("B", size - 2),
                                           Strip("C", 2 * size + 5)};
    QVERIFY(PrintStripsOn(printer, strips));

    std::map<std::string, std::vector<int>> pagesOf;  // of each line printed
    std::map<int, std::string> continuations;         // a page's continuation line
    const int pages = morvek::test::PdfPageCount(pdf);
    for (int page = 1; page <= pages; ++page) {
      const std::string text =
          morvek::test::PopplerOutput("pdftotext -layout -f " + std::to_string(page) + " -l " +
                                          std::to_string(page) + " '" + pdf + "' -",
                                      pdf + ".txt");
      std::istringstream lines(text);
      for (std::string line; std::getline(lines, line);) {
        const std::size_t start = line.find_first_not_of(" \f");
        if (start == std::string::npos) continue;
        line = line.substr(start, line.find_last_not_of(' ') + 1 - start);
        if (line.rfind("(", 0) == 0)
          continuations[page] = line;
        else
          pagesOf[line].push_back(page);
      }
    }
    // A on page 1; B on page 2; C's first line under B, then a page less its continuation line
    // twice, and the 6 lines left on page 5.
    QCOMPARE(pages, 5);
    for (const TextStrip& strip : strips)
      for (const std::string& line : strip.lines) QVERIFY2(pagesOf[line].size() == 1, line.c_str());
    QCOMPARE(pagesOf.size(),
             strips[0].lines.size() + strips[1].lines.size() + strips[2].lines.size());
    QCOMPARE(PageOf(pagesOf, "A001"), 1);
    QCOMPARE(PageOf(pagesOf, "B001"), 2);  // it did not fit under A
    QCOMPARE(PageOf(pagesOf, LineOf("B", size - 2)), 2);
    QCOMPARE(PageOf(pagesOf, "C001"), 2);  // longer than a page: it starts where there is room
    QCOMPARE(PageOf(pagesOf, LineOf("C", 2 * size + 5)), 5);
    QCOMPARE(continuations.size(), std::size_t{3});
    for (int page = 3; page <= 5; ++page)
      QCOMPARE(continuations[page], ContinuationLine("Чек № C"));
  }
};

static RegisterTestClass<StripPrinterTest> registered;

}  // namespace morvek::gui::test

#include "strip_printer_test.moc"
