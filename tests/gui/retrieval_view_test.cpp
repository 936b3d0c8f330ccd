// The retrieval window: a fetch from the simulated register shown in the list, the list saved as
// Windows-1251, refused number fields answered by their messages.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "dialog_answerer.h"
#include "gui/list_box_model.h"
#include "gui/main_window_view.h"
#include "gui/qt_text.h"
#include "gui/retrieval_view.h"
#include "gui/small_views.h"
#include "gui_fixture.h"
#include "gui_tests.h"
#include "loopback_peers.h"

namespace morvek::gui::test {

using morvek::test::W;

class RetrievalViewTest : public QObject {
  Q_OBJECT

 private:
  static void Type(QLineEdit* field, const char* text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
  }

  static void ChooseType(RetrievalView& view, int index) {
    view.ComboBox1->setCurrentIndex(index);
    emit view.ComboBox1->activated(index);
  }

 private slots:
  void FetchShowsTheRenderedDocuments() {
    DialogAnswerer answerer;
    SimulatedRegister server("127.0.40.4", 5);
    DesktopFixture f;
    WriteSettings("127.0.40.4");
    f.desktop->Start();
    MainWindowView& main = f.desktop->mainWindow();
    QVERIFY(WaitFor([&] { return main.Edit1->text() == "127.0.40.4"; }));
    main.RadioGroup1[1]->click();
    main.RadioGroup2[1]->click();
    main.Edit2->selectAll();
    QTest::keyClicks(main.Edit2, SimulatedRegister::kFiscalNumber);
    main.Button3->click();
    QCOMPARE(f.app.Form3.Shape1.color, Shape::kLime);

    RetrievalView& view = f.desktop->retrieval();
    f.app.Form53.Show();
    ChooseType(view, 1);  // "Чек"
    Type(view.Edit1, "1");
    Type(view.Edit2, "5");
    QStringList progress;  // what the notice window shows at each of its repaints
    const auto repaint = f.app.Form4.onRepaint;
    f.app.Form4.onRepaint = [&] {
      repaint();
      progress << f.desktop->notice().Label2->text();
    };
    view.Button1->click();
    f.app.Form4.onRepaint = repaint;
    QVERIFY(progress.contains("0.00%     1"));
    QVERIFY(progress.contains("80.00%     5"));

    const std::vector<std::string>& lines = f.app.Form53.ListBox2.lines;
    QCOMPARE(answerer.texts, QStringList());
    QVERIFY(lines.size() > 5);
    QCOMPARE(view.listModel().rowCount(), static_cast<int>(lines.size()));
    const QAbstractItemModel* shown = view.ListBox2->model();
    QCOMPARE(shown->data(shown->index(0, 0)).toString(), ToQt(lines.front()));
    const int last = shown->rowCount() - 1;
    QCOMPARE(shown->data(shown->index(last, 0)).toString(), ToQt(lines.back()));
    QVERIFY(view.widget().isVisible());
    QVERIFY(!f.app.Form4.visible);
    main.Button3->click();
  }

  void SavingWritesTheListAsWindows1251() {
    DialogAnswerer answerer;
    morvek::test::TempDir folder;
    answerer.saveAs = QString::fromStdString(folder.File("tape"));
    DesktopFixture f;
    f.app.Form53.ListBox2.Add(W("ФІСКАЛЬНИЙ ЧЕК"));
    f.app.Form53.ListBox2.Add(W("СУМА                      12.50   "));
    f.app.Form53.Show();
    f.desktop->retrieval().Button3->click();
    QCOMPARE(answerer.saveDialogs, 1);
    QCOMPARE(morvek::test::ReadFile(folder.File("tape.txt")),
             W("ФІСКАЛЬНИЙ ЧЕК\r\nСУМА                      12.50   \r\n"));
  }

  void AnUnwritableFileIsReportedAndTheListKept() {
    DialogAnswerer answerer;
    answerer.saveAs = "/nonexistent-folder/tape.txt";
    DesktopFixture f;
    f.app.Form53.ListBox2.Add("line");
    f.app.Form53.Show();
    f.desktop->retrieval().Button3->click();
    QCOMPARE(answerer.texts.size(), 1);
    QCOMPARE(answerer.titles, QStringList({"morvek"}));
    QVERIFY(answerer.texts[0].endsWith('.'));
    QCOMPARE(f.desktop->retrieval().listModel().rowCount(), 1);
  }

  void RefusedNumbersAreAnsweredByTheirMessages() {
    DialogAnswerer answerer;
    DesktopFixture f;
    f.desktop->Start();
    RetrievalView& view = f.desktop->retrieval();
    f.app.Form53.Show();
    Type(view.Edit1, "0");
    Type(view.Edit2, "5");
    view.Button1->click();
    Type(view.Edit1, "5");
    Type(view.Edit2, "3");
    view.Button1->click();
    QCOMPARE(answerer.texts,
             QStringList({QString::fromUtf8("Началный номер должен быть >0!"),
                          QString::fromUtf8("Конечный номер должен быть не меньше начального!")}));
    QVERIFY(view.widget().isVisible());
    QVERIFY(!f.desktop->notice().widget().isVisible());
  }

  void MenuShowsTheWindowModallyUntilItCloses() {
    DialogAnswerer answerer;
    DesktopFixture f;
    f.desktop->Start();
    RetrievalView& view = f.desktop->retrieval();
    bool shownAfterRequest = false;
    bool modalAfterRequest = false;
    Scheduled inside([&] {
      Type(view.Edit1, "0");  // refused at once: no register asked
      view.Button1->click();
      shownAfterRequest = view.widget().isVisible();
      modalAfterRequest = QApplication::activeModalWidget() == &view.widget();
      view.Button2->click();
    });
    // Should the window stay open, the test closes it rather than wait on.
    Scheduled guard([&] { view.widget().close(); }, 3000);
    f.desktop->mainWindow().N45->trigger();
    QVERIFY(!inside.pending());
    QVERIFY(guard.pending());
    QVERIFY(shownAfterRequest);
    QVERIFY(modalAfterRequest);
    QVERIFY(!view.widget().isVisible());
    QCOMPARE(answerer.texts.size(), 1);
  }

  // The main window's activation (its caption probe, a second's pause and the reload of the
  // address) runs when the retrieval window closes, never while it hides for a request.
  void HiddenForARequestTheModalWindowStillHoldsTheMainWindow() {
    DialogAnswerer answerer;
    DesktopFixture f;
    f.desktop->Start();
    QVERIFY(WaitFor([&] { return f.app.Form3.N5.enabled; }));  // activated
    MainWindowView& main = f.desktop->mainWindow();
    QWidget& retrieval = f.desktop->retrieval().widget();
    int protocolWhileHidden = -1;
    long activationsWhileHidden = -1;  // in the activation's pauses
    Scheduled inside([&] {
      const long slept = f.ui.sleptMs;
      f.app.Form53.Hide();  // as a request does
      QTest::qWait(50);
      QTest::mouseClick(main.RadioGroup1[1], Qt::LeftButton);
      protocolWhileHidden = f.app.Form3.RadioGroup1.itemIndex;
      f.app.Form53.Show();
      activationsWhileHidden = f.ui.sleptMs - slept;
      retrieval.close();
    });
    Scheduled guard([&] { retrieval.close(); }, 3000);
    const long before = f.ui.sleptMs;
    main.N45->trigger();
    QVERIFY(guard.pending());
    QCOMPARE(protocolWhileHidden, 0);
    QCOMPARE(activationsWhileHidden, 0L);
    QVERIFY(WaitFor([&] { return f.ui.sleptMs > before; }));  // back from the retrieval window
    QTest::mouseClick(main.RadioGroup1[1], Qt::LeftButton);
    QCOMPARE(f.app.Form3.RadioGroup1.itemIndex, 1);
  }

  // After a click the list shows the first line the click added, also at the end of a long list.
  void TheFirstLineAClickAddedIsInView() {
    DialogAnswerer answerer;
    DesktopFixture f;
    RetrievalView& view = f.desktop->retrieval();
    for (int i = 0; i < 500; ++i) f.app.Form53.ListBox2.Add("line " + std::to_string(i));
    f.app.Form53.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&view.widget(), 2000));
    view.ListBox2->scrollToTop();
    Type(view.Edit1, "x");  // no number: the click ends with its two failure lines
    view.Button1->click();
    QCOMPARE(f.app.Form53.ListBox2.lines.size(), 502u);
    const QRect first = view.ListBox2->visualRect(view.listModel().index(500));
    QVERIFY(view.ListBox2->viewport()->rect().contains(first));
  }

  void ListIsInAFixedPitchFont() {
    DesktopFixture f;
    QVERIFY(QFontInfo(f.desktop->retrieval().ListBox2->font()).fixedPitch());
    QVERIFY(f.desktop->retrieval().ListBox2->uniformItemSizes());
  }
};

static RegisterTestClass<RetrievalViewTest> registered;

}  // namespace morvek::gui::test

#include "retrieval_view_test.moc"
