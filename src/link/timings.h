#pragma once
// Every wait of a connection to a register: the server handshake, the two drivers and the block
// transfer, in one value handed to the program or the session. The programs keep the defaults;
// tests shrink them.
#include "blocks/block_transfer.h"
#include "datecs/timings.h"
#include "link/handshake.h"
#include "zelmar/timings.h"

namespace morvek {

struct RegisterTimings {
  HandshakeTimings handshake;
  ZelmarTimings zelmar;
  DatecsTimings datecs;
  BlockTimings blocks;
};

}  // namespace morvek
