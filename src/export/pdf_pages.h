#pragma once
// Text images on PDF pages, in a monospace font with Cyrillic, drawn by cairo: no display and no
// toolkit needed. Two papers: a roll 80 mm wide with one page per document, as long as the
// document; and A4 with the documents flowing down columns side by side (strip_flow.h).
#include <string>
#include <vector>

#include "platform/text_strip.h"

namespace morvek {

enum class PdfPaper { kRoll80, kA4 };

struct PrintJob {
  std::string registerName;       // at the top of every page
  std::string range;              // what the pages hold, in the A4 header ("01.12.26 - 31.12.26")
  std::vector<TextStrip> strips;  // UTF-8
};

// The bytes of the PDF file. Raises ExportError when cairo fails.
std::string PdfPages(const PrintJob& job, PdfPaper paper);

// The advance of one character on that paper, in points: a reader that knows it sees the columns
// of the text images exactly (pdftotext -fixed).
double CharacterPitch(PdfPaper paper);

// The line above a piece of a strip that goes on from the column before.
std::string ContinuationLine(const std::string& title);

}  // namespace morvek
