#include "collect/fleet.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>

#include "platform/ini_file.h"

namespace morvek {

namespace {

constexpr const char* kKeys[] = {"host", "port", "protocol", "fiscal-number", "id-dev", "password"};
// Longer than any address, number or password a register takes.
constexpr std::size_t kValueSize = 256;

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool KnownKey(const std::string& key) {
  const std::string lower = Lower(key);
  return std::any_of(std::begin(kKeys), std::end(kKeys),
                     [&](const char* known) { return lower == known; });
}

std::optional<int> Port(const std::string& text) {
  int port = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  if (port < 1 || port > 65535) return {};
  return port;
}

FleetRegister ReadSection(const IniFile& file, const std::string& section) {
  const auto fail = [&](const std::string& what) {
    throw FleetError(file.Path() + ": [" + section + "]: " + what);
  };
  for (const std::string& key : file.Keys(section))
    if (!KnownKey(key)) fail("unknown key \"" + key + "\"");
  const auto read = [&](const char* key) { return file.ReadString(section, key, "", kValueSize); };

  FleetRegister entry;
  entry.name = section;
  entry.host = read("host");
  if (entry.host.empty()) fail("no host");
  if (const std::string port = read("port"); !port.empty()) {
    const auto number = Port(port);
    if (!number) fail("port \"" + port + "\" is not 1 to 65535");
    entry.port = *number;
  }
  const std::string protocol = Lower(read("protocol"));
  if (protocol == "datecs")
    entry.protocol = Protocol::kDatecs;
  else if (protocol == "zelmar")
    entry.protocol = Protocol::kZelmar;
  else
    fail(protocol.empty() ? "no protocol (datecs or zelmar)"
                          : "protocol \"" + protocol + "\" is neither datecs nor zelmar");
  entry.fiscalNumber = read("fiscal-number");
  entry.idDev = read("id-dev");
  if (entry.fiscalNumber.empty() == entry.idDev.empty())
    fail("give exactly one of fiscal-number and id-dev");
  entry.password = read("password");
  return entry;
}

}  // namespace

std::vector<FleetRegister> ReadFleet(const std::string& path) {
  if (!std::ifstream(path)) throw FleetError(path + ": cannot read the fleet file");
  const IniFile file(path);
  std::vector<FleetRegister> fleet;
  std::vector<std::string> seen;  // names as the settings file matches them
  for (const std::string& section : file.Sections()) {
    if (section.empty()) throw FleetError(path + ": a section without a name");
    const std::string key = Lower(section);
    if (std::find(seen.begin(), seen.end(), key) != seen.end())
      throw FleetError(path + ": [" + section + "]: named twice");
    seen.push_back(key);
    fleet.push_back(ReadSection(file, section));
  }
  if (fleet.empty()) throw FleetError(path + ": no registers (a [name] section for each)");
  return fleet;
}

int ServerPort(const FleetRegister& entry) {
  if (entry.port != 0) return entry.port;
  return entry.protocol == Protocol::kZelmar ? kZelmarServerPort : kDatecsServerPort;
}

const char* ProtocolName(Protocol protocol) {
  return protocol == Protocol::kZelmar ? "zelmar" : "datecs";
}

}  // namespace morvek
