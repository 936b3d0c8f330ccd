#pragma once
// The exchange log: every frame a driver sends and every reply it receives, two lines an entry,
//   ";dd-mm-yyyy hh:mm:ss  header"
//   body
// each ended by CR LF. Logging is off while the writer has no file name. The file is opened and
// closed for every entry; the path is fixed at the first write of the run.
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace morvek {

class ExchangeLog {
 public:
  // Empty: logging off.
  void SetName(std::string name) { name_ = std::move(name); }
  const std::string& Name() const { return name_; }
  // The file written to, empty before the first write.
  const std::string& Path() const { return path_; }

  // Appends one entry; an unwritable file skips it without a word.
  void LogExchange(std::string_view header, std::string_view body);

  // The local time of an entry and the folder of the log; the platform's by default.
  std::function<std::tm()> now;
  std::function<std::string()> workDir;

 private:
  std::string name_;
  std::string path_;
};

// ";" and the time as " 5-03-2016  9:04:07", two spaces, the header text.
std::string ExchangeLogHeaderLine(const std::tm& time, std::string_view header);

}  // namespace morvek
