// A journal file read a block at a time: every byte once per pass, a second pass from the start,
// and the failures ReadWholeFile reports, with its words.
#include "platform/block_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <thread>

#include "codec/errors.h"
#include "platform/text_file.h"
#include "test_support.h"

namespace morvek {
namespace {

using test::TempDir;
using test::WriteFile;

std::string ReadAll(const XmlInput& input, std::size_t block) {
  std::string text(block, '\0'), all;
  while (const std::size_t n = input.read(text.data(), block)) all.append(text, 0, n);
  return all;
}

std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const FileError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(BlockFile, EveryByteComesOncePerPassAndARewindStartsAgain) {
  TempDir dir;
  for (const std::size_t size : {0u, 1u, 4000u, 100001u}) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 13 + i / 255);
    WriteFile(dir.File("j.xml"), bytes);
    const BlockFile file(dir.File("j.xml"));
    EXPECT_EQ(file.Input().size, size);
    for (const std::size_t block : {1u, 4000u, 65536u}) {
      file.Input().rewind();
      EXPECT_EQ(ReadAll(file.Input(), block), bytes) << size << " " << block;
    }
    EXPECT_NO_THROW(file.CheckRead());
  }
}

// A pipe cannot seek back: it is held whole, so that a refused text can be read again.
TEST(BlockFile, PipeIsHeldWholeAndCanBeReadAgain) {
  TempDir dir;
  const std::string fifo = dir.File("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string sent(70000, 'p');
  std::thread writer([&] { WriteFile(fifo, sent); });
  std::string first, second;
  try {
    const BlockFile file(fifo);
    writer.join();
    EXPECT_EQ(file.Input().size, sent.size());
    first = ReadAll(file.Input(), 4000);
    file.Input().rewind();
    second = ReadAll(file.Input(), 65536);
    EXPECT_NO_THROW(file.CheckRead());
  } catch (const FileError&) {
    std::ifstream release(fifo);  // the writer waits for a reader to open the pipe
    writer.join();
    throw;
  }
  EXPECT_EQ(first, sent);
  EXPECT_EQ(second, sent);
}

TEST(BlockFile, FailuresReadAsReadWholeFileReportsThem) {
  TempDir dir;
  const std::string missing = dir.File("missing.xml");
  EXPECT_EQ(ErrorOf([&] { BlockFile file(missing); }), ErrorOf([&] { ReadWholeFile(missing); }));
  // A folder opens but cannot be read.
  const std::string folder = dir.File("folder");
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  const std::string readError = ErrorOf([&] {
    const BlockFile file(folder);
    ReadAll(file.Input(), 4000);
    file.CheckRead();
  });
  EXPECT_EQ(readError, ErrorOf([&] { ReadWholeFile(folder); }));
  EXPECT_NE(readError, "(no error)");
}

}  // namespace
}  // namespace morvek
