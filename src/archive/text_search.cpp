#include "archive/text_search.h"

namespace morvek {

std::string SearchableText(const DocumentRecord& document) {
  std::string text;
  for (const ItemLine& item : document.items) text.append(item.name).push_back('\n');
  for (const TextLine& line : document.texts) text.append(line.text).push_back('\n');
  return text;
}

std::string AllWordsQuery(std::string_view text) {
  constexpr std::string_view kSpace = " \t\r\n\f\v";
  std::string query;
  std::size_t at = text.find_first_not_of(kSpace);
  while (at != std::string_view::npos) {
    const std::size_t end = std::min(text.find_first_of(kSpace, at), text.size());
    if (!query.empty()) query += ' ';
    query += '"';
    for (const char c : text.substr(at, end - at)) {
      if (c == '"') query += '"';
      query += c;
    }
    query += '"';
    at = text.find_first_not_of(kSpace, end);
  }
  return query;
}

}  // namespace morvek
