#pragma once
// The program: its windows, created once in this order, and the two register drivers. The desktop
// program, the terminal program and the tests each make one.
#include <functional>

#include "app/archive_window.h"
#include "app/tform1.h"
#include "app/tform2.h"
#include "app/tform3.h"
#include "app/tform4.h"
#include "app/tform5.h"
#include "app/tform53.h"
#include "app/tform54.h"
#include "datecs/timings.h"
#include "datecs/transaction.h"
#include "link/datecs_link.h"
#include "link/timings.h"
#include "link/zelmar_link.h"
#include "platform/ui.h"
#include "zelmar/timings.h"
#include "zelmar/transaction.h"

namespace morvek {

class Application {
 public:
  explicit Application(Ui& ui, const RegisterTimings& timings = {});
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  Ui& ui;
  const RegisterTimings timings;
  TForm3 Form3;
  TForm1 Form1;
  TForm2 Form2;
  TForm4 Form4;
  TForm5 Form5;
  TForm53 Form53;
  TForm54 Form54;
  ArchiveWindow FormArchive;
  ZelmarDriver zelmar;
  DatecsDriver datecs;
  // The drivers behind one interface: the Zelmar records kept in TForm2's lastZelmarResult, the
  // Datecs ones handed to PrinterResultsx.
  ZelmarLink zelmarLink;
  DatecsLink datecsLink;
  // The protocol the main window has chosen, and its link.
  Protocol ChosenProtocol() const;
  RegisterLink& Link();

  // The program's result callback of the Datecs driver: a copy of the record into TForm2's
  // lastDatecsResult, and the register's first error as a message.
  void PrinterResultsx(datecs::RetData& result);
  datecs::ResultCallback PrinterResultsxCallback() {
    return [this](datecs::RetData& result) { PrinterResultsx(result); };
  }

  // Each window's creation handler, in creation order. The front end then shows the main window
  // and runs its event loop until onQuit.
  void Create();
  // Every window's texts in the current language (after SetLanguage).
  void Retranslate();

  // Closing the main window ends the program: the address is saved (FormClose), the main window
  // hidden, and onQuit called, where the front end leaves its event loop. While an exchange runs,
  // the close waits for its end, so nothing takes the socket from under it. True when the
  // program ended now.
  bool RequestClose();
  bool Closed() const { return closed_; }
  std::function<void()> onQuit;

  // One exchange with the register at a time: while one runs (and processes pending window
  // messages), a click that would start another is ignored. Runs the exchange and returns true,
  // or returns false at once when one is running.
  bool RunExclusive(const std::function<void()>& exchange);
  bool ExchangeRunning() const { return exchangeRunning_; }

  // Runs a handler; a failure it lets escape goes to the platform's report of an unhandled error
  // and the program carries on.
  void Guarded(const std::function<void()>& handler);

 private:
  void CloseIfPending();

  bool exchangeRunning_ = false;
  bool closePending_ = false;
  bool closed_ = false;
};

}  // namespace morvek
