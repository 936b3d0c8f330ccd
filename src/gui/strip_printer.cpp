#include "gui/strip_printer.h"

#include <QPainter>

#include "export/pdf_pages.h"
#include "export/strip_flow.h"
#include "gui/qt_text.h"
#include "gui/retrieval_view.h"

namespace morvek::gui {

bool PrintStripsOn(QPrinter& printer, const std::vector<TextStrip>& strips) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  painter.setFont(ListFont());
  const QFontMetrics metrics = painter.fontMetrics();
  const int line = metrics.lineSpacing();
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  std::vector<std::size_t> lengths;
  for (const TextStrip& strip : strips) lengths.push_back(strip.lines.size());
  const std::vector<StripPiece> pieces =
      FlowStrips(lengths, static_cast<std::size_t>(page.height() / line), 1);

  int shown = 0;  // the page being painted
  const auto text = [&](std::size_t row, const std::string& cp1251) {
    painter.drawText(QPoint(0, static_cast<int>(row) * line + metrics.ascent()), ToQt(cp1251));
  };
  for (const StripPiece& piece : pieces) {
    for (; shown < piece.page; ++shown) printer.newPage();
    const TextStrip& strip = strips[piece.strip];
    if (piece.continued)
      text(piece.row - 1, Utf8ToCp1251(ContinuationLine(Cp1251ToUtf8(strip.title))));
    for (std::size_t i = 0; i < piece.lines; ++i)
      text(piece.row + i, strip.lines[piece.firstLine + i]);
  }
  return painter.end();
}

}  // namespace morvek::gui
