#pragma once
// A Datecs driver with shrunk timings, and a register's reply frames written out byte by byte
// (independently of the driver's codec).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "datecs/results.h"
#include "datecs/transaction.h"
#include "platform/socket.h"
#include "test_support.h"

namespace morvek::test {

// SOH LEN SEQ CMD DATA EOT S0..S5 ENQ four digits ETX, with the checksum the register computes.
inline std::string DatecsReply(std::uint8_t seq, std::uint8_t cmd, const std::string& data,
                               std::vector<std::uint8_t> status = std::vector<std::uint8_t>(6,
                                                                                            0x80)) {
  std::string body;
  body += static_cast<char>(0x20 + data.size() + 11);
  body += static_cast<char>(seq);
  body += static_cast<char>(cmd);
  body += data;
  body += '\x04';
  for (std::uint8_t s : status) body += static_cast<char>(s);
  body += '\x05';
  unsigned sum = 0;
  for (char c : body) sum += static_cast<unsigned char>(c);
  std::string frame = "\x01" + body;
  for (int shift = 12; shift >= 0; shift -= 4)
    frame += static_cast<char>(0x30 + ((sum >> shift) & 15));
  return frame + '\x03';
}

inline std::string FrameBytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

// A Datecs driver on its own socket, with shrunk timings, its countdown recorded and the records
// it delivers kept, with the message the program would show for each.
class DatecsDriverTest : public ::testing::Test {
 protected:
  // waitStepMs: one second of the countdown.
  explicit DatecsDriverTest(int waitStepMs = 1)
      : driver(socket, {.streamTimeoutMs = 50, .waitStepMs = waitStepMs, .readOnTimeouts = 10}) {
    socket.SetHost("127.0.0.1");
    socket.connectTimeoutMs = 2000;
    driver.hooks.countdown = [this](int attempt, int secondsLeft) {
      countdown.push_back(std::to_string(attempt) + " : " + std::to_string(secondsLeft));
      waitShown = true;
      if (onCountdown) onCountdown();
      return aborted;
    };
    driver.hooks.countdownDone = [this] { waitShown = false; };
  }
  // The client socket connected to the fake register's port.
  void ConnectTo(int port) {
    socket.SetPort(port);
    socket.Activate();
  }
  // Feeds a reply straight to the parser and decodes it, as after an exchange for the command.
  void Decode(std::uint8_t command, const std::string& bytes) {
    driver.record.command = command;
    driver.record.statusFlags = 0;
    datecs::ResetParser(driver.parser);
    for (char c : bytes) datecs::FeedByte(driver.parser, static_cast<std::uint8_t>(c));
    driver.DatecsDecodeReply();
  }
  // The callback: a copy of the record, and the register's first error as the program shows it.
  datecs::ResultCallback Deliver() {
    return [this](datecs::RetData& record) {
      last = record;
      const std::string_view message = datecs::ResultMessage(record.statusFlags);
      if (!message.empty()) messages.emplace_back(message);
    };
  }

  ClientSocket socket;
  DatecsDriver driver;
  datecs::RetData last;
  std::vector<std::string> messages;
  std::vector<std::string> countdown;  // every silent second shown, "3 : 59"
  std::function<void()> onCountdown;
  bool waitShown = false;
  bool aborted = false;  // the operator's abort, as the countdown reports it
};

}  // namespace morvek::test
