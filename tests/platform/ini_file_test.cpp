#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "codec/errors.h"
#include "test_support.h"

namespace morvek {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class IniFileTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string path = dir.File("morvek.ini");
  IniFile ini{path};
};

TEST_F(IniFileTest, SectionsAndKeysMatchWithoutRegardToCaseFirstMatchWinning) {
  WriteFile(path,
            "[connection]\r\nipaddres=10.0.0.1\r\nIPADDRES=10.0.0.2\r\n"
            "[Connection]\r\nOther=1\r\n");
  EXPECT_EQ(ini.ReadString("Connection", "IPAddres", "", 256), "10.0.0.1");
  // Only the first section of a name is read.
  EXPECT_EQ(ini.ReadString("Connection", "Other", "none", 256), "none");
}

TEST_F(IniFileTest, KeysAndValuesAreTrimmedAndOnePairOfQuotesDropped) {
  WriteFile(path,
            "[S]\n  Name  =  some value  \nQuoted=\" spaced \"\nSingle='x'\nTwice=\"\"a\"\"\n"
            "Half=\"open\n");
  EXPECT_EQ(ini.ReadString("S", "Name", "", 256), "some value");
  EXPECT_EQ(ini.ReadString("S", "Quoted", "", 256), " spaced ");
  EXPECT_EQ(ini.ReadString("S", "Single", "", 256), "x");
  EXPECT_EQ(ini.ReadString("S", "Twice", "", 256), "\"a\"");
  EXPECT_EQ(ini.ReadString("S", "Half", "", 256), "\"open");
}

TEST_F(IniFileTest, CommentsAndLinesWithoutEqualsAreNoKeys) {
  WriteFile(path, "[S]\r\n;Key=commented\r\n  ; Key=also\r\nKey\r\nKey=real\r\n");
  EXPECT_EQ(ini.ReadString("S", "Key", "", 256), "real");
  EXPECT_EQ(ini.ReadString("S", ";Key", "none", 256), "none");
}

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefaultButAnEmptyValueStaysEmpty) {
  EXPECT_EQ(ini.ReadString("S", "K", "medium", 20), "medium");
  WriteFile(path, "Key=outside\n[S]\nEmpty=\n");
  EXPECT_EQ(ini.ReadString("S", "Key", "dflt", 20), "dflt");
  EXPECT_EQ(ini.ReadString("T", "Empty", "dflt", 20), "dflt");
  EXPECT_EQ(ini.ReadString("S", "Empty", "dflt", 20), "");
}

TEST_F(IniFileTest, ATextIsCutToOneLessThanItsBuffer) {
  WriteFile(path, "[S]\nK=192.168.100.200\n");
  EXPECT_EQ(ini.ReadString("S", "K", "", 15), "192.168.100.20");
  EXPECT_EQ(ini.ReadString("S", "K", "", 256), "192.168.100.200");
  EXPECT_EQ(ini.ReadString("S", "Missing", "morvek.log", 5), "morv");
  EXPECT_EQ(ini.ReadString("S", "K", "", 0), "");
}

TEST_F(IniFileTest, IntegersAreTheLeadingDigitsAfterOneSign) {
  WriteFile(path,
            "[N]\nA=12abc\nB= 7\nC=abc\nD=\nE=-5\nF=+8\nG=--3\nH=99999999999\nI=-99999999999\n");
  EXPECT_EQ(ini.ReadInteger("N", "A", -1), 12);
  EXPECT_EQ(ini.ReadInteger("N", "B", -1), 7);
  EXPECT_EQ(ini.ReadInteger("N", "C", -1), 0);
  EXPECT_EQ(ini.ReadInteger("N", "D", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "E", -1), -5);
  EXPECT_EQ(ini.ReadInteger("N", "F", -1), 8);
  EXPECT_EQ(ini.ReadInteger("N", "G", -1), 0);
  EXPECT_EQ(ini.ReadInteger("N", "H", -1), 2147483647);
  EXPECT_EQ(ini.ReadInteger("N", "I", -1), -2147483647 - 1);
  EXPECT_EQ(ini.ReadInteger("N", "Missing", 4), 4);
}

TEST_F(IniFileTest, WritingCreatesTheFileAndTheSection) {
  ini.WriteString("Connection", "IPAddres", "127.0.0.1");
  EXPECT_EQ(ReadFile(path), "[Connection]\r\nIPAddres=127.0.0.1\r\n");
  ini.WriteString("LogFile", "Log", "1");
  EXPECT_EQ(ReadFile(path), "[Connection]\r\nIPAddres=127.0.0.1\r\n[LogFile]\r\nLog=1\r\n");
}

TEST_F(IniFileTest, WritingOneKeyKeepsEveryOtherLine) {
  WriteFile(path,
            "; settings\n[CONNECTION]\n  ipaddres = 1.2.3.4\nPort=5\n\n[LogFile]\nLog=0\n"
            "[Connection]\nIPAddres=other\n");
  ini.WriteString("Connection", "IPAddres", "10.0.0.9");
  EXPECT_EQ(
      ReadFile(path),
      "; settings\r\n[CONNECTION]\r\nipaddres=10.0.0.9\r\nPort=5\r\n\r\n[LogFile]\r\nLog=0\r\n"
      "[Connection]\r\nIPAddres=other\r\n");
}

TEST_F(IniFileTest, ANewKeyGoesAfterTheLastFilledLineOfItsSection) {
  WriteFile(path, "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n");
  ini.WriteString("a", "Z", "3");
  EXPECT_EQ(ReadFile(path), "[A]\r\nX=1\r\nZ=3\r\n\r\n[B]\r\nY=2\r\n");
  EXPECT_EQ(ini.ReadString("A", "z", "", 10), "3");
}

TEST_F(IniFileTest, SectionsAreListedInFileOrderAsOftenAsTheyStand) {
  EXPECT_TRUE(ini.Sections().empty()) << "a missing file has none";
  WriteFile(path, "top=1\r\n[Каса 1]\r\nhost=a\r\n ; [Commented]\r\n[ Spaced ]\r\n[каса 1]\r\n");
  EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Каса 1", "Spaced", "каса 1"}));
}

TEST_F(IniFileTest, TheKeysOfTheFirstSectionOfANameAreListedAsWritten) {
  WriteFile(path, "[A]\nHost = x\n;port=1\nno equals\nPort=2\n\n[B]\nother=3\n[a]\nlater=4\n");
  EXPECT_EQ(ini.Keys("a"), (std::vector<std::string>{"Host", "Port"}));
  EXPECT_EQ(ini.Keys("B"), (std::vector<std::string>{"other"}));
  EXPECT_TRUE(ini.Keys("Missing").empty());
}

// In the child: a file size limit below the file's size makes the write fail midway.
int WriteBeyondTheSizeLimit(const std::string& path) {
  signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{1024, 1024};
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
  try {
    IniFile(path).WriteString("Connection", "IPAddres", "10.0.0.1");
  } catch (const FileError&) {
    return 0;
  } catch (...) {
    return 12;
  }
  return 13;  // reported success
}

TEST_F(IniFileTest, AWriteThatFailsMidwayLeavesTheOldFileWhole) {
  const std::string old =
      "[Connection]\r\nIPAddres=127.0.0.1\r\n[Big]\r\nFill=" + std::string(4000, 'x') + "\r\n";
  WriteFile(path, old);
  const pid_t pid = fork();
  if (pid == 0) _exit(WriteBeyondTheSizeLimit(path));
  ASSERT_GT(pid, 0);
  int status = -1;
  for (int i = 0; i < 500 && waitpid(pid, &status, WNOHANG) != pid; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (status == -1) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadFile(path), old);
}

}  // namespace
}  // namespace morvek
