#include "platform/xml_windows1251.h"

#include <libxml/encoding.h>

#include "codec/cp1251.h"

namespace morvek {

namespace {

// The UTF-8 bytes of a code point below U+10000 into out; their count.
int PutUtf8(char16_t cp, unsigned char* out) {
  if (cp < 0x80) {
    out[0] = static_cast<unsigned char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
    out[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    return 2;
  }
  out[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
  out[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
  out[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
  return 3;
}

// libxml2's contract: convert what fits, report in *inlen the bytes taken and in *outlen the bytes
// written; -2 stops at a byte the code page leaves undefined.
int Decode(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
  int taken = 0, written = 0;
  int result = 0;
  while (taken < *inlen) {
    const unsigned char byte = in[taken];
    const char16_t cp = byte < 0x80 ? byte : cp1251::kHigh[byte - 0x80];
    if (cp == 0 && byte != 0) {
      result = -2;
      break;
    }
    const int need = cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3;
    if (written + need > *outlen) break;
    written += PutUtf8(cp, out + written);
    ++taken;
  }
  *inlen = taken;
  *outlen = written;
  return result < 0 ? result : written;
}

}  // namespace

void RegisterWindows1251Decoding() {
  // Only read, never written: no output direction. libxml2 keeps the handler for the life of the
  // process.
  xmlNewCharEncodingHandler("windows-1251", Decode, nullptr);
}

}  // namespace morvek
