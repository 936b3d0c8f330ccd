// Fuzz target: arbitrary bytes as what a Datecs register sends back, through the reply parser and
// the decoder into the result record, then through the program's result callback.
//
// The first byte picks the command the reply answers (so the data adjustments of 32h, 35h, 3Eh
// and 5Ah are reached); the rest is fed to the parser twice, as two exchanges, because the
// parser's state survives from one exchange to the next. Whatever the bytes, every field must keep
// within its bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "datecs/transaction.h"
#include "platform/socket.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvek;
  static ClientSocket socket;
  DatecsDriver driver(socket);
  if (size == 0) return 0;
  static constexpr std::uint8_t kCommands[] = {0x32, 0x35, 0x3E, 0x5A, 0xA7, 0xEE, 0xEB, 0x4A};
  const std::uint8_t command = kCommands[data[0] % sizeof kCommands];
  for (int exchange = 0; exchange < 2; ++exchange) {
    driver.record.command = command;
    driver.record.statusFlags = 0;
    datecs::ResetParser(driver.parser);
    for (std::size_t i = 1; i < size; ++i) datecs::FeedByte(driver.parser, data[i]);
    driver.parser.frameComplete = false;
    driver.DatecsDecodeReply();
    // A copy, as the program keeps: the texts must stand on their own.
    const datecs::RetData r = driver.record;
    Check(r.paramCount >= 0 && r.paramCount <= static_cast<int>(datecs::kParamSlots));
    Check(r.dataCopy.size() <= datecs::kDataCopyChars);
    Check(r.rawReply.size() <= datecs::kRawReplyBytes);
    Check(driver.parser.data.size() <= datecs::kMaxReplyData);
    // The driver's own bits exclude each other and the status bits.
    const std::uint32_t own =
        r.statusFlags & (datecs::kChecksumError | datecs::kNakReceived | datecs::kNoReply);
    Check(own == 0 || own == r.statusFlags);
    Check((own & (own - 1)) == 0);
    if (exchange == 1) driver.parser.rawReply.clear();
  }
  return 0;
}
