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
  // Raises FileError as ReadWholeFile does when the file cannot be opened. What is not a plain
  // file (a pipe) is read whole at once: a refused text is read a second time for its reason.
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
  std::string held_;      // the whole text of what is not a plain file
  std::size_t next_ = 0;  // where the next read in held_ starts
  int error_ = 0;         // errno of the first read that failed
  XmlInput input_;
};

}  // namespace morvek
