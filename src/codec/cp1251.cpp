#include "codec/cp1251.h"

#include <array>
#include <cstring>

#include "codec/errors.h"

namespace morvek {

namespace {

std::string Convert(std::string_view utf8, bool strict) {
  // Most values are digits and markup names: plain ASCII is the same in both.
  std::size_t i = 0;
  while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80) ++i;
  std::string out(utf8.substr(0, i));
  if (i == utf8.size()) return out;
  out.reserve(utf8.size());
  while (i < utf8.size()) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    const long cp = cp1251::NextCodePoint(utf8, i);
    if (cp < 0 && strict) throw ConvertError("malformed UTF-8 text");
    out.push_back(
        static_cast<char>(cp < 0 ? '?' : cp1251::FromCodePoint(static_cast<char32_t>(cp))));
  }
  return out;
}

// The UTF-8 form of every byte, built once: up to three bytes and their count.
struct Utf8Form {
  char bytes[3];
  unsigned char size;
};

const std::array<Utf8Form, 256>& Utf8Forms() {
  static const std::array<Utf8Form, 256> forms = [] {
    std::array<Utf8Form, 256> f{};
    for (int b = 0; b < 256; ++b) {
      const char32_t cp = b < 0x80 ? static_cast<char32_t>(b) : cp1251::kHigh[b - 0x80];
      if (b >= 0x80 && cp == 0) {
        f[b] = {{'?'}, 1};
      } else if (cp < 0x80) {
        f[b] = {{static_cast<char>(cp)}, 1};
      } else if (cp < 0x800) {
        f[b] = {{static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))}, 2};
      } else {
        f[b] = {{static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                 static_cast<char>(0x80 | (cp & 0x3F))},
                3};
      }
    }
    return f;
  }();
  return forms;
}

}  // namespace

std::string Utf8ToCp1251(std::string_view utf8) {
  return Convert(utf8, false);
}

std::string Utf8ToCp1251Strict(std::string_view utf8) {
  return Convert(utf8, true);
}

std::string Cp1251ToUtf8(std::string_view text) {
  std::string out;
  AppendUtf8(out, text);
  return out;
}

void AppendUtf8(std::string& out, std::string_view text) {
  const auto& forms = Utf8Forms();
  // Each byte's form is copied whole (three bytes) into a buffer with room for it, and the
  // buffer goes out a stretch at a time.
  constexpr std::size_t kStretch = 256;
  char buffer[kStretch * 3];
  for (std::size_t from = 0; from < text.size(); from += kStretch) {
    char* end = buffer;
    for (const char c : text.substr(from, kStretch)) {
      const Utf8Form& form = forms[static_cast<unsigned char>(c)];
      std::memcpy(end, form.bytes, sizeof form.bytes);
      end += form.size;
    }
    out.append(buffer, static_cast<std::size_t>(end - buffer));
  }
}

}  // namespace morvek
