// Fuzz target: arbitrary bytes as what the tool sends a simulated register on one connection, read
// the way the server reads them (request blocks while blocks are on, request frames otherwise) and
// answered by the register. The first byte chooses the protocol, block transfer and the fragment
// size; the rest is the stream.
//
// Every request frame read must be one the tool could have sent: rebuilt and read again it gives
// the same request. Every answer to a frame is one whole reply frame with the request's sequence
// and command and a right checksum, read by the tests' own reader; a broken frame gets one NAK;
// every answer to a block is a whole reply block with its magic and a matching CRC. Anything else
// aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "blocks/block_transfer.h"
#include "sim/block_reader.h"
#include "sim/journal_generator.h"
#include "sim/register.h"  // with the frames
#include "sim/sim_log.h"
#include "sim/sim_test_support.h"

namespace {

using namespace morvek::sim;

void Check(bool holds) {
  if (!holds) std::abort();
}

const Journal& SmallJournal() {
  static const Journal journal = [] {
    morvek::JournalOptions options;
    options.receipts = 12;
    options.zReports = 2;
    options.seed = 7;
    return Journal::FromText(morvek::GenerateJournal(options).xml);
  }();
  return journal;
}

// The same request from a fresh parser, which reports it at the last byte and not before.
void CheckRebuilt(const Request& request) {
  Check(request.sequence >= 0x20 && request.sequence <= 0x7E);
  Check(request.data.size() <= 0xFF - 0x24);
  const std::string frame = BuildRequestFrame(request.sequence, request.command, request.data);
  RequestParser parser;
  for (std::size_t i = 0; i + 1 < frame.size(); ++i)
    Check(parser.Feed(static_cast<std::uint8_t>(frame[i])) == RequestParser::Event::kNone);
  Check(parser.Feed(static_cast<std::uint8_t>(frame.back())) == RequestParser::Event::kFrame);
  Check(parser.request().sequence == request.sequence);
  Check(parser.request().command == request.command);
  Check(parser.request().data == request.data);
  Check(parser.Idle());
}

std::string Joined(const Output& output) {
  Check(!output.close);
  std::string bytes;
  for (const auto& piece : output.pieces) bytes += piece;
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  RegisterConfig config;
  config.protocol = data[0] & 1 ? Protocol::kDatecs : Protocol::kZelmar;
  config.block = (data[0] & 2) != 0;
  config.firmware = data[0] & 4 ? "Dec  4 2015" : "Nov 12 2014";
  config.fragmentSize = 4 + (data[0] >> 3) * 8;
  const bool zelmar = config.protocol == Protocol::kZelmar;
  SimLog log(nullptr);
  Register device(config, SmallJournal(), log);
  RequestParser parser;
  BlockReader blocks;
  int requests = 0;

  for (std::size_t i = 1; i < size; ++i) {
    const char b = static_cast<char>(data[i]);
    BlockReader::Event block = BlockReader::Event::kNoBlock;
    if (blocks.Active() || (parser.Idle() && b == 0x07 && device.blocksEnabled()))
      block = blocks.Feed(b);
    if (block == BlockReader::Event::kBlock) {
      const bool crcOk = blocks.CrcOk();
      const std::string reply =
          Joined(device.OnBlock(blocks.Command(), blocks.Payload(), crcOk, ++requests));
      const std::string taken = blocks.Take();
      Check(taken.size() >= 7 && taken[0] == 0x07 && taken[1] == 0x07);
      Check(!blocks.Active());
      if (!reply.empty()) {
        const morvek::ReplyBlock read = morvek::ReadReplyBlock(reply);
        Check(crcOk && read.magic && read.crcOk);
      }
    } else if (block == BlockReader::Event::kNoBlock) {
      switch (parser.Feed(static_cast<std::uint8_t>(b))) {
        case RequestParser::Event::kFrame: {
          const Request& request = parser.request();
          CheckRebuilt(request);
          const std::string reply = Joined(device.OnFrame(request, ++requests));
          const test::ReadReply read = test::ReadReplyFrame(reply, zelmar);
          Check(read.ok && read.sequence == request.sequence && read.command == request.command);
          break;
        }
        case RequestParser::Event::kBroken:
          Check(Joined(device.OnBrokenFrame(++requests)) == std::string(1, kNak));
          break;
        case RequestParser::Event::kNone: break;
      }
    }
  }
  return 0;
}
