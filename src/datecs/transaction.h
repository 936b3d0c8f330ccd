#pragma once
// The Datecs driver: one transaction at a time over the program's one client socket. A transaction
// sends one command, waits for the reply with a countdown in the wait window, parses and decodes
// it into the result record and hands that to the caller's callback. A socket error makes it
// connect again and announce the register, without resending the command.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "datecs/frame.h"
#include "datecs/ret_data.h"
#include "datecs/timings.h"

namespace morvek {

class TForm1;
class TForm2;
class TForm3;
class TForm5;
class Ui;
class SocketStream;

class DatecsDriver {
 public:
  DatecsDriver(TForm1& form1, TForm2& form2, TForm3& form3, TForm5& form5, Ui& ui)
      : form1_(form1), form2_(form2), form3_(form3), form5_(form5), ui_(ui) {}

  // Sends one command and delivers its result to the callback (not on the reconnect path).
  // Always returns 0.
  int DatecsExecute(const datecs::ResultCallback& callback, int tag, std::uint8_t command,
                    std::string_view text);
  // Fills the record from the parsed reply.
  void DatecsDecodeReply();

  // The program's result callback: a copy of the record into TForm2's lastDatecsResult, and the
  // register's first error as a message.
  void PrinterResultsx(datecs::RetData& result);
  // PrinterResultsx as a callback for the entry points.
  datecs::ResultCallback PrinterResultsxCallback() {
    return [this](datecs::RetData& result) { PrinterResultsx(result); };
  }

  // The entry points; each returns 0 and delivers through the callback.
  int DatecsGetDiagnostics(const datecs::ResultCallback& callback, int tag, int flag);
  int DatecsGetDocument(const datecs::ResultCallback& callback, std::string_view password,
                        int docType, int number, int fragment);
  int DatecsGetDocumentsByDate(const datecs::ResultCallback& callback, std::string_view password,
                               std::string_view startDate, std::string_view startTime,
                               std::string_view endDate, std::string_view endTime, int printFlag);
  int DatecsPrintInterval(const datecs::ResultCallback& callback, std::string_view password,
                          int first, int last);

  datecs::Timings timings;
  datecs::RetData record;  // overwritten by every transaction
  datecs::ReplyParser parser;
  std::uint8_t sequenceCounter = 0;
  long deliveries = 0;  // records PrinterResultsx has received
  // False after the server did not answer "Ready" to the reconnect announcement: no command is
  // sent until an announcement is accepted again. The connect sequence sets it after its own
  // "Ready".
  bool registerAccepted = true;

 private:
  // The countdown of one attempt: up to 60 waits for data, each silent one counted in `silent`
  // (so that a later call goes on with the same countdown) and shown in the wait window as
  // "<attempt> : <seconds left>". True when data is waiting; aborted tells whether the wait
  // window's button was pressed.
  bool WaitWithCountdown(SocketStream& stream, int attemptLabel, int& silent, bool& aborted);
  // Reads until the reply's frame ends, within the bounds of a broken or endless peer.
  void ReadReply(SocketStream& stream);
  // Advances the parser by the next byte of the read buffer; false when the buffer holds no
  // further byte.
  bool DatecsReceiveByte();
  // Connects again to the server and announces the register; true when it answered "Ready".
  bool Reconnect();
  // Up to four countdowns for the server's answer to the announcement. The first answer ends the
  // wait, unless it is a piece of "Ready": then the rest is read within the same countdown.
  std::string AwaitAnswer(SocketStream& stream);

  TForm1& form1_;
  TForm2& form2_;
  TForm3& form3_;
  TForm5& form5_;
  Ui& ui_;
  std::string savedText_;
  std::array<std::uint8_t, 500> readBuffer_{};
  std::size_t readCount_ = 0;
  std::size_t readPos_ = 0;
  std::size_t nonSynReceived_ = 0;  // in this exchange
};

}  // namespace morvek
