#include "log/exchange_log.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include "platform/text_file.h"

namespace morvek {

namespace {

std::tm LocalNow() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return local;
}

std::string CurrentDir() {
  std::string dir(4096, '\0');
  if (!getcwd(dir.data(), dir.size())) return {};
  dir.resize(dir.find('\0'));
  return dir;
}

// The file is written in binary mode: a line feed inside a text becomes CR LF here.
void AppendLine(std::string& out, std::string_view text) {
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  out += "\r\n";
}

}  // namespace

std::string ExchangeLogHeaderLine(const std::tm& time, std::string_view header) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, ";%2d-%02d-%4d %2d:%02d:%02d  ", time.tm_mday, time.tm_mon + 1,
                time.tm_year + 1900, time.tm_hour, time.tm_min, time.tm_sec);
  return std::string(stamp).append(header);
}

void ExchangeLog::LogExchange(std::string_view header, std::string_view body) {
  if (name_.empty()) return;
  if (path_.empty()) path_ = JoinPath(workDir ? workDir() : CurrentDir(), name_);
  std::string entry;
  AppendLine(entry, ExchangeLogHeaderLine(now ? now() : LocalNow(), header));
  AppendLine(entry, body);
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path_.c_str(), "ab"),
                                                             std::fclose);
  if (!file) return;
  std::fwrite(entry.data(), 1, entry.size(), file.get());
}

}  // namespace morvek
