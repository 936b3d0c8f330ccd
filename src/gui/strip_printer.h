#pragma once
// Strips of text on a printer's pages (or Qt's PDF printer) in the font of the retrieval window's
// list, one column a page: a strip moves whole to the next page when it fits on one, and only a
// longer one is split, going on under a line that says so.
#include <QPrinter>
#include <vector>

#include "platform/text_strip.h"

namespace morvek::gui {

// strips in Windows-1251. False when the printer cannot be painted on.
bool PrintStripsOn(QPrinter& printer, const std::vector<TextStrip>& strips);

}  // namespace morvek::gui
