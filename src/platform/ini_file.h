#pragma once
// The settings file: "[Section]" lines, each followed by "key=value" lines, read and written the
// way the Windows profile functions do. Sections and keys match without regard to case, the first
// match wins; keys and values are trimmed and one pair of enclosing quotes is dropped; a line whose
// first character (after blanks) is ';' is a comment; CR LF and LF both end a line. The file is
// read anew for every value, so a change made meanwhile is seen.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace morvek {

class IniFile {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}

  // The value, cut to size - 1 characters as a buffer of size bytes holds it; fallback when the
  // file, the section or the key is missing. A key with an empty value gives the empty text.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                         std::size_t size) const;
  // The leading digits of the value, after one optional sign ("12abc" is 12, "-3" is -3, "abc" is
  // 0, a value past the 32-bit range the nearest bound); fallback when the value is missing or
  // empty.
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  // The names of the file's sections in file order, each as often as it stands; nothing when the
  // file is missing.
  std::vector<std::string> Sections() const;
  // The keys of the first section of the name, in file order, as written.
  std::vector<std::string> Keys(std::string_view section) const;
  // Sets one key, keeping every other line; the section and the file are created when missing.
  // Lines end with CR LF. The file is replaced whole, so a failed write leaves the old one;
  // raises FileError.
  void WriteString(std::string_view section, std::string_view key, std::string_view value) const;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace morvek
