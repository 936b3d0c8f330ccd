// The main window against a server on loopback: connecting and disconnecting as the indicator,
// the button and the menu show it, and a close or a second click while the handshake waits.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "dialog_answerer.h"
#include "gui/main_window_view.h"
#include "gui/shape_widget.h"
#include "gui/small_views.h"
#include "gui_fixture.h"
#include "gui_tests.h"
#include "loopback_peers.h"

namespace morvek::gui::test {

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  static QColor IndicatorColour(MainWindowView& view) {
    const QImage image = view.Shape1->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
  }

  // Starts the program and waits for the main window's activation to fill the address field.
  static bool StartWithServer(DesktopFixture& f, const std::string& address) {
    WriteSettings(address);
    f.desktop->Start();
    return WaitFor([&] { return f.desktop->mainWindow().Edit1->text().toStdString() == address; });
  }

  static void EnterFiscalNumber(MainWindowView& view) {
    view.RadioGroup2[1]->click();
    view.Edit2->setFocus();
    view.Edit2->selectAll();
    QTest::keyClicks(view.Edit2, SimulatedRegister::kFiscalNumber);
  }

 private slots:
  void StartsDisconnectedWithTheMenuOff() {
    DialogAnswerer answerer;
    DesktopFixture f;
    WriteSettings("127.0.40.9");
    f.desktop->Start();
    MainWindowView& view = f.desktop->mainWindow();
    QVERIFY(QTest::qWaitForWindowActive(&view.widget(), 2000));
    QCOMPARE(IndicatorColour(view), QColor(255, 0, 0));
    QCOMPARE(view.Button3->text(), QString::fromUtf8("Подключить"));
    QVERIFY(!view.N2->menuAction()->isEnabled());
    QCOMPARE(view.widget().width(), 541);
    // 280 below the menu bar, measured once its titles are there.
    const QMenuBar* menu = static_cast<QMainWindow&>(view.widget()).menuBar();
    QVERIFY(menu->height() > 10);
    QCOMPARE(view.widget().height(), 280 + menu->height());
    QCOMPARE(view.StatusBar1[0]->width(), 170);
    QCOMPARE(view.StatusBar1[3]->width(), 50);
  }

  void AboutBoxShowsTheVersionUntilItsButtonClosesIt() {
    DialogAnswerer answerer;
    DesktopFixture f;
    QVERIFY(StartWithServer(f, "127.0.40.9"));
    AboutView& about = f.desktop->about();
    bool activated = false;
    Scheduled inside([&] {
      activated = WaitFor([&] { return about.Label1->text().startsWith(QString::fromUtf8("ПО")); });
      about.Button1->click();
    });
    // Should the box stay open, the test closes it rather than wait on.
    Scheduled guard([&] { about.widget().close(); }, 3000);
    f.desktop->mainWindow().N5->trigger();
    QVERIFY(guard.pending());
    QVERIFY(activated);
    QCOMPARE(about.Label1->text(), QString::fromUtf8("ПО morvek (вер. 1.30 от 29.01.2016)"));
    QCOMPARE(about.widget().windowTitle(), QString::fromUtf8("О программе morvek"));
    QVERIFY(!about.widget().isVisible());
  }

  void ConnectingShowsLimeAndDisconnectingRed() {
    DialogAnswerer answerer;
    SimulatedRegister server("127.0.40.1", 5);
    DesktopFixture f;
    QVERIFY(StartWithServer(f, "127.0.40.1"));
    MainWindowView& view = f.desktop->mainWindow();
    view.RadioGroup1[1]->click();  // Zelmar
    EnterFiscalNumber(view);
    QCOMPARE(f.app.Form3.Edit2.text, std::string(SimulatedRegister::kFiscalNumber));
    QCOMPARE(f.app.Form3.RadioGroup1.itemIndex, 1);

    view.Button3->click();
    QCOMPARE(answerer.texts, QStringList());
    QCOMPARE(IndicatorColour(view), QColor(0, 255, 0));
    QCOMPARE(view.Button3->text(), QString::fromUtf8("Отключить"));
    QVERIFY(view.N2->menuAction()->isEnabled());
    QVERIFY(!f.desktop->wait().widget().isVisible());

    view.Button3->click();
    QCOMPARE(IndicatorColour(view), QColor(255, 0, 0));
    QCOMPARE(view.Button3->text(), QString::fromUtf8("Подключить"));
    QVERIFY(!view.N2->menuAction()->isEnabled());
    for (QLabel* panel : view.StatusBar1) QCOMPARE(panel->text(), QString());
  }

  void CloseAndSecondClickWaitForTheHandshakeToEnd() {
    DialogAnswerer answerer;
    SilentServer server("127.0.40.2", sim::kDatecsPort);
    DesktopFixture f;
    QVERIFY(StartWithServer(f, "127.0.40.2"));
    MainWindowView& view = f.desktop->mainWindow();
    EnterFiscalNumber(view);
    bool waitShown = false;
    bool openAfterClose = false;
    // Runs inside the handshake, at its first look at pending events.
    Scheduled duringTheWait([&] {
      waitShown = f.desktop->wait().widget().isVisible();
      view.widget().close();
      openAfterClose = view.widget().isVisible();
      view.Button3->click();
    });
    view.Button3->click();
    QVERIFY(waitShown);
    QVERIFY(openAfterClose);
    QCOMPARE(server.Connections(), 1);
    QCOMPARE(
        answerer.texts,
        QStringList({QString::fromUtf8("Сервер не отвечает, проверьте настройки РРО (IP адрес или "
                                       "удаленный доступ)")}));
    QVERIFY(!view.widget().isVisible());
    QVERIFY(morvek::test::ReadFile("morvek.ini").find("127.0.40.2") != std::string::npos);
  }

  void AbortEndsTheHandshakeWait() {
    DialogAnswerer answerer;
    SilentServer server("127.0.40.3", sim::kDatecsPort);
    DesktopFixture f;
    QVERIFY(StartWithServer(f, "127.0.40.3"));
    MainWindowView& view = f.desktop->mainWindow();
    EnterFiscalNumber(view);
    int looksAtEvents = 0;
    const auto counting = f.ui.beforeProcessing;
    f.ui.beforeProcessing = [&] {
      ++looksAtEvents;
      counting();
    };
    Scheduled abort([&] { f.desktop->wait().Button1->click(); });
    view.Button3->click();
    f.ui.beforeProcessing = counting;
    // Without the abort the wait looks at pending events after each of its ten ticks.
    QVERIFY(looksAtEvents < f.app.timings.handshake.ticks);
    QCOMPARE(answerer.texts.size(), 1);
    QCOMPARE(f.app.Form3.Shape1.color, Shape::kRed);
    QVERIFY(!f.app.Form5.IsAborted());
  }
};

static RegisterTestClass<MainWindowTest> registered;

}  // namespace morvek::gui::test

#include "main_window_test.moc"
