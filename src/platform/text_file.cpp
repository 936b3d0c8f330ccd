#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// A new temporary file beside path, empty; its name and descriptor.
int CreateTemporary(const std::string& path, std::string& name) {
  name = DirectoryOf(path) + "/.morvek-XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) Fail("Cannot create file", path, errno);
  return fd;
}

// All of bytes written to fd; 0 or the system's error.
int WriteAll(int fd, std::string_view bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : ENOSPC;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

// The file complete: the mode a newly created file would have (mkstemp makes it private), synced
// and closed; 0 or the system's error.
int Complete(int fd) {
  const mode_t mask = umask(0);
  umask(mask);
  int error = 0;
  if (fchmod(fd, 0666 & ~mask) != 0) error = errno;
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  return error;
}

constexpr std::size_t kBlock = 1 << 20;  // what a file set holds of a file before writing it

}  // namespace

void ReplaceFile(const std::string& path, std::string_view bytes) {
  FileSet set({path});
  set.Append(0, bytes);
  set.Commit();
}

void ReplaceFiles(const std::vector<OutputFile>& files) {
  std::vector<std::string> paths(files.size());
  std::transform(files.begin(), files.end(), paths.begin(),
                 [](const OutputFile& file) { return file.path; });
  FileSet set(std::move(paths));
  for (std::size_t i = 0; i < files.size(); ++i) set.Append(i, files[i].bytes);
  set.Commit();
}

FileSet::FileSet(std::vector<std::string> paths)
    : paths_(std::move(paths)), temps_(paths_.size()) {}

FileSet::~FileSet() {
  Discard();
}

void FileSet::Append(std::size_t file, std::string_view bytes) {
  Temporary& temp = temps_.at(file);
  if (temp.pending.size() + bytes.size() < kBlock) {
    temp.pending.append(bytes);
    return;
  }
  Write(file, temp.pending);
  temp.pending.clear();
  Write(file, bytes);
}

void FileSet::Write(std::size_t file, std::string_view bytes) {
  Temporary& temp = temps_[file];
  try {
    if (temp.fd < 0) temp.fd = CreateTemporary(paths_[file], temp.name);
  } catch (const FileError&) {
    Discard();
    throw;
  }
  if (const int error = WriteAll(temp.fd, bytes); error != 0) {
    Discard();
    Fail("Cannot write file", paths_[file], error);
  }
}

void FileSet::Commit() {
  // Every file is complete beside its target before the first one is renamed into place.
  for (std::size_t i = 0; i < temps_.size(); ++i) {
    Write(i, temps_[i].pending);
    temps_[i].pending.clear();
    const int error = Complete(temps_[i].fd);
    temps_[i].fd = -1;
    if (error == 0) continue;
    Discard();
    Fail("Cannot write file", paths_[i], error);
  }
  // A folder in the place of a later file would stop its rename after earlier ones took place.
  for (const std::string& path : paths_) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) continue;
    Discard();
    Fail("Cannot write file", path, EISDIR);
  }
  for (std::size_t i = 0; i < temps_.size(); ++i) {
    if (rename(temps_[i].name.c_str(), paths_[i].c_str()) == 0) {
      temps_[i].name.clear();
      continue;
    }
    const int error = errno;
    Discard();
    Fail("Cannot write file", paths_[i], error);
  }
}

void FileSet::Discard() {
  for (Temporary& temp : temps_) {
    if (temp.fd >= 0) close(temp.fd);
    if (!temp.name.empty()) unlink(temp.name.c_str());
    temp = Temporary{};
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
