#pragma once
// A journal file the parser reads a block at a time: a journal of 100,000 documents is some 80 MB
// that need never be held whole.
#include <cstdio>
#include <memory>
#include <string>

#include "platform/xml_document.h"

namespace morvek {

class BlockFile {
 public:
  // Raises FileError as ReadWholeFile does when the file cannot be opened.
  explicit BlockFile(const std::string& path);
  BlockFile(const BlockFile&) = delete;
  BlockFile& operator=(const BlockFile&) = delete;

  const XmlInput& Input() const { return input_; }
  // Raises FileError as ReadWholeFile does when a read failed: the parser saw the text end there.
  void CheckRead() const;

 private:
  struct Close {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::string path_;
  std::unique_ptr<std::FILE, Close> file_;
  bool started_ = false;  // bytes were read: a rewind has to seek back
  int error_ = 0;         // errno of the first read that failed
  XmlInput input_;
};

}  // namespace morvek
