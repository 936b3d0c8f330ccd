#include "cli/output.h"

#include <unistd.h>

#include <cstdio>
#include <exception>
#include <iostream>

#include "codec/cp1251.h"
#include "platform/numbers.h"
#include "platform/text_file.h"
#include "platform/translation.h"

namespace morvek {

namespace {

template <class Lines>
bool WriteEach(const Lines& lines, bool utf8) {
  // Handed on a block at a time: the text of millions of lines is never held whole.
  constexpr std::size_t kBlock = 1 << 16;
  std::string text;
  bool written = true;
  const auto flush = [&] {
    written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && written;
    text.clear();
  };
  for (const auto& line : lines) {
    if (utf8)
      AppendUtf8(text, line);
    else
      text += line;
    text += '\n';
    if (text.size() >= kBlock) flush();
  }
  flush();
  return written;
}

}  // namespace

bool WriteLines(const std::vector<std::string>& lines, bool utf8) {
  return WriteEach(lines, utf8);
}

bool WriteLines(const LineList& lines, bool utf8) {
  return WriteEach(lines, utf8);
}

bool PrintLines(const std::vector<std::string>& lines, bool utf8) {
  const bool written = WriteLines(lines, utf8);
  return std::fflush(stdout) == 0 && written;
}

bool PrintLines(const LineList& lines, bool utf8) {
  const bool written = WriteLines(lines, utf8);
  return std::fflush(stdout) == 0 && written;
}

bool SaveOut(Ui& ui, std::string name, const std::vector<std::string>& lines) {
  // As the dialog does: a typed name without extension gets the default one. A name that ends in
  // a separator names a folder and is left as it is, so that writing to it fails instead of
  // creating a hidden ".txt" inside it.
  const auto slash = name.rfind('/');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  if (base < name.size() && name.find('.', base) == std::string::npos) name += ".txt";
  try {
    SaveLines(name, lines);
    return true;
  } catch (const std::exception& failure) {
    ui.ShowUnhandledError(failure.what());
    return false;
  }
}

FetchHooks ProgressHooks() {
  FetchHooks hooks;
  if (!isatty(STDERR_FILENO)) return hooks;
  hooks.progress = [](long long done, long long count, long long number) {
    if (count == 0) return;
    const float percent = static_cast<float>(done) / static_cast<float>(count) * 100.0f;
    std::cerr << "\r\033[K" << Cp1251ToUtf8("ИДЁТ ЗАГРУЗКА ДАННЫХ...."_tr) << ' '
              << FloatToFixed(percent, 2, 8) << "%     " << number << std::flush;
  };
  return hooks;
}

void EndProgress() {
  if (isatty(STDERR_FILENO)) std::cerr << "\r\033[K" << std::flush;
}

}  // namespace morvek
