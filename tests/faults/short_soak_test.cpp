// A short soak run (scripts/soak.sh): a made-up journal of a thousand receipts fetched whole in
// one run of morvek-cli against morvek-sim committing faults at random, by number and by blocks.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "test_support.h"

namespace morvek::test {
namespace {

#ifdef MORVEK_SIM
// The soak script's report and its exit status; the script is bounded by timeout(1).
std::string Soak(const std::string& options, int& status) {
  const std::string cli = MORVEK_CLI;
  const std::string build = cli.substr(0, cli.rfind("/src/"));
  const std::string command = "timeout 120 bash " MORVEK_SOURCE_DIR "/scripts/soak.sh --build '" +
                              build + "' --host 127.0.70.200 --receipts 1000 " + options + " 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  std::string report;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) report += buffer;
  status = pclose(pipe);
  return report;
}

void ExpectEveryReceipt(const std::string& report, int status) {
  EXPECT_EQ(status, 0) << report;
  EXPECT_NE(report.find("receipts in the output: 1000, missing 0, unexpected 0"), std::string::npos)
      << report;
  EXPECT_EQ(report.find("faults at random: 0 "), std::string::npos) << "no fault was drawn";
}

TEST(ShortSoak, EveryReceiptArrivesByNumberDespiteFaultsAtRandom) {
  int status = -1;
  const std::string report = Soak("--fault-rate 0.02 --fault-kinds syn,command", status);
  ExpectEveryReceipt(report, status);
}

TEST(ShortSoak, EveryReceiptArrivesByBlocksDespiteFaultsAtRandom) {
  int status = -1;
  const std::string report = Soak("--block --fault-rate 0.005 --fault-kinds split", status);
  ExpectEveryReceipt(report, status);
}
#endif

}  // namespace
}  // namespace morvek::test
