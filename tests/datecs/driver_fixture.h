#pragma once
// A Datecs driver with its windows, a recording Ui and shrunk timings, and a register's reply
// frames written out byte by byte (independently of the driver's codec).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/tform1.h"
#include "app/tform2.h"
#include "app/tform3.h"
#include "app/tform5.h"
#include "datecs/transaction.h"
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

class DatecsDriverTest : public ::testing::Test {
 protected:
  DatecsDriverTest() {
    driver.timings.streamTimeoutMs = 50;
    driver.timings.waitStepMs = 1;
    driver.timings.readOnTimeouts = 10;
    form1.ClientSocket1.SetHost("127.0.0.1");
    form1.ClientSocket1.connectTimeoutMs = 2000;
    form3.Edit1.text = "127.0.0.1";
    form3.Edit2.text = "4000123";
    form5.onRepaint = [this] { countdown.push_back(form5.Label2.text); };
  }
  // The client socket connected to the fake register's port.
  void ConnectTo(int port) {
    form1.ClientSocket1.SetPort(port);
    form1.ClientSocket1.Activate();
  }
  // Feeds a reply straight to the parser and decodes it, as after an exchange for the command.
  void Decode(std::uint8_t command, const std::string& bytes) {
    driver.record.command = command;
    driver.record.statusFlags = 0;
    driver.parser.ResetParser();
    for (char c : bytes) driver.parser.Feed(static_cast<std::uint8_t>(c));
    driver.DatecsDecodeReply();
  }

  RecordingUi ui;
  Application app{ui};
  TForm1& form1 = app.Form1;
  TForm2& form2 = app.Form2;
  TForm3& form3 = app.Form3;
  TForm5& form5 = app.Form5;
  DatecsDriver driver{form1, form2, form3, form5, ui};
  std::vector<std::string> countdown;  // Label2 at every repaint of the wait window
};

}  // namespace morvek::test
