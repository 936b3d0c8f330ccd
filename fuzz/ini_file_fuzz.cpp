// Fuzz target: arbitrary bytes as the settings file. Every section and key the file names is read
// as a string (whole and cut to a small buffer) and as an integer; then one key, chosen by the
// first byte, is written and everything is read again.
//
// A cut value is the start of the whole one; an integer is the leading digits of the string value
// after one sign, held to the 32-bit range; after the write the key reads back the value written
// and every other key reads as before. Anything else aborts.
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ini_file.h"

namespace {

using morvek::IniFile;

void Check(bool holds) {
  if (!holds) std::abort();
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

// A name the write can take as it stands: nothing the file's layout gives a meaning to.
bool Plain(std::string_view name) {
  return !name.empty() && Trim(name) == name &&
         name.find_first_of("[]=;\r\n\"'") == std::string_view::npos;
}

void AddName(std::vector<std::string>& names, std::string_view name) {
  if (names.size() < 8 &&
      std::none_of(names.begin(), names.end(), [&](const auto& n) { return n == name; }))
    names.emplace_back(name);
}

// The section and key names the file mentions, roughly; the settings the program uses besides.
void CollectNames(std::string_view text, std::vector<std::string>& sections,
                  std::vector<std::string>& keys) {
  AddName(sections, "Connection");
  AddName(keys, "IPAddres");
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      AddName(sections, Trim(line.substr(1, line.find(']') - 1)));
    } else if (line.find('=') != std::string_view::npos) {
      AddName(keys, Trim(line.substr(0, line.find('='))));
    }
  }
}

// The leading digits after one sign, held to the 32-bit range; 0 without digits.
long long IntegerOf(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    if (value <= INT_MAX) value = value * 10 + (c - '0');
  }
  value = negative ? -value : value;
  return std::clamp<long long>(value, INT_MIN, INT_MAX);
}

// Every value of every section and key; nothing where the key is missing (two fallbacks tell).
std::vector<std::optional<std::string>> ReadAll(const IniFile& ini,
                                                const std::vector<std::string>& sections,
                                                const std::vector<std::string>& keys) {
  std::vector<std::optional<std::string>> values;
  for (const auto& section : sections) {
    for (const auto& key : keys) {
      const std::string value = ini.ReadString(section, key, "a", 4096);
      const bool missing = value != ini.ReadString(section, key, "b", 4096);
      const std::string cut = ini.ReadString(section, key, "fallback", 5);
      Check(cut.size() <= 4);
      Check((missing ? std::string("fallback") : value).compare(0, cut.size(), cut) == 0);
      Check(ini.ReadString(section, key, "a", 0).empty());
      const int number = ini.ReadInteger(section, key, -77);
      if (missing || value.empty())
        Check(number == -77);
      else if (value.size() < 4095)
        Check(number == IntegerOf(value));
      values.push_back(missing ? std::nullopt : std::optional<std::string>(value));
    }
  }
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                  std::string("/morvek-ini-fuzz-") + std::to_string(getpid()) +
                                  ".ini";
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    Check(out.good());
  }
  std::vector<std::string> sections, keys;
  CollectNames(text, sections, keys);
  const IniFile ini(path);
  const auto before = ReadAll(ini, sections, keys);

  const unsigned choice = size > 0 ? data[0] : 0;
  const std::string& section = sections[choice % sections.size()];
  const std::string& key = keys[choice / 16 % keys.size()];
  if (Plain(section) && Plain(key)) {
    const std::string value = "127.0.60." + std::to_string(size % 250 + 1);
    ini.WriteString(section, key, value);
    const auto after = ReadAll(ini, sections, keys);
    for (std::size_t s = 0, i = 0; s < sections.size(); ++s) {
      for (std::size_t k = 0; k < keys.size(); ++k, ++i) {
        if (SameNoCase(sections[s], section) && SameNoCase(keys[k], key))
          Check(after[i] == value);
        else
          Check(after[i] == before[i]);
      }
    }
  }
  std::remove(path.c_str());
  return 0;
}
