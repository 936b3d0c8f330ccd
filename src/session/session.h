#pragma once
// A session with one register through its remote-access server, for code: connect, fetch by
// number or by date, ask for numbers, print. Everything it needs is its own (socket, drivers,
// files), so that sessions run at once, one per thread. It keeps nothing between requests but its
// connection: what to skip is the caller's to decide. Messages for the operator go to the Ui the
// caller hands in (a RecordingUi keeps them). Texts are Windows-1251.
#include <array>
#include <string>

#include "datecs/timings.h"
#include "datecs/transaction.h"
#include "link/datecs_link.h"
#include "link/handshake.h"
#include "link/timings.h"
#include "link/zelmar_link.h"
#include "platform/socket.h"
#include "platform/ui.h"
#include "session/by_date.h"
#include "session/fetch.h"
#include "session/register_check.h"
#include "zelmar/timings.h"
#include "zelmar/transaction.h"

namespace morvek {

struct SessionOptions {
  std::string host;
  int port = 0;  // 0: the protocol's own, 34950 Datecs or 34951 Zelmar
  Protocol protocol = Protocol::kDatecs;
  RegisterIdentity identity;
  std::string password = "582941";
  // This session's files: the assembled document of the last fetch, the log of documents that
  // failed to render, and the Zelmar exchange log (empty: none is kept).
  std::string assembledPath = "temp.xml";
  std::string errorLogPath = "error.log";
  std::string exchangeLogPath;
  int zelmarReplyTries = 1;  // reads of a Zelmar reply that fails its check
  RegisterTimings timings;
};

struct ConnectResult {
  bool connected = false;
  StatusPanels panels;          // the status bar's four panels
  bool recentFirmware = false;  // the firmware gate: documents come in blocks
};

struct PrintResult {
  bool asked = false;     // the question was answered Yes and the request sent
  bool accepted = false;  // the register took it
  std::string status;     // the Zelmar status text as read
};

class Session {
 public:
  Session(const SessionOptions& options, Ui& ui);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The server handshake and the register check; every failure is also a message to the Ui.
  ConnectResult Connect();
  void Disconnect();
  bool Connected() const { return connection_.connected && socket_.IsActive(); }
  const ConnectResult& Connection() const { return connection_; }

  // The documents first to last of a document type (kTypeZReport ... kTypeCash): Z-reports by
  // their own numbers, the other types by receipt numbers; in blocks where the firmware allows.
  // A range that is no range is refused with a message (stage kRefused). The assembled document
  // is written to the session's file.
  FetchResult Fetch(int documentType, int first, int last, const FetchHooks& hooks = {});
  // The documents (other than Z-reports) of a date and time interval: the register names the
  // first and the last, then they are fetched. A refused interval or the register's failure to
  // name them ends it early (stage kRefused, kRegisterFailed; the status in `status`).
  struct DateFetch {
    FetchResult fetched;
    std::string status;  // the Zelmar status where the register gave no numbers
  };
  DateFetch FetchByDate(const DateFields& fields, const FetchHooks& hooks = {});
  // The first and last document numbers of a date interval, asked once more when the reply read
  // belonged to an earlier request. A Zelmar register's refusal is shown as a message.
  NumbersReply Numbers(const DateFields& fields);
  // Documents first to last printed on the register's paper, after a Yes to the Ui's question.
  PrintResult Print(int first, int last);

  // The link the session talks through, for requests of its own.
  RegisterLink& Link();

 private:
  // The register announced on the connected socket; true when the server answered "Ready".
  bool Handshake();
  bool Reannounce();
  bool ReannounceDatecs();
  void WriteAssembled(const FetchResult& result);

  SessionOptions options_;
  Ui& ui_;
  ClientSocket socket_;
  ZelmarDriver zelmar_;
  DatecsDriver datecs_;
  ZelmarLink zelmarLink_;
  DatecsLink datecsLink_;
  ConnectResult connection_;
};

}  // namespace morvek
