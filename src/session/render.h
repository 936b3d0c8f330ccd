#pragma once
// The text image of loaded documents, as the retrieval window shows it: the lines, where each
// document starts, and which documents failed (their lines so far stay; the failure goes to the
// error log).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/document.h"
#include "platform/line_list.h"
#include "render/renderer.h"

namespace morvek {

struct RenderResult {
  std::vector<std::string> lines;  // Windows-1251
  std::vector<RenderedDocument> documents;
  // Loading or the walk raised: the lines end with the two failure lines.
  bool failed = false;
};

// The two lines that end a request that failed.
std::vector<std::string> FailureLines();

// The documents of the range firstText..lastText (decimal texts, as the number fields hold them)
// in the layout of the document type, from a model that grows over a run; the tables persist
// between renderings, as the retrieval window keeps them.
// With take, each document's lines go to it as soon as the walk has made them (see
// Renderer::HandLinesTo); the result's lines are what it left, then the failure lines.
using LinesTaken = std::function<void(LineList& lines)>;
RenderResult RenderModel(const rq& model, DocumentTables& tables, int documentType,
                         std::string_view firstText, std::string_view lastText,
                         const std::string& errorLogPath, const LinesTaken& take = {});

// A journal text loaded into a fresh model, ordered (unless `order` is false, as after a request
// by date) and rendered.
RenderResult RenderJournal(std::string_view journal, int documentType, std::string_view firstText,
                           std::string_view lastText, const std::string& errorLogPath,
                           bool order = true);
// The same, ordered, for a journal file read a block at a time and never held whole; lines go to
// take as RenderModel hands them. A file that cannot be opened or read raises FileError before
// any line is handed on.
RenderResult RenderJournalFile(const std::string& path, int documentType,
                               std::string_view firstText, std::string_view lastText,
                               const std::string& errorLogPath, const LinesTaken& take);

// The assembled journal of fetched documents, a line each, between its opening and closing lines.
template <typename Documents>
std::vector<std::string> AssembledLines(const Documents& documents) {
  std::vector<std::string> lines = {"<?xml version=\"1.0\" encoding=\"windows-1251\"?>",
                                    "<RQ V=\"1\">"};
  for (const auto& document : documents) lines.emplace_back(document.xml);
  lines.push_back("</RQ>");
  return lines;
}
// The lines as one text, each ended with CR LF.
std::string JoinLines(const std::vector<std::string>& lines);
std::string JoinLines(const LineList& lines);

// One document's XML (a DAT and its MAC) as a fetch of that one number shows it: the document
// alone, assembled as a fetch assembles its documents, rendered in the layout of documentType with
// the number in both number fields.
RenderResult RenderDocument(std::string_view xml, int documentType, long long number,
                            const std::string& errorLogPath);

}  // namespace morvek
