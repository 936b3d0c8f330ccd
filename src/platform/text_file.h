#pragma once
// Files the operator keeps are replaced whole: the bytes go to a temporary file beside the target,
// every write is checked, and only a complete file is renamed into place. A crash or a full disk
// leaves the old file (or none), never half of a new one.
#include <string>
#include <string_view>
#include <vector>

#include "platform/line_list.h"

namespace morvek {

// Raises FileError naming the path and the system's reason.
void ReplaceFile(const std::string& path, std::string_view bytes);

struct OutputFile {
  std::string path, bytes;
};
// Several files that belong together: each is written whole beside its target before any is
// renamed into place, so a failure in writing leaves none of the new ones. Raises FileError.
void ReplaceFiles(const std::vector<OutputFile>& files);

// The same for files made a piece at a time, so that they are never held whole: the pieces go to
// temporary files beside the targets, and Commit renames them into place once all are complete.
// Until then the targets stay as they were; a set dropped uncommitted removes its temporaries.
// Raises FileError from Append and Commit.
class FileSet {
 public:
  explicit FileSet(std::vector<std::string> paths);
  FileSet(const FileSet&) = delete;
  FileSet& operator=(const FileSet&) = delete;
  ~FileSet();

  void Append(std::size_t file, std::string_view bytes);
  void Commit();
  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  struct Temporary {
    std::string name;
    int fd = -1;
    std::string pending;  // bytes not yet written, up to a block
  };
  void Write(std::size_t file, std::string_view bytes);
  void Discard();

  std::vector<std::string> paths_;
  std::vector<Temporary> temps_;
};
// Each line followed by CR LF, the last one too; the bytes as they stand (Windows-1251).
void SaveLines(const std::string& path, const std::vector<std::string>& lines);
// The same for a list box's lines (a name of its own, so that a braced list stays a vector).
void SaveListLines(const std::string& path, const LineList& lines);
// The whole file; raises FileError.
std::string ReadWholeFile(const std::string& path);
// dir joined with name by the platform's separator.
std::string JoinPath(const std::string& dir, const std::string& name);

}  // namespace morvek
