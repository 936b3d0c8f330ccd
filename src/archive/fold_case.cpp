#include "archive/fold_case.h"

#include "codec/cp1251.h"

namespace morvek {

namespace {

char32_t Lower(char32_t cp) {
  if (cp >= U'A' && cp <= U'Z') return cp + 0x20;
  if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20;  // Latin-1 capitals but ×
  if (cp >= 0x0410 && cp <= 0x042F) return cp + 0x20;            // А..Я
  if (cp >= 0x0400 && cp <= 0x040F) return cp + 0x50;            // Ѐ..Џ: Ё, Є, І, Ї, Ў ...
  if (cp == 0x0490) return 0x0491;                               // Ґ
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string FoldCase(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t start = i;
    const long cp = cp1251::NextCodePoint(utf8, i);
    if (cp < 0) {
      out.append(utf8.substr(start, i - start));
    } else {
      AppendUtf8(out, Lower(static_cast<char32_t>(cp)));
    }
  }
  return out;
}

}  // namespace morvek
