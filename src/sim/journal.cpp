#include "sim/journal.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace morvek::sim {

namespace {

// The value of attribute name in the start tag that begins at tag (up to its '>').
std::optional<int> IntAttribute(std::string_view tag, std::string_view name) {
  tag = tag.substr(0, tag.find('>'));
  for (std::size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
    const bool starts = at > 0 && (tag[at - 1] == ' ' || tag[at - 1] == '\t');
    const std::size_t quote = at + name.size() + 1;
    if (!starts || quote >= tag.size() || tag[at + name.size()] != '=') continue;
    const char mark = tag[quote];
    if (mark != '"' && mark != '\'') continue;
    const std::size_t close = tag.find(mark, quote + 1);
    if (close == std::string_view::npos) return std::nullopt;
    int value = 0;
    const std::string_view digits = tag.substr(quote + 1, close - quote - 1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
  }
  return std::nullopt;
}

// The start tag of element name inside text, or an empty view.
std::string_view FindTag(std::string_view text, std::string_view name) {
  for (std::size_t at = text.find(name); at != std::string_view::npos;
       at = text.find(name, at + 1)) {
    if (at == 0 || text[at - 1] != '<') continue;
    const std::size_t after = at + name.size();
    if (after < text.size() && (text[after] == ' ' || text[after] == '>' || text[after] == '/'))
      return text.substr(at);
  }
  return {};
}

// TS as yyyymmddhhmm with or without the seconds; 0 when it is neither.
std::int64_t Stamp(std::string_view document) {
  const std::size_t open = document.find("<TS>");
  if (open == std::string_view::npos) return 0;
  const std::string_view rest = document.substr(open + 4);
  const std::string_view digits = rest.substr(0, rest.find('<'));
  if (digits.size() != 12 && digits.size() != 14) return 0;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size() || value < 0) return 0;
  return digits.size() == 12 ? value * 100 : value;
}

}  // namespace

Journal Journal::FromText(std::string text) {
  Journal journal;
  journal.text_ = std::move(text);
  const std::string_view all = journal.text_;
  for (std::size_t at = all.find("<DAT"); at != std::string_view::npos; at = all.find("<DAT", at)) {
    const std::size_t close = all.find("</DAT>", at);
    if (close == std::string_view::npos) throw std::runtime_error("a DAT element has no end");
    std::size_t end = close + 6;
    const std::size_t mac = all.find_first_not_of(" \t\r\n", end);
    if (mac != std::string_view::npos && all.compare(mac, 4, "<MAC") == 0) {
      const std::size_t tagEnd = all.find('>', mac);
      if (tagEnd == std::string_view::npos) throw std::runtime_error("a MAC element has no end");
      end = tagEnd + 1;
      if (all[tagEnd - 1] != '/') {
        const std::size_t macClose = all.find("</MAC>", tagEnd);
        if (macClose == std::string_view::npos)
          throw std::runtime_error("a MAC element has no end");
        end = macClose + 6;
      }
    }
    JournalDocument document;
    document.begin = at;
    document.end = end;
    const std::string_view body = all.substr(at, close - at);
    document.stamp = Stamp(body);
    const auto index = static_cast<std::uint32_t>(journal.documents_.size());
    if (const std::string_view z = FindTag(body, "Z"); !z.empty()) {
      if (const auto number = IntAttribute(z, "NO")) {
        document.kind = DocumentKind::kZReport;
        document.number = *number;
        journal.zReports_.emplace_back(*number, index);
      }
    } else if (const std::string_view e = FindTag(body, "E"); !e.empty()) {
      if (const auto number = IntAttribute(e, "NO")) {
        document.number = *number;
        journal.receipts_.emplace_back(*number, index);
      }
    }
    journal.documents_.push_back(document);
    at = end;
  }
  // A number that comes twice keeps its first document.
  for (Index* index : {&journal.receipts_, &journal.zReports_}) {
    std::stable_sort(index->begin(), index->end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    index->erase(std::unique(index->begin(), index->end(),
                             [](const auto& a, const auto& b) { return a.first == b.first; }),
                 index->end());
    index->shrink_to_fit();
  }
  journal.documents_.shrink_to_fit();
  return journal;
}

const JournalDocument* Journal::Find(DocumentKind kind, int number) const {
  const Index& index = IndexOf(kind);
  const auto it = std::lower_bound(index.begin(), index.end(), std::make_pair(number, 0u));
  if (it == index.end() || it->first != number) return nullptr;
  return &documents_[it->second];
}

std::vector<const JournalDocument*> Journal::Range(DocumentKind kind, int first, int last) const {
  std::vector<const JournalDocument*> found;
  const Index& index = IndexOf(kind);
  for (auto it = std::lower_bound(index.begin(), index.end(), std::make_pair(first, 0u));
       it != index.end() && it->first <= last; ++it)
    found.push_back(&documents_[it->second]);
  return found;
}

std::optional<std::pair<int, int>> Journal::ReceiptsStamped(std::int64_t first,
                                                            std::int64_t last) const {
  std::optional<std::pair<int, int>> numbers;
  for (const auto& [number, index] : receipts_) {
    const std::int64_t stamp = documents_[index].stamp;
    if (stamp < first || stamp > last) continue;
    if (!numbers) numbers.emplace(number, number);
    numbers->first = std::min(numbers->first, number);
    numbers->second = std::max(numbers->second, number);
  }
  return numbers;
}

}  // namespace morvek::sim
