#pragma once
// Reply frames of either protocol broken so that a byte that does not fit throws the reply parser
// back to idle before the reply's ETX. Both protocols end a reply alike: EOT, six status bytes,
// ENQ, four digits, ETX.
#include <cstddef>
#include <string>

namespace morvek::test {

enum class ReplyBreak { kLengthOneShort, kSynInData, kNoEot, kNoEnq };

struct ReplyBreakCase {
  ReplyBreak how;
  const char* name;
};

inline constexpr ReplyBreakCase kReplyBreaks[] = {
    {ReplyBreak::kLengthOneShort, "LEN one short"},
    {ReplyBreak::kSynInData, "SYN inside the data"},
    {ReplyBreak::kNoEot, "no EOT"},
    {ReplyBreak::kNoEnq, "no ENQ"},
};

// dataAt: where the reply's data begins; it holds at least two bytes.
inline std::string Broken(std::string reply, ReplyBreak how, std::size_t dataAt) {
  switch (how) {
    case ReplyBreak::kLengthOneShort: reply[1] = static_cast<char>(reply[1] - 1); break;
    case ReplyBreak::kSynInData: reply.insert(dataAt + 1, 1, '\x16'); break;
    case ReplyBreak::kNoEot: reply.erase(reply.size() - 13, 1); break;
    case ReplyBreak::kNoEnq: reply.erase(reply.size() - 6, 1); break;
  }
  return reply;
}

}  // namespace morvek::test
