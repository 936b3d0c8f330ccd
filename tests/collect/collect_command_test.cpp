// The command before and without registers: a fleet file that cannot be used is a usage error
// naming its section, before anything connects or any archive is made; a fleet of which no
// register can be reached is a failure. Nobody listens on 127.0.3.50 to 127.0.3.52.
#include <gtest/gtest.h>

#include "collect_test_support.h"

namespace morvek::test {
namespace {

TEST(CollectCommand, AnIncompleteSectionIsAUsageErrorNamingIt) {
  struct Case {
    const char* section;
    const char* expected;
  };
  for (const Case c :
       {Case{"[Каса 2]\nprotocol=datecs\nfiscal-number=4000000002\n", "[Каса 2]: no host"},
        Case{"[Каса 3]\nhost=127.0.3.52\nprotocol=ecr\nfiscal-number=4000000003\n",
             "[Каса 3]: protocol \"ecr\" is neither datecs nor zelmar"}}) {
    TempDir dir;
    WriteFile(
        dir.File("fleet.ini"),
        std::string("[Каса 1]\nhost=127.0.3.51\nprotocol=datecs\nfiscal-number=1\n") + c.section);
    const CollectRun run = RunCollect(dir, {"--fleet", "fleet.ini", "--archive", "a.sqlite"});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_NE(run.err.find(std::string("fleet.ini: ") + c.expected), std::string::npos) << run.err;
    EXPECT_FALSE(FileExists(dir.File("a.sqlite"))) << "nothing is begun";
  }
}

TEST(CollectCommand, AFleetOfWhichNoRegisterIsReachedFailsNamingEach) {
  TempDir dir;
  WriteFile(dir.File("fleet.ini"),
            "[A]\nhost=127.0.3.50\nprotocol=datecs\nfiscal-number=1\n"
            "[B]\nhost=127.0.3.51\nport=4100\nprotocol=zelmar\nid-dev=ZL1\n");
  const CollectRun run = RunCollect(dir, {"--fleet", "fleet.ini", "--archive", "a.sqlite"});
  EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
  EXPECT_EQ(run.Row("A").outcome.rfind("unreachable: cannot connect to 127.0.3.50:34950", 0), 0u)
      << run.out;
  EXPECT_EQ(run.Row("B").outcome.rfind("unreachable: cannot connect to 127.0.3.51:4100", 0), 0u)
      << run.out;
  EXPECT_NE(run.err.find("morvek-cli: collect: A: started"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace morvek::test
