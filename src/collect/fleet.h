#pragma once
// The fleet file: one section per register, named as the fleet calls it (UTF-8), with the keys of
// the command-line options that reach one register: host, port, protocol, fiscal-number or id-dev,
// password.
//
//   [Каса 1]
//   host=10.0.0.21
//   protocol=datecs
//   fiscal-number=4000000001
#include <stdexcept>
#include <string>
#include <vector>

#include "link/register_link.h"

namespace morvek {

struct FleetRegister {
  std::string name;  // UTF-8
  std::string host;
  int port = 0;  // 0: the protocol's own
  Protocol protocol = Protocol::kDatecs;
  // Exactly one is given; UTF-8 as written.
  std::string fiscalNumber, idDev;
  std::string password;  // empty: the register's default
};

// A fleet file that cannot be used as it stands: the message names the file and the section.
class FleetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Every register of the file, in file order. Raises FleetError for a file that holds none, a
// section named twice, and a section with a key it does not know, without a host, a protocol of
// datecs or zelmar, or exactly one of fiscal-number and id-dev, or with a port that is not 1 to
// 65535.
std::vector<FleetRegister> ReadFleet(const std::string& path);

// The port the register's server listens on: the one given, else the protocol's own.
int ServerPort(const FleetRegister& entry);

// The protocol's name as the fleet file and the archive write it.
const char* ProtocolName(Protocol protocol);

}  // namespace morvek
