#include "platform/ini_file.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/text_file.h"

namespace morvek {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// A missing or unreadable file reads as an empty one, as the profile functions treat it.
std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

// The name of a "[Section]" line; nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  return Trim(line.substr(0, line.find(']')));
}

struct Entry {
  std::string_view key, value;
};

// The key and value of a "key=value" line; nothing for a comment or a line without '='.
std::optional<Entry> EntryOf(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
  const auto equals = trimmed.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  std::string_view value = Trim(trimmed.substr(equals + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return Entry{Trim(trimmed.substr(0, equals)), value};
}

// Where a key stands: the line of its section header, of the key itself, and the last line of the
// section that is not blank (where a new key goes).
struct Place {
  std::optional<std::size_t> section, key;
  std::size_t lastFilled = 0;
};

Place Locate(const std::vector<std::string>& lines, std::string_view section,
             std::string_view key) {
  Place place;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = SectionName(lines[i])) {
      if (place.section) break;  // the first section of the name is the one
      if (SameNoCase(*name, section)) place.section = place.lastFilled = i;
      continue;
    }
    if (!place.section) continue;
    if (!Trim(lines[i]).empty()) place.lastFilled = i;
    const auto entry = EntryOf(lines[i]);
    if (!place.key && entry && SameNoCase(entry->key, key)) place.key = i;
  }
  return place;
}

std::optional<std::string> Find(const std::string& path, std::string_view section,
                                std::string_view key) {
  const std::vector<std::string> lines = ReadLines(path);
  const Place place = Locate(lines, section, key);
  if (!place.key) return std::nullopt;
  return std::string(EntryOf(lines[*place.key])->value);
}

}  // namespace

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback, std::size_t size) const {
  std::string value = Find(path_, section, key).value_or(std::string(fallback));
  value.resize(std::min(value.size(), size == 0 ? 0 : size - 1));
  return value;
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  const auto found = Find(path_, section, key);
  if (!found || found->empty()) return fallback;
  std::string_view text = *found;
  const bool negative = text.front() == '-';
  if (negative || text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min(value * 10 + (c - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  if (negative) value = -value;
  return static_cast<int>(
      std::clamp(value, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

std::vector<std::string> IniFile::Sections() const {
  std::vector<std::string> names;
  for (const std::string& line : ReadLines(path_))
    if (const auto name = SectionName(line)) names.emplace_back(*name);
  return names;
}

std::vector<std::string> IniFile::Keys(std::string_view section) const {
  const std::vector<std::string> lines = ReadLines(path_);
  std::vector<std::string> keys;
  const Place place = Locate(lines, section, {});
  if (!place.section) return keys;
  for (std::size_t i = *place.section + 1; i < lines.size() && !SectionName(lines[i]); ++i)
    if (const auto entry = EntryOf(lines[i])) keys.emplace_back(entry->key);
  return keys;
}

void IniFile::WriteString(std::string_view section, std::string_view key,
                          std::string_view value) const {
  std::vector<std::string> lines = ReadLines(path_);
  const Place place = Locate(lines, section, key);
  if (place.key) {
    const std::string_view written = EntryOf(lines[*place.key])->key;
    lines[*place.key] = std::string(written) + "=" + std::string(value);
  } else if (place.section) {
    lines.insert(lines.begin() + static_cast<long>(place.lastFilled) + 1,
                 std::string(key) + "=" + std::string(value));
  } else {
    lines.push_back("[" + std::string(section) + "]");
    lines.push_back(std::string(key) + "=" + std::string(value));
  }
  SaveLines(path_, lines);
}

}  // namespace morvek
