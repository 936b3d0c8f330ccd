#include "export/text_image.h"

#include "codec/cp1251.h"
#include "export/export_error.h"
#include "render/renderer.h"
#include "session/render.h"

namespace morvek {

std::vector<std::string> TextImage(const DocumentRecord& document) {
  const bool zReport = document.kind == DocumentKind::kZReport;
  const RenderResult shown = RenderDocument(document.xml, zReport ? kTypeZReport : kTypeReceipt,
                                            document.number, "error.log");
  if (shown.failed)
    throw ExportError("the " + std::string(zReport ? "Z-report" : "receipt") + " number " +
                      std::to_string(document.number) + " (DI " + std::to_string(document.di) +
                      ") cannot be rendered");
  std::vector<std::string> lines;
  lines.reserve(shown.lines.size());
  for (const std::string& line : shown.lines) lines.push_back(Cp1251ToUtf8(line));
  return lines;
}

}  // namespace morvek
