// Fuzz target: arbitrary bytes as what a Zelmar register sends back within one exchange, fed to
// the reply parser in the pieces the first byte chooses, then decoded into the result record and
// shape-checked, as a transaction does. Then a second exchange on the same parser, as the next
// request would see it.
//
// Whatever the bytes, every field must stay within its bounds and the status word must carry
// exactly one of its failure bits or none; anything else aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "zelmar/frame.h"
#include "zelmar/transaction.h"

namespace {

using namespace morvek;
using namespace morvek::zelmar;

void Check(bool holds) {
  if (!holds) std::abort();
}

void Exchange(ReplyParser& parser, ZelmarResult& result, const std::uint8_t* data,
              std::size_t size) {
  ResetParser(parser);
  parser.statusRaw.fill(0);
  for (std::size_t i = 0; i < size && !parser.replyOk; ++i) FeedByte(parser, data[i]);
  parser.frameComplete = false;
  DecodeZelmarReply(parser, result);
  ZelmarReplyHasShape(result.rawReply);

  Check(parser.rawReply.size() <= kMaxRawReply);
  Check(parser.statusText.size() <= kMaxStatusText);
  Check(parser.data.size() <= 207);
  Check(result.rawReply.size() <= ZelmarResult::kMaxRawReply);
  Check(result.statusCode.size() <= ZelmarResult::kMaxStatusCode);
  Check(result.dataCopy.size() <= ZelmarResult::kMaxDataCopy);
  Check(result.paramCount >= 0 &&
        result.paramCount <= static_cast<std::int32_t>(ZelmarResult::kParamSlots));
  const std::uint32_t failures = result.statusFlags & (ZelmarResult::kNoReply | ZelmarResult::kNak |
                                                       ZelmarResult::kChecksumError);
  Check((failures & (failures - 1)) == 0);
  Check(failures == 0 || result.statusFlags == failures);
  // A reply ended before its four checksum digits never passes as good.
  Check(!parser.replyOk || parser.nakSeen || parser.checksumRead || failures != 0);
  if (!parser.data.empty()) {
    // The parameters and the separators between them give back the data, but for ';' dropped at
    // its end.
    std::string joined;
    for (std::int32_t i = 0; i < result.paramCount; ++i)
      joined += (i ? ";" : "") + result.params[static_cast<std::size_t>(i)];
    Check(parser.data.compare(0, joined.size(), joined) == 0);
    Check(parser.data.find_first_not_of(';', joined.size()) == std::string::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ReplyParser parser;
  ZelmarResult result;
  const std::size_t half = size / 2;
  Exchange(parser, result, data, half);
  Exchange(parser, result, data + half, size - half);
  return 0;
}
