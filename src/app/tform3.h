#pragma once
// The main window "Соединение с РРО": the fields the drivers read. The connect sequence and the
// settings file come with the desktop program.
#include <string>

#include "platform/controls.h"
#include "platform/window.h"

namespace morvek {

class TForm3 : public Window {
 public:
  Edit Edit1;  // address of the remote-access server
  Edit Edit2;  // the register: ID_DEV or fiscal number

  std::string versionText;
  std::string logName;        // the Zelmar exchange log
  int replyCount = 0;         // the Zelmar driver's reply-check count
  bool foreignReply = false;  // the last Zelmar read answered another request
};

}  // namespace morvek
