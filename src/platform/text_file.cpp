#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "codec/errors.h"

namespace morvek {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
  throw FileError(what + " " + path + ": " + std::strerror(error));
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// The bytes in a new temporary file beside path, complete and synced; its name. Nothing is left
// behind when it fails.
std::string WriteTemporary(const std::string& path, std::string_view bytes) {
  std::string temp = DirectoryOf(path) + "/.morvek-XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) Fail("Cannot create file", path, errno);

  int error = 0;
  for (std::size_t done = 0; done < bytes.size() && error == 0;) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      error = n < 0 ? errno : ENOSPC;
    else
      done += static_cast<std::size_t>(n);
  }
  // mkstemp makes the file private; give it the mode a newly created file would have.
  const mode_t mask = umask(0);
  umask(mask);
  if (error == 0 && fchmod(fd, 0666 & ~mask) != 0) error = errno;
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    unlink(temp.c_str());
    Fail("Cannot write file", path, error);
  }
  return temp;
}

}  // namespace

void ReplaceFile(const std::string& path, std::string_view bytes) {
  const std::string temp = WriteTemporary(path, bytes);
  if (rename(temp.c_str(), path.c_str()) == 0) return;
  const int error = errno;
  unlink(temp.c_str());
  Fail("Cannot write file", path, error);
}

void ReplaceFiles(const std::vector<OutputFile>& files) {
  // Every file is complete beside its target before the first one is renamed into place.
  std::vector<std::string> temps;
  try {
    for (const OutputFile& file : files) temps.push_back(WriteTemporary(file.path, file.bytes));
  } catch (const FileError&) {
    for (const std::string& temp : temps) unlink(temp.c_str());
    throw;
  }
  // A folder in the place of a later file would stop its rename after earlier ones took place.
  for (const OutputFile& file : files) {
    struct stat status {};
    if (stat(file.path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) continue;
    for (const std::string& temp : temps) unlink(temp.c_str());
    Fail("Cannot write file", file.path, EISDIR);
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (rename(temps[i].c_str(), files[i].path.c_str()) == 0) continue;
    const int error = errno;
    for (std::size_t j = i; j < temps.size(); ++j) unlink(temps[j].c_str());
    Fail("Cannot write file", files[i].path, error);
  }
}

namespace {

template <class Lines>
void SaveEach(const std::string& path, const Lines& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string bytes;
  bytes.reserve(size);
  for (const auto& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  ReplaceFile(path, bytes);
}

}  // namespace

void SaveLines(const std::string& path, const std::vector<std::string>& lines) {
  SaveEach(path, lines);
}

void SaveListLines(const std::string& path, const LineList& lines) {
  SaveEach(path, lines);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("Cannot open file", path, errno);
  // Sized once from the file where it has a size: a journal is read without copies of itself.
  std::string text;
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
    text.reserve(static_cast<std::size_t>(info.st_size));
  char block[1 << 16];
  while (in.read(block, sizeof block) || in.gcount() > 0)
    text.append(block, static_cast<std::size_t>(in.gcount()));
  if (in.bad()) Fail("Cannot read file", path, errno);
  return text;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

}  // namespace morvek
