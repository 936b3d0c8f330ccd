#include "render/error_log.h"

#include "codec/errors.h"
#include "platform/text_file.h"

namespace morvek {

void WriteErrorLog(const std::string& path, std::string_view message) {
  try {
    ReplaceFile(path, std::string(message) + "\r\n");
  } catch (const FileError&) {
  }
}

}  // namespace morvek
