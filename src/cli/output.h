#pragma once
// The rendered lines on standard output, in UTF-8 or as the Windows-1251 bytes they are; in a file
// as the save button writes them; and a fetch's progress on a terminal.
#include <string>
#include <vector>

#include "platform/line_list.h"
#include "platform/ui.h"
#include "session/fetch.h"

namespace morvek {

// False when standard output did not take every byte (a full disk, a closed descriptor).
bool PrintLines(const std::vector<std::string>& lines, bool utf8);
bool PrintLines(const LineList& lines, bool utf8);
// PrintLines without the flush, for lines printed a few at a time; false as there.
bool WriteLines(const std::vector<std::string>& lines, bool utf8);
bool WriteLines(const LineList& lines, bool utf8);

// The lines saved as the save button saves them (Windows-1251, CR LF after every line); a name
// without extension gets ".txt". A file that cannot be written is reported; false then.
bool SaveOut(Ui& ui, std::string name, const std::vector<std::string>& lines);

// The progress of a fetch on standard error when it is a terminal; nothing otherwise. EndProgress
// clears its line.
FetchHooks ProgressHooks();
void EndProgress();

}  // namespace morvek
