#pragma once
// The Zelmar driver's one result record, overwritten by every transaction. Failures are bits of
// the status word: 26 no complete reply, 25 NAK, 24 checksum error; otherwise the register's own
// status bits.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "codec/status_word.h"

namespace morvek {

struct ZelmarResult {
  static constexpr std::size_t kParamSlots = 20;
  static constexpr std::size_t kMaxDataCopy = 127;  // a 128-byte field with its terminating zero
  static constexpr std::size_t kMaxStatusCode = 19;
  static constexpr std::size_t kMaxSentFrame = 300;
  static constexpr std::size_t kMaxRawReply = 303;

  static constexpr std::uint32_t kChecksumError = kStatusChecksumError;
  static constexpr std::uint32_t kNak = kStatusNak;
  static constexpr std::uint32_t kNoReply = kStatusNoReply;

  std::int32_t paramCount = 0;  // texts in params; 0 when the reply carried no data
  std::int32_t command = 0;     // of the last request sent
  std::int32_t reserved = 0;
  std::uint32_t statusFlags = 0;
  std::string commandName;  // caption of command
  std::string requestText;  // parameter text of the last request
  std::string dataCopy;     // the reply data before the split, at most kMaxDataCopy bytes
  std::string statusCode;   // the reply's status text, "0000" for success
  std::array<std::string, kParamSlots> params;
  std::array<std::uint8_t, 6> statusBytes{};  // S0..S5, each AND 7Fh
  std::string sentFrame;                      // the last request frame
  std::string rawReply;                       // every byte of the last exchange but SYN
};

}  // namespace morvek
