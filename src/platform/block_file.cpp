#include "platform/block_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "codec/errors.h"

namespace morvek {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
  throw FileError(what + " " + path + ": " + std::strerror(error));
}

}  // namespace

BlockFile::BlockFile(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "rb")) {
  if (!file_) Fail("Cannot open file", path_, errno);
  struct stat info {};
  if (fstat(fileno(file_.get()), &info) == 0 && S_ISREG(info.st_mode))
    input_.size = static_cast<std::uint64_t>(info.st_size);
  input_.read = [this](char* buffer, std::size_t size) {
    started_ = true;
    const std::size_t n = std::fread(buffer, 1, size, file_.get());
    if (n < size && std::ferror(file_.get()) && error_ == 0) error_ = errno ? errno : EIO;
    return n;
  };
  input_.rewind = [this] {
    if (!started_) return;  // a pipe can be read once, from where it stands
    std::clearerr(file_.get());
    if (std::fseek(file_.get(), 0, SEEK_SET) != 0 && error_ == 0) error_ = errno;
  };
}

void BlockFile::CheckRead() const {
  if (error_ != 0) Fail("Cannot read file", path_, error_);
}

}  // namespace morvek
