#pragma once
// The core keeps every text as Windows-1251 bytes, one byte one column, as the register sends them
// and the saved files hold them. UTF-8 appears only at the edges (terminal, windows, libxml2).
#include <cstddef>
#include <string>
#include <string_view>

namespace morvek {

namespace cp1251 {

// Unicode code points of the bytes 80h..FFh; 0 where the code page leaves the byte undefined.
inline constexpr char16_t kHigh[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

// The Windows-1251 byte of a code point; '?' for one the code page cannot write.
constexpr unsigned char FromCodePoint(char32_t cp) {
  if (cp < 0x80) return static_cast<unsigned char>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<unsigned char>(0xC0 + (cp - 0x0410));
  for (int i = 0; i < 128; ++i)
    if (kHigh[i] != 0 && kHigh[i] == cp) return static_cast<unsigned char>(0x80 + i);
  return '?';
}

// Decodes one UTF-8 sequence at text[i], advancing i. Returns -1 for a malformed sequence: a
// stray or missing continuation byte (i then stands at the byte that broke it), an overlong form,
// a surrogate or a value past U+10FFFF (i then stands after the whole sequence).
constexpr long NextCodePoint(std::string_view text, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(text[i++]);
  if (b0 < 0x80) return b0;
  int extra = b0 >= 0xF0 && b0 < 0xF5 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC2 && b0 < 0xE0 ? 1 : -1;
  if (b0 >= 0xF5 || extra < 0) return -1;
  long cp = b0 & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size()) return -1;
    const auto b = static_cast<unsigned char>(text[i]);
    if ((b & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (b & 0x3F);
    ++i;
  }
  // "E0 80 BC" would otherwise pass for "<".
  const long smallest = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
  if (cp < smallest || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return -1;
  return cp;
}

// A UTF-8 string literal held as Windows-1251 bytes, converted by the compiler.
template <std::size_t N>
struct Literal {
  char bytes[N]{};
  std::size_t length = 0;
  consteval Literal(const char (&utf8)[N]) {  // NOLINT: implicit on purpose, for the "_cp" suffix
    std::string_view text(utf8, N - 1);
    for (std::size_t i = 0; i < text.size();) {
      const long cp = NextCodePoint(text, i);
      bytes[length++] = static_cast<char>(cp < 0 ? '?' : FromCodePoint(static_cast<char32_t>(cp)));
    }
  }
};

}  // namespace cp1251

// "Каса"_cp is the caption as Windows-1251 bytes.
template <cp1251::Literal L>
constexpr std::string_view operator""_cp() {
  return {L.bytes, L.length};
}

// Characters with no Windows-1251 form, and malformed UTF-8 bytes, become '?'.
std::string Utf8ToCp1251(std::string_view utf8);
// As Utf8ToCp1251, but malformed UTF-8 raises a ConvertError.
std::string Utf8ToCp1251Strict(std::string_view utf8);
// The byte 98h, undefined in the code page, becomes '?'.
std::string Cp1251ToUtf8(std::string_view cp1251Text);
// Cp1251ToUtf8 appended to out, without a string of its own.
void AppendUtf8(std::string& out, std::string_view cp1251Text);

}  // namespace morvek
