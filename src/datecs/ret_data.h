#pragma once
// The Datecs driver's result record: what one transaction sent, received and decoded. The driver
// owns one, overwrites it with every transaction and hands it to the caller's result callback.
// Every text is held by value, so a copy stays readable after the next exchange.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "codec/status_word.h"

namespace morvek::datecs {

// Sizes of the record's fields. A text that does not fit keeps its first bytes; the rest is dropped
// from that field only.
inline constexpr std::size_t kParamSlots = 20;
inline constexpr std::size_t kDataCopyChars = 127;   // a 128-byte field with its terminator
inline constexpr std::size_t kStatusCodeChars = 19;  // a 20-character field
inline constexpr std::size_t kSentFrameBytes = 300;
inline constexpr std::size_t kRawReplyBytes = 305;  // a 306-byte field with its terminator
inline constexpr std::size_t kRequestTextChars = 599;

// Bits of statusFlags that the driver sets itself; they exclude each other and the status bytes.
inline constexpr std::uint32_t kChecksumError = kStatusChecksumError;
inline constexpr std::uint32_t kNakReceived = kStatusNak;
inline constexpr std::uint32_t kNoReply = kStatusNoReply;

struct RetData {
  std::int32_t paramCount = 0;  // texts in params; 0 when the reply carried no data
  std::int32_t command = 0;     // code of the last request sent
  std::int32_t callerTag = 0;   // the tag the caller passed to the transaction
  std::uint32_t statusFlags = 0;
  std::string commandName;  // DatecsCommandCaption(command)
  std::string requestText;  // the parameter text of the last request
  std::string dataCopy;     // the first bytes of the reply data, before the split
  std::string statusCode;   // always empty: Datecs replies carry no status text
  std::array<std::string, kParamSlots> params;
  std::array<std::uint8_t, 6> statusBytes{};  // S0 to S5, each masked with 7Fh
  std::string sentFrame;                      // the complete last request frame
  std::string rawReply;                       // every byte received except SYN
};

// A result callback: called with the record before the transaction returns (not on the reconnect
// path).
using ResultCallback = std::function<void(RetData&)>;

}  // namespace morvek::datecs
