#include "sim/faults.h"

#include <array>
#include <charconv>
#include <utility>

namespace morvek::sim {

namespace {

struct FaultEntry {
  FaultKind kind;
  std::string_view name;
  std::string_view help;
};

constexpr std::array<FaultEntry, 17> kNames = {{
    {FaultKind::kSynBurst, "syn", "a burst of SYN bytes before the reply (=COUNT, 20)"},
    {FaultKind::kNak, "nak", "NAK instead of the reply"},
    {FaultKind::kBadChecksum, "checksum", "the reply with a wrong checksum digit"},
    {FaultKind::kSplit, "split", "the reply in three pieces with pauses between them"},
    {FaultKind::kDrip, "drip", "the reply a byte at a time"},
    {FaultKind::kSilent, "silent", "no reply to this request"},
    {FaultKind::kGarbage, "garbage", "bytes without SOH instead of the reply"},
    {FaultKind::kClose, "close", "the connection closed instead of the reply"},
    {FaultKind::kWrongSequence, "seq", "a foreign reply: another SEQ"},
    {FaultKind::kWrongCommand, "command", "a foreign reply: another command code"},
    {FaultKind::kErrorStatus, "status",
     "a register error: Zelmar status =TEXT (0CD0), Datecs \"command not allowed\""},
    {FaultKind::kOverlong, "overlong", "a reply with more data than LEN can count"},
    {FaultKind::kTooManyParams, "params", "a reply of 25 parameters"},
    {FaultKind::kBadCrc, "crc", "a reply block with a wrong CRC"},
    {FaultKind::kNoMagic, "nomagic", "a reply block without its 0707h magic"},
    {FaultKind::kOversizeBlock, "bigblock", "a reply block longer than 1460 bytes"},
    {FaultKind::kStopAnswering, "stop", "no answer to this request or any later one"},
}};

}  // namespace

std::string FaultHelp() {
  std::string help =
      "KIND@N or KIND@N=ARG: the fault at request N\n(counted from 1 over the server's life, "
      "frames and blocks alike). Kinds:";
  for (const auto& [kind, name, text] : kNames) {
    help += "\n  ";
    help += name;
    help.append(10 - name.size(), ' ');
    help += text;
  }
  return help;
}

std::optional<Fault> ParseFault(std::string_view option) {
  const std::size_t at = option.find('@');
  if (at == std::string_view::npos) return std::nullopt;
  Fault fault;
  const std::string_view name = option.substr(0, at);
  bool known = false;
  for (const auto& [kind, text, help] : kNames)
    if (text == name) {
      fault.kind = kind;
      known = true;
    }
  if (!known) return std::nullopt;
  std::string_view rest = option.substr(at + 1);
  if (const std::size_t equals = rest.find('='); equals != std::string_view::npos) {
    fault.argument = std::string(rest.substr(equals + 1));
    rest = rest.substr(0, equals);
  }
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), fault.request);
  if (error != std::errc() || end != rest.data() + rest.size() || fault.request < 1)
    return std::nullopt;
  return fault;
}

std::string_view FaultName(FaultKind kind) {
  for (const auto& [k, text, help] : kNames)
    if (k == kind) return text;
  return "?";
}

std::vector<Fault> FaultsAt(const std::vector<Fault>& faults, int request) {
  std::vector<Fault> found;
  for (const Fault& fault : faults)
    if (fault.request == request) found.push_back(fault);
  return found;
}

}  // namespace morvek::sim
