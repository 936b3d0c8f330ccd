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
// Each line followed by CR LF, the last one too; the bytes as they stand (Windows-1251).
void SaveLines(const std::string& path, const std::vector<std::string>& lines);
// The same for a list box's lines (a name of its own, so that a braced list stays a vector).
void SaveListLines(const std::string& path, const LineList& lines);
// The whole file; raises FileError.
std::string ReadWholeFile(const std::string& path);
// dir joined with name by the platform's separator.
std::string JoinPath(const std::string& dir, const std::string& name);

}  // namespace morvek
