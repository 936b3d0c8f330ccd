#include "export/pdf_pages.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "export/export_error.h"
#include "export/strip_flow.h"

namespace morvek {

namespace {

constexpr double kMm = 72.0 / 25.4;
constexpr double kRollWidth = 80 * kMm, kRollMargin = 4 * kMm;
constexpr double kA4Width = 210 * kMm, kA4Height = 297 * kMm, kA4Margin = 12 * kMm;
constexpr double kGutter = 6 * kMm;  // between A4 columns
// A roll printer's line holds 48 characters, as many as an A4 column at most; wider lines wrap.
constexpr std::size_t kMaxColumnChars = 48;
constexpr double kA4FontSize = 8;           // points
constexpr double kLineSpacing = 1.2;        // line height over font size
constexpr double kMaxPageHeight = 14400;    // the tallest page PDF readers open (200 inches)
constexpr std::size_t kRollHeaderRows = 3;  // the register, the title, a blank row
constexpr std::size_t kA4HeaderRows = 2;    // the header and a blank row under its rule
// fontconfig falls back to the system's monospace font (Liberation Mono, say) without it.
constexpr char kFontFamily[] = "DejaVu Sans Mono";

// Characters of a UTF-8 text: one column each in a monospace font.
std::size_t Width(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string_view WithoutTrailingSpaces(std::string_view line) {
  const std::size_t end = line.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : line.substr(0, end + 1);
}

// The characters a column holds: the widest line (its trailing spaces do not print), within
// what a page can hold readably.
std::size_t ColumnChars(const PrintJob& job) {
  std::size_t widest = 1;
  for (const TextStrip& strip : job.strips)
    for (const std::string& line : strip.lines)
      widest = std::max(widest, Width(WithoutTrailingSpaces(line)));
  return std::min(widest, kMaxColumnChars);
}

// A strip's lines as rows of a column: a line wider than the column goes on in the rows under
// it, as a printer wraps it.
std::vector<std::string> Rows(const std::vector<std::string>& lines, std::size_t columnChars) {
  std::vector<std::string> rows;
  rows.reserve(lines.size());
  for (const std::string& line : lines) {
    std::string_view rest = WithoutTrailingSpaces(line);
    do {
      std::size_t bytes = 0;
      for (std::size_t chars = 0; bytes < rest.size(); ++bytes) {
        if ((rest[bytes] & 0xC0) == 0x80) continue;
        if (chars++ == columnChars) break;
      }
      rows.emplace_back(rest.substr(0, bytes));
      rest.remove_prefix(bytes);
    } while (!rest.empty());
  }
  return rows;
}

// A PDF surface writing into a string, with one drawing context.
class PdfCanvas {
 public:
  PdfCanvas(double width, double height)
      : surface_(cairo_pdf_surface_create_for_stream(Append, &bytes_, width, height)),
        cr_(cairo_create(surface_)) {
    cairo_select_font_face(cr_, kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  }
  ~PdfCanvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
  }
  PdfCanvas(const PdfCanvas&) = delete;
  PdfCanvas& operator=(const PdfCanvas&) = delete;

  // The advance of one character at a font size of one point.
  double Advance() {
    cairo_set_font_size(cr_, 1);
    cairo_text_extents_t extents;
    cairo_text_extents(cr_, "0", &extents);
    return extents.x_advance;
  }
  void SetFontSize(double size) {
    cairo_set_font_size(cr_, size);
    cairo_font_extents_t extents;
    cairo_font_extents(cr_, &extents);
    ascent_ = extents.ascent;
    lineHeight_ = size * kLineSpacing;
  }
  double LineHeight() const { return lineHeight_; }
  // A page of another size than the one before; only before anything is drawn on it.
  void SetPageSize(double width, double height) {
    cairo_pdf_surface_set_size(surface_, width, height);
  }
  void Text(double x, double top, const std::string& text) {
    cairo_move_to(cr_, x, top + ascent_);
    cairo_show_text(cr_, text.c_str());
  }
  // Right-aligned at x.
  void TextEndingAt(double x, double top, const std::string& text) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr_, text.c_str(), &extents);
    Text(x - extents.x_advance, top, text);
  }
  void Rule(double x0, double x1, double y, bool dashed) {
    const double dash = 2;
    cairo_save(cr_);
    cairo_set_line_width(cr_, 0.4);
    if (dashed) cairo_set_dash(cr_, &dash, 1, 0);
    cairo_move_to(cr_, x0, y);
    cairo_line_to(cr_, x1, y);
    cairo_stroke(cr_);
    cairo_restore(cr_);
  }
  void EndPage() { cairo_show_page(cr_); }

  std::string Finish() {
    cairo_surface_finish(surface_);
    const cairo_status_t status = cairo_surface_status(surface_);
    if (status != CAIRO_STATUS_SUCCESS)
      throw ExportError(std::string("the PDF cannot be made: ") + cairo_status_to_string(status));
    return std::move(bytes_);
  }

 private:
  static cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
  }

  std::string bytes_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
  double ascent_ = 0, lineHeight_ = 0;
};

// Every strip on pages of its own, as long as it is; one taller than a PDF page may be goes on
// over further pages.
std::string RollPages(const PrintJob& job) {
  PdfCanvas canvas(kRollWidth, kRollWidth);
  const double width = kRollWidth - 2 * kRollMargin;
  const std::size_t columnChars = kMaxColumnChars;
  canvas.SetFontSize(width / (static_cast<double>(columnChars) * canvas.Advance()));
  const double line = canvas.LineHeight();
  const auto bodyRows =
      static_cast<std::size_t>((kMaxPageHeight - 2 * kRollMargin) / line) - kRollHeaderRows;
  for (const TextStrip& strip : job.strips) {
    const std::vector<std::string> rows = Rows(strip.lines, columnChars);
    for (const StripPiece& piece :
         FlowStrips({strip.lines.empty() ? 0 : rows.size()}, bodyRows, 1)) {
      canvas.SetPageSize(
          kRollWidth, 2 * kRollMargin + static_cast<double>(kRollHeaderRows + piece.lines) * line);
      double top = kRollMargin;
      canvas.Text(kRollMargin, top, job.registerName);
      canvas.Text(kRollMargin, top += line,
                  piece.continued ? ContinuationLine(strip.title) : strip.title);
      top += 2 * line;
      for (std::size_t i = 0; i < piece.lines; ++i, top += line)
        canvas.Text(kRollMargin, top, rows[piece.firstLine + i]);
      canvas.EndPage();
    }
  }
  return canvas.Finish();
}

// The strips flowing down as many columns as the widest line lets stand side by side.
std::string A4Pages(const PrintJob& job) {
  PdfCanvas canvas(kA4Width, kA4Height);
  const double width = kA4Width - 2 * kA4Margin;
  const double advance = canvas.Advance();
  const std::size_t columnChars = ColumnChars(job);
  const double size = kA4FontSize;
  canvas.SetFontSize(size);
  const double columnWidth = static_cast<double>(columnChars) * advance * size;
  const int columns = std::max(1, static_cast<int>((width + kGutter) / (columnWidth + kGutter)));
  const double line = canvas.LineHeight();
  const auto columnRows =
      static_cast<std::size_t>((kA4Height - 2 * kA4Margin) / line) - kA4HeaderRows;

  std::vector<std::vector<std::string>> rows;
  std::vector<std::size_t> lengths;
  for (const TextStrip& strip : job.strips) {
    rows.push_back(strip.lines.empty() ? std::vector<std::string>()
                                       : Rows(strip.lines, columnChars));
    lengths.push_back(rows.back().size());
  }
  const std::vector<StripPiece> pieces = FlowStrips(lengths, columnRows, columns);
  const int pages = PageCount(pieces);
  const double body = kA4Margin + static_cast<double>(kA4HeaderRows) * line;

  auto piece = pieces.begin();
  for (int page = 0; page < pages; ++page) {
    canvas.Text(kA4Margin, kA4Margin, job.registerName + "   " + job.range);
    canvas.TextEndingAt(kA4Width - kA4Margin, kA4Margin,
                        "Стр. " + std::to_string(page + 1) + " из " + std::to_string(pages));
    canvas.Rule(kA4Margin, kA4Width - kA4Margin, kA4Margin + 1.5 * line, false);
    for (; piece != pieces.end() && piece->page == page; ++piece) {
      const TextStrip& strip = job.strips[piece->strip];
      const double x = kA4Margin + piece->column * (columnWidth + kGutter);
      double top = body + static_cast<double>(piece->row) * line;
      if (piece->continued) {
        canvas.Text(x, top - line, ContinuationLine(strip.title));
      } else if (piece->row > 0) {
        canvas.Rule(x, x + columnWidth, top - line / 2, true);  // where the strips were cut
      }
      for (std::size_t i = 0; i < piece->lines; ++i, top += line)
        canvas.Text(x, top, rows[piece->strip][piece->firstLine + i]);
    }
    canvas.EndPage();
  }
  return canvas.Finish();
}

}  // namespace

std::string ContinuationLine(const std::string& title) {
  return "(продолжение: " + title + ")";
}

double CharacterPitch(PdfPaper paper) {
  PdfCanvas canvas(kA4Width, kA4Height);
  return paper == PdfPaper::kRoll80 ? (kRollWidth - 2 * kRollMargin) / kMaxColumnChars
                                    : kA4FontSize * canvas.Advance();
}

std::string PdfPages(const PrintJob& job, PdfPaper paper) {
  return paper == PdfPaper::kRoll80 ? RollPages(job) : A4Pages(job);
}

}  // namespace morvek
