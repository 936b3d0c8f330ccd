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

constexpr std::array<FaultEntry, 20> kNames = {{
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
    {FaultKind::kLate, "late", "the reply held back and sent just before the next one"},
    {FaultKind::kShortLength, "shortlen", "a reply whose LEN byte is one short"},
    {FaultKind::kGone, "gone", "the server goes away: the connection closed, no more taken"},
}};

std::optional<FaultKind> KindNamed(std::string_view name) {
  for (const auto& [kind, text, help] : kNames)
    if (text == name) return kind;
  return std::nullopt;
}

// splitmix64: a well-mixed 64-bit value from any input.
std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

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
  const auto kind = KindNamed(option.substr(0, at));
  if (!kind) return std::nullopt;
  fault.kind = *kind;
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

std::optional<Fault> RandomFaultAt(const RandomFaults& random, int request) {
  if (random.rate <= 0.0 || random.kinds.empty()) return std::nullopt;
  const std::uint64_t draw = Mix(random.seed ^ Mix(static_cast<std::uint64_t>(request)));
  // The high 53 bits as a fraction in [0, 1); the low bits choose the kind.
  if (static_cast<double>(draw >> 11) * 0x1.0p-53 >= random.rate) return std::nullopt;
  Fault fault;
  fault.kind = random.kinds[(draw & 0x7FF) % random.kinds.size()];
  fault.request = request;
  return fault;
}

std::optional<std::vector<FaultKind>> ParseFaultKinds(std::string_view names) {
  std::vector<FaultKind> kinds;
  while (!names.empty()) {
    const std::size_t comma = names.find(',');
    const auto kind = KindNamed(names.substr(0, comma));
    if (!kind) return std::nullopt;
    kinds.push_back(*kind);
    names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
  }
  if (kinds.empty()) return std::nullopt;
  return kinds;
}

}  // namespace morvek::sim
