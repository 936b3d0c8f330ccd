#pragma once
// Block transfer: registers with recent firmware hand out a whole range of documents in byte
// blocks, exchanged on the main connection without the framing of either register protocol.
//
// Request block: 07 07, command (1), payload length n (2), payload, CRC (2).
// Reply block:   07 07, flags (1), spare (1), document number (4), payload length n (2), payload
//                (zero-ended Base64 texts), CRC (2).
// Multi-byte fields are little-endian; the CRC is the CRC-16/MODBUS of the payload alone.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace morvek {

class ClientSocket;

struct BlockTimings {
  int streamTimeoutMs = 60000;  // the stream's write and read
  int waitMs = 60000;           // each wait for a reply block or the rest of one
  // After an exchange that gave up on its reply, how long the next reply is watched for another
  // block behind it: the register answers each request with one block, so a second one means the
  // first was the late reply to the request given up on.
  int lateGraceMs = 2000;
};

inline constexpr std::uint8_t kBlockGiveDocuments = 0x10;
inline constexpr std::uint8_t kBlockContinue = 0x21;
// The document goes on in the next block.
inline constexpr std::uint8_t kBlockFlagContinued = 0x02;
// Any of these: the last block of the transfer.
inline constexpr std::uint8_t kBlockFlagsLast = 0x01 | 0x04 | 0x08;
inline constexpr std::size_t kReplyHeaderSize = 10;
// A block is at most 1460 bytes (one receive buffer): header, payload and CRC.
inline constexpr std::size_t kMaxReplyPayload = 1460 - kReplyHeaderSize - 2;
// Replies without the magic in a row after which the register counts as lost.
inline constexpr int kMaxRepliesWithoutMagic = 3;

// The give-documents block for the type code and the numbers first to last.
std::string GiveDocumentsBlock(int docType, std::int32_t first, std::int32_t last);
// Always 07 07 21 02 00 02 00 00 D0.
std::string ContinueBlock();

// A reply block as read: header fields (zero where the reply was too short to hold them), and the
// payload when the block arrived whole with a matching CRC.
struct ReplyBlock {
  bool magic = false;
  // False too for a block shorter or longer than its stated length, and for one whose payload
  // is longer than a block can be: it is read whole, so the next block still starts in step.
  bool crcOk = false;
  std::uint8_t flags = 0;
  std::int32_t document = 0;
  std::string_view payload;
};
ReplyBlock ReadReplyBlock(std::string_view bytes);

// Appends the decoded zero-ended Base64 texts of a payload; the last text ends at the payload's
// end at the latest.
void AppendPayloadTexts(std::string_view payload, std::string& documentText);

// Writes one request block and reads one reply block whole into reply: the header, then as many
// bytes as its payload length and CRC need, each wait bounded by the timings. Socket errors end the
// exchange with what was read. With graceMs, a block that follows the reply within that time
// replaces it (the first was late). Returns the count read; 0 when nothing came.
std::size_t ExchangeBlock(ClientSocket& socket, const BlockTimings& timings, std::string_view block,
                          std::string& reply, int graceMs = 0);

// Whether reply is a whole block by its stated length; a reply short of it may still be on its way.
bool IsWholeBlock(std::string_view reply);

// Why a document of a transfer was lost.
enum class BlockLoss {
  kDamaged,  // a block of it failed its CRC or came without the magic
  kBroken,   // the transfer ended before it came whole
};

// What one transfer hands back: every document that arrived whole with the number of its last
// block, every document lost on the way with the number its blocks gave, and the number of the
// document each reply block belongs to (for the progress).
struct BlockSink {
  std::function<void(std::int32_t number, std::string_view document)> addDocument;
  std::function<void(std::int32_t number, BlockLoss loss)> loseDocument;
  std::function<void(std::int32_t document)> progress;
};

// How a transfer ended: on the register's last block, or broken off because the register fell
// silent or kept answering without the magic.
enum class TransferEnd { kLastBlock, kSilent, kWithoutMagic };

// One transfer of the documents first to last. Documents damaged on the way or left open at the
// end are not handed on but named lost.
// replyOwed carries over from one transfer to the next on the same connection: set when an
// exchange gave up before its reply came whole, so that the next reply is watched for a late one
// ahead of it. Without that the connection would run a block behind from then on, and a transfer
// could end on another request's last block with documents missing.
TransferEnd RunBlockTransfer(ClientSocket& socket, const BlockTimings& timings, bool& replyOwed,
                             int docType, std::int32_t first, std::int32_t last,
                             const BlockSink& sink);

}  // namespace morvek
