#include "sim/faults.h"

#include <array>
#include <charconv>
#include <utility>

namespace morvek::sim {

namespace {

constexpr std::array<std::pair<FaultKind, std::string_view>, 17> kNames = {{
    {FaultKind::kSynBurst, "syn"},
    {FaultKind::kNak, "nak"},
    {FaultKind::kBadChecksum, "checksum"},
    {FaultKind::kSplit, "split"},
    {FaultKind::kDrip, "drip"},
    {FaultKind::kSilent, "silent"},
    {FaultKind::kGarbage, "garbage"},
    {FaultKind::kClose, "close"},
    {FaultKind::kWrongSequence, "seq"},
    {FaultKind::kWrongCommand, "command"},
    {FaultKind::kErrorStatus, "status"},
    {FaultKind::kOverlong, "overlong"},
    {FaultKind::kTooManyParams, "params"},
    {FaultKind::kBadCrc, "crc"},
    {FaultKind::kNoMagic, "nomagic"},
    {FaultKind::kOversizeBlock, "bigblock"},
    {FaultKind::kStopAnswering, "stop"},
}};

}  // namespace

std::optional<Fault> ParseFault(std::string_view option) {
  const std::size_t at = option.find('@');
  if (at == std::string_view::npos) return std::nullopt;
  Fault fault;
  const std::string_view name = option.substr(0, at);
  bool known = false;
  for (const auto& [kind, text] : kNames)
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
  for (const auto& [k, text] : kNames)
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
