#pragma once
// The hidden window that owns the program's one client socket.
#include "platform/socket.h"

namespace morvek {

class TForm1 {
 public:
  ClientSocket ClientSocket1;
};

}  // namespace morvek
