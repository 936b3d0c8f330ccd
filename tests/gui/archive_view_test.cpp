// The archive window on a small archive of two registers: opened from the main window's menu
// without a register, its rows and totals row against the archive's own figures under every
// filter, the selected document's text image, and a shift with a gap marked.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <set>

#include "app/archive_filter.h"
#include "archive/archive.h"
#include "archive/archive_text.h"
#include "dialog_answerer.h"
#include "export/text_image.h"
#include "gui/archive_table_model.h"
#include "gui/archive_view.h"
#include "gui/main_window_view.h"
#include "gui/qt_text.h"
#include "gui/retrieval_view.h"
#include "gui_fixture.h"
#include "gui_tests.h"
#include "sim/journal_generator.h"
#include "test_support.h"

namespace morvek::gui::test {

namespace {

const std::string kFiscalA = "4000000011";
const std::string kFiscalB = "4000000012";

// Two registers' generated tapes; register B lost one receipt of its second shift on the way.
long long FillArchive(const std::string& path) {
  const std::unique_ptr<Archive> archive = OpenArchive(path);
  long long lost = 0;
  for (const std::string& fiscal : {kFiscalA, kFiscalB}) {
    const GeneratedJournal journal =
        GenerateJournal({.receipts = 150, .zReports = 3, .seed = 7, .fiscalNumber = fiscal});
    std::vector<DocumentRecord> records;
    for (DocumentRecord& record : ReadDocuments(journal.xml)) {
      if (fiscal == kFiscalB && record.number == 60 && record.kind != DocumentKind::kZReport) {
        lost = record.number;
        continue;
      }
      records.push_back(std::move(record));
    }
    archive->Store(records, Arrival::kImported);
  }
  archive->NoteRegister({.name = "Каса 1", .fiscalNumber = kFiscalA});
  return lost;
}

QString Utf8(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

class ArchiveViewTest : public QObject {
  Q_OBJECT

 private:
  // Every row the table can show, fetched page by page as scrolling would.
  static void FetchAll(ArchiveTableModel& model) {
    for (int pages = 0; pages < 100 && model.canFetchMore(QModelIndex()); ++pages)
      model.fetchMore(QModelIndex());
  }

  // The rows and the totals row against what the archive finds for the same filter.
  static void CompareWithArchive(ArchiveView& view, Archive& archive, const ArchiveFilter& filter) {
    std::string error;
    const std::optional<FindQuery> query = FilterQuery(filter, error);
    QVERIFY2(query, error.c_str());
    const std::vector<FoundDocument> found = archive.Find(*query);
    QVERIFY2(!found.empty(), "every filter of the test matches some documents");
    ArchiveTableModel& model = view.model();
    FetchAll(model);
    QCOMPARE(model.rowCount(), static_cast<int>(found.size()));
    std::set<std::pair<QString, QString>> shown, expected;
    long long sales = 0, returns = 0;
    for (const FoundDocument& d : found) {
      expected.insert(
          {Utf8(d.registerName.empty() ? d.fiscalNumber : d.registerName), QString::number(d.di)});
      if (d.kind == DocumentKind::kReceipt) sales += d.total;
      if (d.kind == DocumentKind::kReturn) returns += d.total;
    }
    for (int row = 0; row < model.rowCount(); ++row)
      shown.insert({model.index(row, ArchiveBrowser::kRegister).data().toString(),
                    model.index(row, ArchiveBrowser::kDi).data().toString()});
    QCOMPARE(shown, expected);
    QCOMPARE(view.TotalsLabel->text(),
             Utf8("Документов: " + std::to_string(found.size()) + "   продажи: " + Hryvnias(sales) +
                  "   возвраты: " + Hryvnias(returns)));
  }

  static void SetFilter(ArchiveView& view, const ArchiveFilter& filter) {
    view.RegisterBox->setCurrentIndex(
        filter.registerKey.empty() ? 0 : view.RegisterBox->findData(Utf8(filter.registerKey)));
    view.FromEdit->setText(Utf8(filter.from));
    view.ToEdit->setText(Utf8(filter.to));
    view.KindBox->setCurrentIndex(filter.kind);
    view.NumberFromEdit->setText(Utf8(filter.numberFrom));
    view.NumberToEdit->setText(Utf8(filter.numberTo));
    view.TextEdit->setText(Utf8(filter.text));
    QTest::mouseClick(view.FindButton, Qt::LeftButton);
  }

 private slots:
  void OpensFromTheMenuAndShowsWhatTheArchiveHoldsUnderEveryFilter() {
    DialogAnswerer answerer;
    const std::string path = std::filesystem::absolute("archive-window.sqlite").string();
    std::filesystem::remove(path);
    const long long lost = FillArchive(path);
    morvek::test::WriteFile(
        "morvek.ini", "[Connection]\r\nIPAddres=127.0.0.1\r\n[Archive]\r\nPath=" + path + "\r\n");
    DesktopFixture f;
    f.desktop->Start();
    MainWindowView& main = f.desktop->mainWindow();
    QVERIFY(WaitFor([&] { return main.Edit1->text() == QStringLiteral("127.0.0.1"); }));
    // No register connected: "КЛЭФ" is off, "Архив" is not.
    QVERIFY(!main.N2->menuAction()->isEnabled());
    QVERIFY(main.N6->isEnabled());
    main.N6->trigger();
    ArchiveView& view = f.desktop->archive();
    QVERIFY(WaitFor([&] { return view.widget().isVisible(); }));
    QVERIFY2(answerer.texts.isEmpty(), qPrintable(answerer.texts.join('\n')));
    QCOMPARE(view.RegisterBox->count(), 3);  // "все" and the two registers

    const std::unique_ptr<Archive> archive = OpenArchive(path);
    const std::vector<ArchiveFilter> filters = {
        {},
        {.registerKey = kFiscalB},
        {.from = "10.01.24", .to = "10.01.24"},
        {.kind = 2},
        {.kind = 5},
        {.registerKey = kFiscalA, .numberFrom = "20", .numberTo = "45"},
        {.text = "банани"},
        {.registerKey = kFiscalB,
         .from = "09.01.24",
         .to = "11.01.24",
         .kind = 1,
         .numberFrom = "10",
         .text = "хліб"},
    };
    for (const ArchiveFilter& filter : filters) {
      SetFilter(view, filter);
      CompareWithArchive(view, *archive, filter);
      QVERIFY2(answerer.texts.isEmpty(), qPrintable(answerer.texts.join('\n')));
    }

    // The receipt right after the lost one is marked, and says which number is missing.
    SetFilter(view, {.registerKey = kFiscalB});
    FetchAll(view.model());
    // Marks a page could not check in its time follow between events.
    QVERIFY(WaitFor([&] { return !f.app.FormArchive.browser->MarksPending(); }));
    int marked = -1;
    for (int row = 0; row < view.model().rowCount(); ++row)
      if (view.model().index(row, ArchiveBrowser::kNumber).data().toString() ==
              QString::number(lost + 1) &&
          view.model().index(row, ArchiveBrowser::kKind).data().toString() != "Z-отчет")
        marked = row;
    QVERIFY(marked >= 0);
    const QModelIndex mark = view.model().index(marked, ArchiveBrowser::kMark);
    QCOMPARE(mark.data().toString(), QStringLiteral("!"));
    QVERIFY2(mark.data(Qt::ToolTipRole).toString().contains(QString::number(lost)),
             qPrintable(mark.data(Qt::ToolTipRole).toString()));
    QVERIFY(mark.data(Qt::BackgroundRole).isValid());
    // A row of register A's shifts, which lack nothing, is not.
    SetFilter(view, {.registerKey = kFiscalA, .kind = 5});
    QCOMPARE(view.model().index(1, ArchiveBrowser::kMark).data().toString(), QStringLiteral("✓"));

    // The selected document's text image, in the list font: Z-report 1 of register A.
    view.Table->selectRow(0);
    const std::optional<StoredDocument> first = archive->Show(kFiscalA, true, 1);
    QVERIFY(first);
    QStringList image;
    for (const std::string& line : TextImage(ReadDocument(first->xml))) image << Utf8(line);
    QCOMPARE(view.DocumentText->toPlainText(), image.join('\n'));
    QCOMPARE(view.DocumentText->font().family(), ListFont().family());

    // A filter that does not read says why and leaves the table as it was.
    const int rows = view.model().rowCount();
    SetFilter(view, {.from = "31.02.24"});
    QVERIFY(WaitFor([&] { return !answerer.texts.isEmpty(); }));
    QVERIFY(answerer.texts.last().contains(Utf8("ДД.ММ.ГГ")));
    QCOMPARE(view.model().rowCount(), rows);
    view.CloseButton->click();
    QVERIFY(WaitFor([&] { return !view.widget().isVisible(); }));
    QVERIFY(!f.app.FormArchive.browser);
  }

  void AnArchiveThatDoesNotOpenIsNamedInAMessageAndNoWindowOpens() {
    DialogAnswerer answerer;
    // A folder where the archive's file should be.
    std::filesystem::create_directories("not-a-file.sqlite");
    morvek::test::WriteFile("morvek.ini",
                            "[Connection]\r\nIPAddres=127.0.0.1\r\n[Archive]\r\nPath=" +
                                std::filesystem::absolute("not-a-file.sqlite").string() + "\r\n");
    DesktopFixture f;
    f.desktop->Start();
    QVERIFY(WaitFor([&] { return f.desktop->mainWindow().Edit1->text() == "127.0.0.1"; }));
    f.desktop->mainWindow().N6->trigger();
    QVERIFY(WaitFor([&] { return !answerer.texts.isEmpty(); }));
    QVERIFY2(answerer.texts.last().startsWith(Utf8("Архив не открывается")),
             qPrintable(answerer.texts.last()));
    QVERIFY(!f.desktop->archive().widget().isVisible());
    QVERIFY(!f.app.FormArchive.browser);
  }

  void ExportsTheWholeFilteredSetNotOnlyTheRowsFetched() {
    DialogAnswerer answerer;
    const std::string path = std::filesystem::absolute("archive-export.sqlite").string();
    std::filesystem::remove(path);
    FillArchive(path);
    morvek::test::WriteFile(
        "morvek.ini", "[Connection]\r\nIPAddres=127.0.0.1\r\n[Archive]\r\nPath=" + path + "\r\n");
    DesktopFixture f;
    f.desktop->Start();
    QVERIFY(WaitFor([&] { return f.desktop->mainWindow().Edit1->text() == "127.0.0.1"; }));
    f.desktop->mainWindow().N6->trigger();
    ArchiveView& view = f.desktop->archive();
    QVERIFY(WaitFor([&] { return view.widget().isVisible(); }));
    SetFilter(view, {.from = "09.01.24"});
    const long long documents =
        OpenArchive(path)->Totals({.from = "2024-01-09 00:00:00"}).documents;
    QVERIFY(view.model().rowCount() < documents);  // a page of them fetched so far

    const auto exported = [&](QPushButton* button, const QString& file) {
      answerer.Clear();
      answerer.saveAs =
          QString::fromStdString(std::filesystem::absolute(file.toStdString()).string());
      button->click();
      return WaitFor([&] { return !answerer.texts.isEmpty(); }) &&
             answerer.texts.last().contains(QString::number(documents));
    };
    const auto lines = [](const std::string& file) {
      const std::string text = morvek::test::ReadFile(file);
      return std::count(text.begin(), text.end(), '\n');
    };
    QVERIFY2(exported(view.CsvButton, "out.csv"), qPrintable(answerer.texts.join('\n')));
    QCOMPARE(lines("out-documents.csv"), documents + 1);  // and the header
    QVERIFY2(exported(view.JsonButton, "out.jsonl"), qPrintable(answerer.texts.join('\n')));
    QCOMPARE(lines("out.jsonl"), documents);
    answerer.answerYes = true;  // on an 80 mm roll
    QVERIFY2(exported(view.PdfButton, "out.pdf"), qPrintable(answerer.texts.join('\n')));
    QVERIFY(morvek::test::ReadFile("out.pdf").starts_with("%PDF"));

    // Printing names how many documents go out first; No sends none.
    answerer.Clear();
    answerer.answerYes = false;
    view.PrintButton->click();
    QVERIFY(WaitFor([&] { return !answerer.texts.isEmpty(); }));
    QCOMPARE(answerer.texts.first(),
             Utf8("Напечатать документов: " + std::to_string(documents) + "?"));
    // What would go out: a strip per document of the set, its text image.
    const std::vector<TextStrip> strips = f.app.FormArchive.browser->Strips();
    QCOMPARE(static_cast<long long>(strips.size()), documents);
    const std::unique_ptr<Archive> archive = OpenArchive(path);
    const FoundDocument first =
        archive->Page({.from = "2024-01-09 00:00:00"}, std::nullopt, 1).at(0);
    const std::optional<StoredDocument> stored =
        archive->Show(first.fiscalNumber, first.kind == DocumentKind::kZReport, first.number);
    QVERIFY(stored);
    std::vector<std::string> image;
    for (const std::string& line : TextImage(ReadDocument(stored->xml)))
      image.push_back(Utf8ToCp1251(line));
    QCOMPARE(strips.front().lines, image);
    QCOMPARE(ToQt(strips.front().title),
             Utf8((first.registerName.empty() ? first.fiscalNumber : first.registerName) +
                  (first.kind == DocumentKind::kZReport ? " Z-отчет № " : " Чек № ") +
                  std::to_string(first.number)));
  }
};

static const RegisterTestClass<ArchiveViewTest> registered;

}  // namespace morvek::gui::test

#include "archive_view_test.moc"
