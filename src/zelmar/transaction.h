#pragma once
// The Zelmar driver: one command sent, its reply collected, shape-checked, resent when broken,
// decoded into the result record and logged both ways. All of the driver's state lives here; the
// entry points (commands.cpp) are its members. It knows nothing of the windows: the program hands
// it the socket, the Ui for its pauses and socket error reports, and how to announce the register
// again.
#include <cstdint>
#include <functional>
#include <string>

#include "log/exchange_log.h"
#include "platform/socket.h"
#include "platform/ui.h"
#include "zelmar/frame.h"
#include "zelmar/timings.h"
#include "zelmar/zelmar_result.h"

namespace morvek {

class ZelmarDriver {
 public:
  // Reads with no byte received before the exchange gives up.
  static constexpr int kEmptyReads = 50;
  // Bytes asked for per read.
  static constexpr std::size_t kReadSize = 500;

  ZelmarDriver(ClientSocket& socket, Ui& ui, const ZelmarTimings& timings = {})
      : socket_(socket), ui_(ui), timings_(timings) {}

  // Connects again and announces the register, for a connection found broken: the server takes
  // the first bytes of a connection for the announcement, so a frame cannot go first. True when
  // the server answered "Ready"; a connect that fails raises SocketError. Without it a broken
  // connection is only connected again.
  std::function<bool()> reannounce;
  // The last read looked like the reply to another request (and was dropped).
  bool foreignReply = false;

  // Entry points (commands.cpp). Each sets out to 0 and returns the result record.
  ZelmarResult* ZelmarGetDiagnostics(const std::string& password, int& out);
  // ";" after every field when commaForm is 0; "," between the fields and none at the end
  // otherwise.
  ZelmarResult* ZelmarGetDocument(const std::string& password, int docType, int number,
                                  int fragment, int& out, int commaForm = 0);
  ZelmarResult* ZelmarPrintInterval(const std::string& password, int first, int last, int& out);
  ZelmarResult* ZelmarGetDocumentsByDate(const std::string& password, const std::string& startDate,
                                         const std::string& startTime, const std::string& endDate,
                                         const std::string& endTime, int printFlag, int& out);
  int ZelmarSetRetryCount(int n);
  void ZelmarSetLogName(const std::string& name);

  // The transaction: the first frame, then up to retryCount resends while the reply has not the
  // shape of a reply.
  ZelmarResult* ZelmarExecute(int command, const std::string& text);
  // One exchange: send, wait, receive, decode, log.
  int ZelmarSendFrame(int command, const std::string& text);
  // The last request again, with the same SEQ.
  int ZelmarResend();
  // One read fed into the parser; -1 when the read raised an error.
  int ZelmarReceiveStep();
  void ZelmarDecodeReply();

  const ZelmarResult& Result() const { return result_; }
  const zelmar::ReplyParser& Parser() const { return parser_; }
  std::uint8_t SequenceCounter() const { return sequenceCounter_; }
  int RetryCount() const { return retryCount_; }
  ExchangeLog& Log() { return log_; }

 private:
  void SendAndWait(const std::string& frame);
  void Poll();
  bool IsForeignFrame(const unsigned char* bytes, std::size_t count) const;

  ClientSocket& socket_;
  Ui& ui_;
  ZelmarTimings timings_;
  ExchangeLog log_;

  ZelmarResult result_;
  zelmar::ReplyParser parser_;
  std::uint8_t sequenceCounter_ = 0;
  std::uint8_t counterBeforeRequest_ = 0;  // restored by a resend
  std::uint8_t requestSequenceByte_ = 0;   // SEQ of the frame in flight
  int savedCommand_ = 0;
  std::string savedText_;
  int retryCount_ = 4;
  int pollCounter_ = 0;
  bool readFailed_ = false;
  bool unreachable_ = false;  // the last frame found no connection and could not make one
};

// Fills the record from a parsed reply: status word, status bytes, status code, dataCopy and the
// parameters (the caption and the request text are the driver's).
void DecodeZelmarReply(const zelmar::ReplyParser& parser, ZelmarResult& result);
// Splits the reply data at ';' into the parameter slots; nothing changes for empty data.
void ZelmarSplitParams(const std::string& data, ZelmarResult& result);

// True when the reply bytes have the shape of a reply with a four-character status text.
bool ZelmarReplyHasShape(const std::string& rawReply);

}  // namespace morvek
