#include "blocks/block_transfer.h"

#include <algorithm>

#include "codec/base64.h"
#include "codec/crc16.h"
#include "platform/socket.h"

namespace morvek {

namespace {

void PutLittle(std::string& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t LittleAt(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    const std::size_t k = at + static_cast<std::size_t>(i);
    value = value << 8 | (k < bytes.size() ? static_cast<unsigned char>(bytes[k]) : 0u);
  }
  return value;
}

std::string RequestBlock(std::uint8_t command, std::string_view payload) {
  std::string block = "\x07\x07";
  block += static_cast<char>(command);
  PutLittle(block, static_cast<std::uint32_t>(payload.size()), 2);
  block += payload;
  PutLittle(block, Crc16Modbus(payload), 2);
  return block;
}

std::size_t StatedSize(std::string_view reply) {
  return kReplyHeaderSize + LittleAt(reply, 8, 2) + 2;
}

// Reads until reply holds size bytes or a wait passes without data.
void ReadUpTo(SocketStream& stream, const BlockTimings& timings, std::string& reply,
              std::size_t size) {
  char buffer[1460];
  while (reply.size() < size) {
    if (!stream.WaitForData(timings.waitMs)) return;
    const std::size_t got = stream.Read(buffer, std::min(sizeof buffer, size - reply.size()));
    if (got == 0) return;
    reply.append(buffer, got);
  }
}

void ReadBlock(SocketStream& stream, const BlockTimings& timings, std::string& reply) {
  ReadUpTo(stream, timings, reply, kReplyHeaderSize);
  if (reply.size() == kReplyHeaderSize) ReadUpTo(stream, timings, reply, StatedSize(reply));
}

}  // namespace

std::string GiveDocumentsBlock(int docType, std::int32_t first, std::int32_t last) {
  std::string payload(1, static_cast<char>(docType));
  PutLittle(payload, static_cast<std::uint32_t>(first), 4);
  PutLittle(payload, static_cast<std::uint32_t>(last), 4);
  return RequestBlock(kBlockGiveDocuments, payload);
}

std::string ContinueBlock() {
  return RequestBlock(kBlockContinue, std::string("\x02\x00", 2));
}

ReplyBlock ReadReplyBlock(std::string_view bytes) {
  ReplyBlock block;
  block.magic = bytes.size() >= 2 && bytes[0] == 0x07 && bytes[1] == 0x07;
  block.flags = static_cast<std::uint8_t>(LittleAt(bytes, 2, 1));
  block.document = static_cast<std::int32_t>(LittleAt(bytes, 4, 4));
  const std::size_t length = LittleAt(bytes, 8, 2);
  if (bytes.size() != kReplyHeaderSize + length + 2 || length > kMaxReplyPayload) return block;
  block.payload = bytes.substr(kReplyHeaderSize, length);
  block.crcOk = Crc16Modbus(block.payload) == LittleAt(bytes, kReplyHeaderSize + length, 2);
  if (!block.crcOk) block.payload = {};
  return block;
}

void AppendPayloadTexts(std::string_view payload, std::string& documentText) {
  for (std::size_t at = 0; at < payload.size();) {
    const std::size_t end = std::min(payload.find('\0', at), payload.size());
    documentText += Base64Decode(payload.substr(at, end - at));
    at = end + 1;
  }
}

bool IsWholeBlock(std::string_view reply) {
  return reply.size() >= kReplyHeaderSize && reply.size() == StatedSize(reply);
}

std::size_t ExchangeBlock(ClientSocket& socket, const BlockTimings& timings, std::string_view block,
                          std::string& reply, int graceMs) {
  reply.clear();
  if (!socket.IsActive()) return 0;
  try {
    SocketStream stream(socket, timings.streamTimeoutMs);
    stream.Write(block.data(), block.size());
    ReadBlock(stream, timings, reply);
    if (graceMs > 0 && !reply.empty() && stream.WaitForData(graceMs)) {
      // One request, one block: a second one unasked means the first was a late reply.
      std::string next;
      ReadBlock(stream, timings, next);
      reply = std::move(next);
    }
  } catch (const SocketError&) {
    // The register went away: what was read stands, a short block fails its CRC. The broken
    // connection is dropped, so that the next exchange does not wait on it.
    socket.Deactivate();
  }
  return reply.size();
}

TransferEnd RunBlockTransfer(ClientSocket& socket, const BlockTimings& timings, bool& replyOwed,
                             int docType, std::int32_t first, std::int32_t last,
                             const BlockSink& sink) {
  std::string reply;
  const auto exchange = [&](std::string_view request) {
    const std::size_t got =
        ExchangeBlock(socket, timings, request, reply, replyOwed ? timings.lateGraceMs : 0);
    replyOwed = !IsWholeBlock(reply);
    return got;
  };
  std::string documentText;
  bool open = false;     // a document has begun and not ended
  bool damaged = false;  // a block of the open document was lost: it is not handed on
  std::uint8_t flags = 0;
  std::int32_t document = first;
  int withoutMagic = 0;
  // The open document goes with the transfer that ends before it does.
  const auto end = [&](TransferEnd how) {
    if (open) sink.loseDocument(document, damaged ? BlockLoss::kDamaged : BlockLoss::kBroken);
    return how;
  };
  std::size_t got = exchange(GiveDocumentsBlock(docType, first, last));
  for (;;) {
    if (got == 0) return end(TransferEnd::kSilent);
    const ReplyBlock block = ReadReplyBlock(reply);
    if (block.magic) {
      withoutMagic = 0;
      flags = block.flags;
      document = block.document;
      if (block.crcOk)
        AppendPayloadTexts(block.payload, documentText);
      else
        damaged = true;
    } else {
      // The previous block's flags stay in force; the text this reply carried is lost.
      if (++withoutMagic == kMaxRepliesWithoutMagic) return end(TransferEnd::kWithoutMagic);
      damaged = true;
    }
    open = true;
    if ((flags & kBlockFlagContinued) == 0) {
      if (damaged)
        sink.loseDocument(document, BlockLoss::kDamaged);
      else if (!documentText.empty())
        sink.addDocument(document, documentText);
      documentText.clear();
      damaged = open = false;
    }
    sink.progress(document);
    if (flags & kBlockFlagsLast) return end(TransferEnd::kLastBlock);
    got = exchange(ContinueBlock());
  }
}

}  // namespace morvek
