#include "platform/block_file.h"

#include <sys/stat.h>

#include <algorithm>
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
  const bool plain = fstat(fileno(file_.get()), &info) == 0 && S_ISREG(info.st_mode);
  if (plain) {
    input_.size = static_cast<std::uint64_t>(info.st_size);
    input_.read = [this](char* buffer, std::size_t size) {
      const std::size_t n = std::fread(buffer, 1, size, file_.get());
      if (n < size && std::ferror(file_.get()) && error_ == 0) error_ = errno ? errno : EIO;
      return n;
    };
    input_.rewind = [this] {
      std::clearerr(file_.get());
      if (std::fseek(file_.get(), 0, SEEK_SET) != 0 && error_ == 0) error_ = errno;
    };
    return;
  }
  char block[1 << 16];
  while (const std::size_t n = std::fread(block, 1, sizeof block, file_.get()))
    held_.append(block, n);
  if (std::ferror(file_.get())) error_ = errno ? errno : EIO;
  input_.size = held_.size();
  input_.read = [this](char* buffer, std::size_t size) {
    const std::size_t n = std::min(size, held_.size() - next_);
    held_.copy(buffer, n, next_);
    next_ += n;
    return n;
  };
  input_.rewind = [this] { next_ = 0; };
}

void BlockFile::CheckRead() const {
  if (error_ != 0) Fail("Cannot read file", path_, error_);
}

}  // namespace morvek
