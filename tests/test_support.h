#pragma once
// Helpers the tests share: UTF-8 to Windows-1251 for expected texts, temporary folders, a Ui that
// records what it was asked, and a journal parsed and loaded in one call.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "codec/cp1251.h"
#include "platform/recording_ui.h"

namespace morvek::test {

// Windows-1251 bytes of a UTF-8 text, for comparing with the core's texts.
inline std::string W(const std::string& utf8) {
  return Utf8ToCp1251(utf8);
}
// UTF-8 of Windows-1251 bytes, for readable failure messages.
inline std::string U(const std::string& cp1251) {
  return Cp1251ToUtf8(cp1251);
}

// A fresh folder under the system's temporary folder, removed with its contents at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// The names of the entries of a folder, sorted.
std::vector<std::string> FileNames(const std::string& dir);
// Runs body in a forked child whose files cannot grow past sizeLimit bytes (0: no limit; writes
// past it fail with EFBIG) and gives body's result; 100 + the signal when one ended the child, -2
// when it had not ended within a few seconds and was killed.
int RunInChild(const std::function<int()>& body, long sizeLimit = 0);

// The session's recording Ui, with sleeps counted instead of slept, a hook in the message loop
// and scripted save dialogs.
class RecordingUi : public morvek::RecordingUi {
 public:
  // Runs the hook, so a test can click the wait window's abort button while a driver waits.
  void ProcessMessages() override {
    ++processed;
    if (onProcessMessages) onProcessMessages();
  }
  void Sleep(int ms) override { sleptMs += ms; }
  std::optional<std::string> PromptSaveFile(const SaveDialogOptions& options) override {
    dialogs.push_back(options);
    return saveAnswer;
  }

  int processed = 0;
  long sleptMs = 0;  // sleeps are counted, not slept
  std::function<void()> onProcessMessages;
  std::vector<SaveDialogOptions> dialogs;
  std::optional<std::string> saveAnswer;
};

}  // namespace morvek::test
