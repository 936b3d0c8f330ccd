#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "codec/errors.h"
#include "platform/text_file.h"
#include "test_support.h"

namespace morvek {
namespace {

using test::FileExists;
using test::FileNames;
using test::ReadFile;
using test::RunInChild;
using test::TempDir;
using test::W;
using test::WriteFile;

// In a child whose files cannot grow past 4 KiB: a 64 KiB write fails midway with EFBIG.
int WriteBeyondTheSizeLimit(const std::string& path) {
  try {
    ReplaceFile(path, std::string(65536, 'n'));
  } catch (const FileError& e) {
    return std::string(e.what()).find(path) != std::string::npos ? 0 : 11;
  } catch (...) {
    return 12;
  }
  return 13;  // reported success
}

TEST(ReplaceFile, WritesTheBytesExactly) {
  TempDir dir;
  const std::string bytes("line\r\nsecond\n\0\xFF\x98 end", 20);
  ReplaceFile(dir.File("out.txt"), bytes);
  EXPECT_EQ(ReadFile(dir.File("out.txt")), bytes);
}

TEST(ReplaceFile, ReplacesALongerFileWhole) {
  TempDir dir;
  WriteFile(dir.File("out.txt"), std::string(1000, 'o'));
  ReplaceFile(dir.File("out.txt"), "new");
  EXPECT_EQ(ReadFile(dir.File("out.txt")), "new");
}

TEST(ReplaceFile, EmptyTextGivesAnEmptyFile) {
  TempDir dir;
  WriteFile(dir.File("out.txt"), "old");
  ReplaceFile(dir.File("out.txt"), "");
  EXPECT_TRUE(FileExists(dir.File("out.txt")));
  EXPECT_EQ(ReadFile(dir.File("out.txt")), "");
}

TEST(ReplaceFile, LeavesNoTemporaryFileBehind) {
  TempDir dir;
  ReplaceFile(dir.File("a.txt"), "one");
  ReplaceFile(dir.File("a.txt"), "two");
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"a.txt"});
}

TEST(ReplaceFile, NewFileIsNotPrivateButFollowsTheUmask) {
  TempDir dir;
  const mode_t old = umask(022);
  ReplaceFile(dir.File("out.txt"), "x");
  umask(old);
  struct stat st {};
  ASSERT_EQ(stat(dir.File("out.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST(ReplaceFile, MissingFolderRaisesFileErrorNamingThePath) {
  TempDir dir;
  const std::string path = dir.File("no-such-folder/out.txt");
  try {
    ReplaceFile(path, "x");
    FAIL() << "no error raised";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
  }
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{});
}

TEST(ReplaceFile, TargetThatIsAFolderRaisesAndLeavesNoTemporaryFile) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("target"));
  WriteFile(dir.File("target/inside.txt"), "keep");
  EXPECT_THROW(ReplaceFile(dir.File("target"), "x"), FileError);
  EXPECT_EQ(ReadFile(dir.File("target/inside.txt")), "keep");
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"target"});
}

TEST(ReplaceFile, WriteFailingMidwayKeepsTheOldFileAndRaises) {
  TempDir dir;
  const std::string path = dir.File("journal.txt");
  WriteFile(path, "old contents\r\n");
  EXPECT_EQ(RunInChild([&] { return WriteBeyondTheSizeLimit(path); }, 4096), 0)
      << "0: FileError naming the path; 13: success reported; others: see the child";
  EXPECT_EQ(ReadFile(path), "old contents\r\n");
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"journal.txt"});
}

TEST(ReplaceFile, WriteFailingMidwayCreatesNoNewFile) {
  TempDir dir;
  const std::string path = dir.File("fresh.txt");
  EXPECT_EQ(RunInChild([&] { return WriteBeyondTheSizeLimit(path); }, 4096), 0);
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{});
}

TEST(SaveLines, EndsEveryLineWithCrLfTheLastOneToo) {
  TempDir dir;
  SaveLines(dir.File("list.txt"), {"first", "", "last"});
  EXPECT_EQ(ReadFile(dir.File("list.txt")), "first\r\n\r\nlast\r\n");
}

TEST(SaveLines, KeepsWindows1251BytesAsTheyStand) {
  TempDir dir;
  SaveLines(dir.File("list.txt"), {W("ВСЬОГО   18.75")});
  EXPECT_EQ(ReadFile(dir.File("list.txt")), W("ВСЬОГО   18.75") + "\r\n");
}

TEST(SaveLines, NoLinesGiveAnEmptyFile) {
  TempDir dir;
  WriteFile(dir.File("list.txt"), "old");
  SaveLines(dir.File("list.txt"), {});
  EXPECT_EQ(ReadFile(dir.File("list.txt")), "");
}

TEST(ReadWholeFile, GivesEveryByte) {
  TempDir dir;
  const std::string bytes("a\r\n\0\xFF", 5);
  WriteFile(dir.File("in.bin"), bytes);
  EXPECT_EQ(ReadWholeFile(dir.File("in.bin")), bytes);
}

// Files of every size around the reading block, and a pipe, which has no size to read ahead.
TEST(ReadWholeFile, GivesEveryByteOfFilesOfAnySizeAndOfAPipe) {
  TempDir dir;
  for (const std::size_t size : {0u, 1u, 65535u, 65536u, 65537u, 300001u}) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    WriteFile(dir.File("in.bin"), bytes);
    EXPECT_EQ(ReadWholeFile(dir.File("in.bin")), bytes) << size;
  }
  const std::string fifo = dir.File("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string sent(100000, 'x');
  std::thread writer([&] { WriteFile(fifo, sent); });
  std::string read;
  try {
    read = ReadWholeFile(fifo);
  } catch (const FileError&) {
    std::ifstream release(fifo);  // the writer waits for a reader to open the pipe
    writer.join();
    throw;
  }
  writer.join();
  EXPECT_EQ(read, sent);
}

TEST(ReadWholeFile, MissingFileOrAFolderRaisesFileError) {
  TempDir dir;
  EXPECT_THROW(ReadWholeFile(dir.File("missing.xml")), FileError);
  ASSERT_EQ(mkdir(dir.File("folder").c_str(), 0700), 0);
  EXPECT_THROW(ReadWholeFile(dir.File("folder")), FileError);
}

TEST(ReplaceFiles, WritesEveryFileOfTheSet) {
  TempDir dir;
  WriteFile(dir.File("a.csv"), "old");
  ReplaceFiles({{dir.File("a.csv"), "first"}, {dir.File("b.csv"), "second"}});
  EXPECT_EQ(ReadFile(dir.File("a.csv")), "first");
  EXPECT_EQ(ReadFile(dir.File("b.csv")), "second");
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"a.csv", "b.csv"}));
}

TEST(ReplaceFiles, OneFileThatCannotBeWrittenLeavesNoneOfTheSetAndNoTemporaries) {
  TempDir dir;
  WriteFile(dir.File("a.csv"), "old");
  EXPECT_THROW(ReplaceFiles({{dir.File("a.csv"), "new"}, {dir.File("missing/b.csv"), "second"}}),
               FileError);
  EXPECT_EQ(ReadFile(dir.File("a.csv")), "old");
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"a.csv"});
}

TEST(ReplaceFiles, AFolderInThePlaceOfOneFileLeavesTheOthersAsTheyWere) {
  TempDir dir;
  WriteFile(dir.File("a.csv"), "old");
  std::filesystem::create_directory(dir.File("b.csv"));
  EXPECT_THROW(ReplaceFiles({{dir.File("a.csv"), "new"}, {dir.File("b.csv"), "second"}}),
               FileError);
  EXPECT_EQ(ReadFile(dir.File("a.csv")), "old");
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"a.csv", "b.csv"}));
}

TEST(FileSet, PiecesArriveInOrderAcrossBlocksAndNothingIsInPlaceBeforeCommit) {
  TempDir dir;
  WriteFile(dir.File("b.csv"), "old");
  std::string expected;
  {
    FileSet set({dir.File("a.csv"), dir.File("b.csv")});
    // Small pieces, one larger than the set holds before writing, and small ones again.
    for (const std::size_t size : {std::size_t{10}, std::size_t{3} << 20, std::size_t{7}}) {
      const std::string piece(size, static_cast<char>('a' + expected.size() % 26));
      set.Append(0, piece);
      expected += piece;
    }
    set.Append(1, "new");
    EXPECT_FALSE(FileExists(dir.File("a.csv")));
    EXPECT_EQ(ReadFile(dir.File("b.csv")), "old");
    set.Commit();
  }
  EXPECT_EQ(ReadFile(dir.File("a.csv")), expected);
  EXPECT_EQ(ReadFile(dir.File("b.csv")), "new");
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"a.csv", "b.csv"}));
}

TEST(FileSet, DroppedBeforeCommitLeavesTheTargetsAndNoTemporaries) {
  TempDir dir;
  WriteFile(dir.File("a.csv"), "old");
  {
    FileSet set({dir.File("a.csv")});
    set.Append(0, std::string(std::size_t{2} << 20, 'x'));  // already written beside the target
  }
  EXPECT_EQ(ReadFile(dir.File("a.csv")), "old");
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"a.csv"});
}

TEST(JoinPath, JoinsWithOneSeparator) {
  EXPECT_EQ(JoinPath("/work", "temp.xml"), "/work/temp.xml");
  EXPECT_EQ(JoinPath("/work/", "temp.xml"), "/work/temp.xml");
  EXPECT_EQ(JoinPath("", "temp.xml"), "temp.xml");
}

}  // namespace
}  // namespace morvek
