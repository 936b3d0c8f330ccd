#pragma once
// PDF files read back by poppler's tools, as a reader of them would see them: the text of a page
// with its layout (pdftotext in its physical layout), the number of pages, and a page as a grey
// picture.
#include <cstdlib>
#include <locale>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "test_support.h"

namespace morvek::test {

inline std::string PopplerOutput(const std::string& command, const std::string& outFile) {
  if (std::system((command + " > '" + outFile + "' 2>&1").c_str()) != 0)
    throw std::runtime_error(command + " failed: " + ReadFile(outFile));
  return ReadFile(outFile);
}

// The lines of page `page` (from 1) as pdftotext lays them out in characters of `pitch` points,
// trailing spaces cut.
inline std::vector<std::string> PdfPageLines(const std::string& pdf, int page, double pitch) {
  std::ostringstream points;  // with a decimal point whatever the test's locale
  points.imbue(std::locale::classic());
  points << pitch;
  const std::string text =
      PopplerOutput("pdftotext -fixed " + points.str() + " -nopgbrk -f " + std::to_string(page) +
                        " -l " + std::to_string(page) + " '" + pdf + "' -",
                    pdf + ".txt");
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line.substr(0, line.find_last_not_of(' ') + 1));
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

inline int PdfPageCount(const std::string& pdf) {
  const std::string info = PopplerOutput("pdfinfo '" + pdf + "'", pdf + ".info");
  const std::size_t at = info.find("Pages:");
  if (at == std::string::npos) throw std::runtime_error("pdfinfo names no pages: " + info);
  return std::stoi(info.substr(at + 6));
}

// The share of dark pixels of page `page` rendered at 30 dots per inch by pdftoppm.
inline double PdfPageInk(const std::string& pdf, int page) {
  PopplerOutput("pdftoppm -gray -r 30 -singlefile -f " + std::to_string(page) + " -l " +
                    std::to_string(page) + " '" + pdf + "' '" + pdf + "-page'",
                pdf + ".log");
  const std::string picture = ReadFile(pdf + "-page.pgm");
  // P5, the width, the height and the largest value, then a byte per pixel.
  std::istringstream header(picture);
  header.imbue(std::locale::classic());  // a space is no digit separator here
  std::string magic;
  int width = 0, height = 0, largest = 0;
  header >> magic >> width >> height >> largest;
  if (magic != "P5" || width <= 0 || height <= 0) throw std::runtime_error("not a PGM picture");
  const std::size_t start = static_cast<std::size_t>(header.tellg()) + 1;
  std::size_t dark = 0;
  for (std::size_t i = start; i < picture.size(); ++i)
    dark += static_cast<unsigned char>(picture[i]) < 128;
  return static_cast<double>(dark) / (static_cast<double>(width) * height);
}

}  // namespace morvek::test
