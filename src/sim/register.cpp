#include "sim/register.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>

#include "codec/base64.h"
#include "codec/crc16.h"

namespace morvek::sim {

namespace {

constexpr std::uint8_t kDiagnosticsZelmar = 0x80;
constexpr std::uint8_t kDiagnosticsDatecs = 0x5A;
constexpr std::uint8_t kGetDocument = 0xA7;
constexpr std::uint8_t kPrintInterval = 0xEB;
constexpr std::uint8_t kDocumentsByDate = 0xEE;

constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::optional<int> Integer(std::string_view text) {
  int value = 0;
  if (!text.empty() && text.front() == ' ') text.remove_prefix(1);  // a right-aligned day
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::vector<std::string> Split(std::string_view data, char separator) {
  std::vector<std::string> params;
  if (!data.empty() && data.back() == separator) data.remove_suffix(1);
  if (data.empty()) return params;
  for (std::size_t at = 0;;) {
    const std::size_t next = data.find(separator, at);
    params.emplace_back(data.substr(at, next - at));
    if (next == std::string_view::npos) break;
    at = next + 1;
  }
  return params;
}

// A date DDMMYY and a time HHMM as yyyymmddhhmm00; the seconds are added by the caller.
std::optional<std::int64_t> Stamp(std::string_view date, std::string_view time) {
  if (date.size() != 6 || time.size() != 4) return std::nullopt;
  const auto day = Integer(date.substr(0, 2)), month = Integer(date.substr(2, 2)),
             year = Integer(date.substr(4, 2)), hour = Integer(time.substr(0, 2)),
             minute = Integer(time.substr(2, 2));
  if (!day || !month || !year || !hour || !minute) return std::nullopt;
  return ((((2000LL + *year) * 100 + *month) * 100 + *day) * 100 + *hour) * 10000 + *minute * 100LL;
}

void PutLittle(std::string& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

bool FirmwareAllowsBlocks(std::string_view firmware) {
  if (firmware == "Dec  4 2015") return true;
  if (firmware.size() != 11) return false;
  const auto year = Integer(firmware.substr(7, 4));
  if (!year) return false;
  if (*year != 2015) return *year > 2015;
  const auto day = Integer(firmware.substr(4, 2));
  return firmware.substr(0, 3) == "Dec" && day && *day > 4;
}

std::string DatecsFirmwareDate(std::string_view firmware) {
  if (firmware.size() != 11 || firmware[3] != ' ' || firmware[6] != ' ') return {};
  const auto day = Integer(firmware.substr(4, 2));
  const auto year = Integer(firmware.substr(7, 4));
  const std::string_view month = firmware.substr(0, 3);
  if (!day || !year || *day < 1 || *day > 31 ||
      std::find(std::begin(kMonths), std::end(kMonths), month) == std::end(kMonths))
    return {};
  return std::to_string(*day) + std::string(month) + std::string(firmware.substr(9, 2));
}

std::string BuildReplyBlock(std::uint8_t flags, std::int32_t document, std::string_view payload) {
  std::string block = "\x07\x07";
  block += static_cast<char>(flags);
  block += '\0';
  PutLittle(block, static_cast<std::uint32_t>(document), 4);
  PutLittle(block, static_cast<std::uint32_t>(payload.size()), 2);
  block += payload;
  PutLittle(block, Crc16Modbus(payload), 2);
  return block;
}

std::string BuildRequestBlock(std::uint8_t command, std::string_view payload) {
  std::string block = "\x07\x07";
  block += static_cast<char>(command);
  PutLittle(block, static_cast<std::uint32_t>(payload.size()), 2);
  block += payload;
  PutLittle(block, Crc16Modbus(payload), 2);
  return block;
}

Register::Register(const RegisterConfig& config, const Journal& journal, SimLog& log)
    : config_(config),
      journal_(journal),
      log_(log),
      blocksEnabled_(config.block || FirmwareAllowsBlocks(config.firmware)) {}

std::string Register::Join(const std::vector<std::string>& params) const {
  const char separator = config_.protocol == Protocol::kZelmar ? ';' : ',';
  std::string data;
  for (std::size_t i = 0; i < params.size(); ++i) {
    if (i > 0) data += separator;
    data += params[i];
  }
  return data;
}

void Register::SyntaxError(Answer& answer) const {
  answer.data.clear();
  if (config_.protocol == Protocol::kZelmar)
    answer.status = kStatusSyntaxError;
  else
    answer.statusBytes[0] |= 0x01;  // S0 bit 0: syntax error
}

void Register::NotAllowed(Answer& answer, std::string_view zelmarStatus) const {
  answer.data.clear();
  if (config_.protocol == Protocol::kZelmar)
    answer.status = zelmarStatus;
  else
    answer.statusBytes[1] |= 0x02;  // S1 bit 1: command not allowed
}

void Register::Diagnostics(Answer& answer) const {
  if (config_.protocol == Protocol::kZelmar) {
    // Model, version, fiscal number, firmware date, then seven more the tool only shows.
    answer.data = Join({"ZELMAR-EKSPERT", "V2.01", config_.fiscalNumber, config_.firmware, "12:00",
                        config_.idDev, "0", "0", "0", "0", "0"});
  } else {
    // Model and version, firmware date and time, separated by spaces within the first 20
    // characters, then five more parameters.
    answer.data = "ZD-3.02 " + DatecsFirmwareDate(config_.firmware) + " 1200," +
                  Join({"FFFF", "0000", config_.idDev, config_.fiscalNumber, "0"});
  }
}

void Register::Document(const std::vector<std::string>& params, Answer& answer) const {
  const auto type = params.size() == 3 ? Integer(params[0]) : std::nullopt;
  const auto number = params.size() == 3 ? Integer(params[1]) : std::nullopt;
  const auto fragment = params.size() == 3 ? Integer(params[2]) : std::nullopt;
  if (!type || !number || !fragment || *fragment < 0) return SyntaxError(answer);
  const bool zelmar = config_.protocol == Protocol::kZelmar;
  const JournalDocument* document =
      journal_.Find(*type == 0 ? DocumentKind::kZReport : DocumentKind::kReceipt, *number);
  if (document == nullptr) {
    if (zelmar) return NotAllowed(answer, kStatusNoDocument);
    answer.data = "-1,0";  // no more data: the tool ends the document
    return;
  }
  // Each fragment is the Base64 of its own bytes, so that the tool can decode it alone.
  const std::string_view text = journal_.Text(*document);
  // Whole groups of four characters; a size outside 4 to 200 would give empty fragments without
  // end or replies longer than LEN can count.
  const std::size_t bytesPerFragment =
      static_cast<std::size_t>(std::clamp(config_.fragmentSize, 4, 200)) / 4 * 3;
  const std::size_t offset = static_cast<std::size_t>(*fragment) * bytesPerFragment;
  if (offset < text.size()) {
    answer.data = Join({"1", Base64Encode(text.substr(offset, bytesPerFragment))});
    return;
  }
  // The end of the document: a single parameter for odd numbers, an indicator of no more data
  // with a second parameter for even ones, so that the tool meets both.
  if (*number % 2 != 0)
    answer.data = "0";
  else
    answer.data = zelmar ? "0;0" : "-1,0";
}

void Register::DocumentsByDate(const std::vector<std::string>& params, Answer& answer) const {
  if (params.size() != 5 || !Integer(params[4])) return SyntaxError(answer);
  const auto first = Stamp(params[0], params[1]);
  const auto last = Stamp(params[2], params[3]);
  if (!first || !last) return SyntaxError(answer);
  const auto numbers = journal_.ReceiptsStamped(*first, *last + 59);
  if (!numbers) return NotAllowed(answer, kStatusNoDocumentsInInterval);
  answer.data = Join({std::to_string(numbers->first), std::to_string(numbers->second)});
}

void Register::PrintInterval(const std::vector<std::string>& params, Answer& answer) const {
  const auto first = params.size() == 2 ? Integer(params[0]) : std::nullopt;
  const auto last = params.size() == 2 ? Integer(params[1]) : std::nullopt;
  if (!first || !last) return SyntaxError(answer);
  log_.Line("printout: documents " + std::to_string(*first) + " to " + std::to_string(*last));
  for (const JournalDocument* document :
       journal_.Range(DocumentKind::kReceipt, std::min(*first, *last), std::max(*first, *last)))
    log_.Line("printout: receipt " + std::to_string(document->number) + " of " +
              std::to_string(document->stamp));
  log_.Line("printout: end");
}

void Register::Execute(const Request& request, Answer& answer) {
  const bool zelmar = config_.protocol == Protocol::kZelmar;
  // Zelmar parameters follow the password and end in ';' (the comma form is read too); Datecs
  // parameters are separated by commas.
  char separator = ',';
  if (zelmar && request.data.find(';') != std::string::npos) separator = ';';
  std::vector<std::string> params = Split(request.data, separator);
  if (zelmar && !params.empty()) params.erase(params.begin());  // the password
  switch (request.command) {
    case kDiagnosticsZelmar:
      if (zelmar) return Diagnostics(answer);
      break;
    case kDiagnosticsDatecs:
      if (!zelmar) return Diagnostics(answer);
      break;
    case kGetDocument: return Document(params, answer);
    case kDocumentsByDate: return DocumentsByDate(params, answer);
    case kPrintInterval: return PrintInterval(params, answer);
    default: break;
  }
  if (zelmar)
    answer.status = kStatusUnknownCommand;
  else
    answer.statusBytes[0] |= 0x02;  // S0 bit 1: invalid command
}

std::vector<Fault> Register::FaultsOf(int requestNumber) const {
  std::vector<Fault> faults = FaultsAt(config_.faults, requestNumber);
  if (const auto random = RandomFaultAt(config_.randomFaults, requestNumber)) {
    log_.Line("fault at random: " + std::string(FaultName(random->kind)) + "@" +
              std::to_string(requestNumber));
    faults.push_back(*random);
  }
  return faults;
}

Output Register::OnFrame(const Request& request, int requestNumber) {
  const std::vector<Fault> faults = FaultsOf(requestNumber);
  Answer answer;
  answer.sequence = request.sequence;
  answer.command = request.command;
  Execute(request, answer);
  const bool zelmar = config_.protocol == Protocol::kZelmar;
  for (const Fault& fault : faults) {
    switch (fault.kind) {
      case FaultKind::kWrongSequence:
        answer.sequence =
            static_cast<std::uint8_t>(answer.sequence == 0x7E ? 0x20 : answer.sequence + 1);
        break;
      case FaultKind::kWrongCommand: answer.command ^= 0x01; break;
      case FaultKind::kErrorStatus:
        if (zelmar)
          answer.status =
              fault.argument.empty() ? std::string(kStatusAcquirerLink) : fault.argument;
        else
          answer.statusBytes[1] |= 0x02;
        answer.data.clear();
        break;
      case FaultKind::kOverlong: answer.data.assign(300, 'A'); break;
      case FaultKind::kTooManyParams: {
        std::vector<std::string> many;
        for (int i = 1; i <= 25; ++i) many.push_back(std::to_string(i));
        answer.data = Join(many);
        break;
      }
      default: break;
    }
  }
  std::string bytes =
      zelmar ? BuildZelmarReply(answer.sequence, answer.command, answer.status, answer.data,
                                answer.statusBytes)
             : BuildDatecsReply(answer.sequence, answer.command, answer.data, answer.statusBytes);
  for (const Fault& fault : faults)
    if (fault.kind == FaultKind::kShortLength) bytes = WithLengthOneShort(std::move(bytes));
  // After LEN, whose fault counts the digits again: a wrong digit stays wrong.
  for (const Fault& fault : faults)
    if (fault.kind == FaultKind::kBadChecksum) bytes[bytes.size() - 2] ^= 0x01;
  return Deliver(std::move(bytes), faults);
}

Output Register::OnBrokenFrame(int requestNumber) {
  return Deliver(std::string(1, kNak), FaultsOf(requestNumber));
}

std::string Register::NextBlock() {
  if (transferAt_ >= transfer_.size()) return BuildReplyBlock(kFlagLastBlock, transferFirst_, {});
  const JournalDocument& document = *transfer_[transferAt_];
  if (transferText_.empty()) {
    transferText_ = Base64Encode(journal_.Text(document));
    transferOffset_ = 0;
  }
  // Whole groups of four characters, so that each text decodes alone, each ended by a zero byte.
  // A block holds its piece as two texts where it can, as the register's firmware may.
  const std::size_t room = (kMaxBlockPayload - 2) / 4 * 4;
  const std::size_t count = std::min(room, transferText_.size() - transferOffset_);
  const std::size_t half = count / 8 * 4;
  std::string payload = transferText_.substr(transferOffset_, half);
  if (half > 0) payload += '\0';
  payload.append(transferText_, transferOffset_ + half, count - half);
  payload += '\0';
  transferOffset_ += count;
  std::uint8_t flags = 0;
  if (transferOffset_ < transferText_.size()) {
    flags = kFlagContinued;
  } else {
    transferText_.clear();
    transferText_.shrink_to_fit();
    if (++transferAt_ == transfer_.size()) flags = kFlagLastBlock;
  }
  return BuildReplyBlock(flags, document.number, payload);
}

Output Register::OnBlock(std::uint8_t command, std::string_view payload, bool crcOk,
                         int requestNumber) {
  const std::vector<Fault> faults = FaultsOf(requestNumber);
  if (!crcOk) {
    log_.Line("block refused: wrong CRC");
    return Deliver({}, faults);
  }
  if (command == kBlockGiveDocuments && payload.size() == 9) {
    auto int32At = [&](std::size_t at) {
      std::uint32_t value = 0;
      for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(payload[at + i]);
      return static_cast<std::int32_t>(value);
    };
    const auto kind = payload[0] == 0 ? DocumentKind::kZReport : DocumentKind::kReceipt;
    transferFirst_ = int32At(1);
    transfer_ = journal_.Range(kind, transferFirst_, int32At(5));
    transferAt_ = 0;
    transferText_.clear();
  } else if (command != kBlockContinue) {
    log_.Line("block refused: unknown command");
    return Deliver({}, faults);
  }
  std::string block = NextBlock();
  for (const Fault& fault : faults) {
    switch (fault.kind) {
      case FaultKind::kBadCrc: block[block.size() - 1] ^= 0x5A; break;
      case FaultKind::kNoMagic: block[0] = block[1] = 0x00; break;
      case FaultKind::kOversizeBlock: {
        const std::string payloadText(kMaxBlockPayload + 100, 'A');
        block = BuildReplyBlock(static_cast<std::uint8_t>(block[2]), transferFirst_,
                                payloadText + '\0');
        break;
      }
      default: break;
    }
  }
  return Deliver(std::move(block), faults);
}

Output Register::Deliver(std::string bytes, const std::vector<Fault>& faults) {
  Output output;
  for (const Fault& fault : faults)
    if (fault.kind == FaultKind::kStopAnswering) stopped_ = true;
  if (stopped_ || bytes.empty()) return output;
  std::string prefix(static_cast<std::size_t>(config_.busySyn), kSyn);
  for (const Fault& fault : faults) {
    switch (fault.kind) {
      case FaultKind::kNak: bytes.assign(1, kNak); break;
      case FaultKind::kGarbage: bytes = "\x7F\x55garbage\x20\xAA\x10"; break;
      case FaultKind::kSilent: return output;
      case FaultKind::kClose: output.close = true; return output;
      case FaultKind::kGone: output.close = output.gone = true; return output;
      case FaultKind::kSynBurst: {
        const auto count = Integer(fault.argument);
        prefix.append(static_cast<std::size_t>(count && *count > 0 ? *count : 20), kSyn);
        break;
      }
      default: break;
    }
  }
  bytes.insert(0, prefix);
  for (const Fault& fault : faults)
    if (fault.kind == FaultKind::kLate) {
      heldBack_ += bytes;
      return output;
    }
  // A reply held back goes first, whole, as a late reply arrives.
  if (!heldBack_.empty()) output.pieces.push_back(std::exchange(heldBack_, {}));
  for (const Fault& fault : faults) {
    if (fault.kind == FaultKind::kSplit && bytes.size() >= 3) {
      const std::size_t third = bytes.size() / 3;
      output.pieces.insert(output.pieces.end(), {bytes.substr(0, third), bytes.substr(third, third),
                                                 bytes.substr(2 * third)});
      return output;
    }
    if (fault.kind == FaultKind::kDrip) {
      for (char c : bytes) output.pieces.emplace_back(1, c);
      output.slow = true;
      return output;
    }
  }
  output.pieces.push_back(std::move(bytes));
  return output;
}

}  // namespace morvek::sim
