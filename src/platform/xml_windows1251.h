#pragma once
// libxml2's decoding of "windows-1251" journals done by a table instead of iconv: a journal of
// 100,000 documents spends a noticeable part of its parse in iconv's generic conversion.

namespace morvek {

// Registers the table handler with libxml2 under the name "windows-1251"; the parser then finds
// it before iconv. Bytes the code page leaves undefined (98h) are refused, as iconv refuses them,
// so the same texts stay malformed. Called once, before any thread parses.
void RegisterWindows1251Decoding();

}  // namespace morvek
