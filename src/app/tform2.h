#pragma once
// The hidden window whose one instance holds what the windows and drivers share: settings read at
// start-up and the last result of each driver.
#include <string>

#include "datecs/ret_data.h"
#include "zelmar/zelmar_result.h"

namespace morvek {

class TForm2 {
 public:
  std::string workDir;
  std::string iniPath;
  std::string priorityLevel;
  std::string priorityElJournal;
  int ukrVersion = 0;
  datecs::RetData lastDatecsResult;  // a copy of the last Datecs result delivered
  const ZelmarResult* lastZelmarResult = nullptr;
};

}  // namespace morvek
