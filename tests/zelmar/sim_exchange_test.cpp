// The driver against the simulated server and register, whose frame code is written apart from
// the driver's: a misreading on either side fails here.
#include <gtest/gtest.h>

#include <memory>

#include "app/application.h"
#include "app/tform1.h"
#include "app/tform3.h"
#include "sim/sim_server.h"
#include "test_support.h"
#include "zelmar/transaction.h"

namespace morvek {
namespace {

TEST(ZelmarWithSimulator, DiagnosticsAfterBusySynComeBackAsElevenParameters) {
  sim::SimLog quiet(nullptr);
  sim::SimOptions options;
  options.port = 0;
  options.registerConfig.busySyn = 3;
  options.registerConfig.firmware = "Dec  4 2015";
  sim::SimServer server(options, std::make_shared<const sim::Journal>(sim::Journal::FromText("")),
                        quiet);
  const int port = server.Start();

  test::RecordingUi ui;
  ClientSocket socket;
  socket.SetHost("127.0.0.1");
  socket.SetPort(port);
  socket.Activate();
  SocketStream stream(socket, 5000);
  const std::string announcement = ":" + options.registerConfig.fiscalNumber + ":";
  stream.Write(announcement.data(), announcement.size());
  char ready[16] = {};
  ASSERT_EQ(stream.Read(ready, 5), 5u);
  ASSERT_STREQ(ready, "Ready");

  ZelmarTimings timings;
  timings.streamTimeoutMs = 2000;
  ZelmarDriver driver(socket, ui, timings);
  driver.ZelmarSetRetryCount(0);
  int out = 1;
  const ZelmarResult* r = driver.ZelmarGetDiagnostics("582941", out);
  EXPECT_EQ(r->statusFlags, 0u);
  EXPECT_EQ(r->statusCode, "0000");
  EXPECT_EQ(r->paramCount, 11);
  EXPECT_EQ(r->params[3], "Dec  4 2015");
  EXPECT_EQ(driver.Parser().synCount, 3);
  socket.Deactivate();
  server.Stop();
}

}  // namespace
}  // namespace morvek
