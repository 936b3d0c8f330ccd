// The fleet file: a register per section, and every section that cannot be used refused before
// anything connects, naming it.
#include "collect/fleet.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace morvek {
namespace {

using test::TempDir;
using test::WriteFile;

class FleetFile : public ::testing::Test {
 protected:
  std::vector<FleetRegister> Read(const std::string& text) {
    WriteFile(path, text);
    return ReadFleet(path);
  }
  // The message of the refusal; empty when the file was taken.
  std::string Refusal(const std::string& text) {
    try {
      Read(text);
    } catch (const FleetError& failure) {
      return failure.what();
    }
    return {};
  }

  TempDir dir;
  std::string path = dir.File("fleet.ini");
};

TEST_F(FleetFile, EachSectionIsARegisterInFileOrder) {
  const auto fleet = Read(
      "; the shop\r\n[Каса 1]\r\nhost=10.0.0.21\r\nprotocol=datecs\r\nfiscal-number=4000000001\r\n"
      "\r\n[Склад]\r\nHost = 10.0.0.22\r\nport=4000\r\nprotocol=Zelmar\r\nid-dev=ZL0000007\r\n"
      "password=111111\r\n");
  ASSERT_EQ(fleet.size(), 2u);
  EXPECT_EQ(fleet[0].name, "Каса 1");
  EXPECT_EQ(fleet[0].host, "10.0.0.21");
  EXPECT_EQ(fleet[0].port, 0) << "the protocol's own";
  EXPECT_EQ(fleet[0].protocol, Protocol::kDatecs);
  EXPECT_EQ(fleet[0].fiscalNumber, "4000000001");
  EXPECT_EQ(fleet[0].idDev, "");
  EXPECT_EQ(fleet[0].password, "");
  EXPECT_EQ(fleet[1].name, "Склад");
  EXPECT_EQ(fleet[1].port, 4000);
  EXPECT_EQ(fleet[1].protocol, Protocol::kZelmar);
  EXPECT_EQ(fleet[1].idDev, "ZL0000007");
  EXPECT_EQ(fleet[1].password, "111111");
}

TEST_F(FleetFile, ASectionThatCannotBeUsedIsRefusedByName) {
  const std::string good = "[Good]\nhost=h\nprotocol=datecs\nfiscal-number=1\n";
  struct Case {
    const char* section;
    const char* expected;
  };
  for (const Case c : {
           Case{"[Каса 2]\nprotocol=datecs\nfiscal-number=1\n", "[Каса 2]: no host"},
           {"[Каса 2]\nhost=\nprotocol=datecs\nfiscal-number=1\n", "[Каса 2]: no host"},
           {"[B]\nhost=h\nfiscal-number=1\n", "[B]: no protocol (datecs or zelmar)"},
           {"[B]\nhost=h\nprotocol=epson\nfiscal-number=1\n",
            "[B]: protocol \"epson\" is neither datecs nor zelmar"},
           {"[B]\nhost=h\nprotocol=datecs\n", "[B]: give exactly one of fiscal-number and id-dev"},
           {"[B]\nhost=h\nprotocol=datecs\nfiscal-number=1\nid-dev=2\n",
            "[B]: give exactly one of fiscal-number and id-dev"},
           {"[B]\nhost=h\nport=0\nprotocol=datecs\nfiscal-number=1\n",
            "[B]: port \"0\" is not 1 to 65535"},
           {"[B]\nhost=h\nport=65536\nprotocol=datecs\nfiscal-number=1\n",
            "[B]: port \"65536\" is not 1 to 65535"},
           {"[B]\nhost=h\nport=12ab\nprotocol=datecs\nfiscal-number=1\n",
            "[B]: port \"12ab\" is not 1 to 65535"},
           {"[B]\nhost=h\nprotocol=datecs\nfiscal_number=1\n",
            "[B]: unknown key \"fiscal_number\""},
           {"[good]\nhost=h\nprotocol=datecs\nfiscal-number=2\n", "[good]: named twice"},
       }) {
    const std::string refusal = Refusal(good + c.section);
    EXPECT_EQ(refusal, path + ": " + c.expected) << c.section;
  }
}

TEST_F(FleetFile, AFileWithoutRegistersIsRefused) {
  EXPECT_EQ(Refusal("host=h\n"), path + ": no registers (a [name] section for each)");
  EXPECT_EQ(Refusal(""), path + ": no registers (a [name] section for each)");
  const std::string missing = dir.File("missing.ini");
  try {
    ReadFleet(missing);
    ADD_FAILURE() << "a missing file was taken";
  } catch (const FleetError& failure) {
    EXPECT_EQ(failure.what(), missing + ": cannot read the fleet file");
  }
}

}  // namespace
}  // namespace morvek
