#include "session/render.h"

#include <exception>

#include "codec/cp1251.h"
#include "journal/loader.h"
#include "journal/typ_work.h"
#include "platform/block_file.h"
#include "platform/controls.h"
#include "platform/translation.h"
#include "render/ordering.h"

namespace morvek {

namespace {

void AddFailure(RenderResult& result) {
  for (std::string& line : FailureLines()) result.lines.push_back(std::move(line));
  result.failed = true;
}

RenderResult Failed() {
  RenderResult result;
  AddFailure(result);
  return result;
}

// A journal (its text or its XmlInput) loaded into a fresh model; false when it raised.
template <class Journal>
bool LoadModel(rq& model, const Journal& journal) {
  model.Clear();
  control cursor;
  cursor.Reset();
  try {
    LoadJournalText(model, cursor, journal);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

template <class Lines>
std::string Joined(const Lines& lines) {
  std::string text;
  for (const auto& line : lines) text.append(line) += "\r\n";
  return text;
}

bool Order(rq& model) {
  try {
    OrderDocuments(model);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> FailureLines() {
  return {std::string("Непредвиденный сбой в структуре получаемой информации!"_tr),
          std::string("Попробуйте выбрать другой диапазон номеров или дат!"_tr)};
}

RenderResult RenderModel(const rq& model, DocumentTables& tables, int documentType,
                         std::string_view firstText, std::string_view lastText,
                         const std::string& errorLogPath, const LinesTaken& take) {
  RenderResult result;
  ListBox list;
  Renderer renderer(model, tables, errorLogPath);
  renderer.HandLinesTo(take);
  try {
    renderer.RenderDocuments(list, documentType, firstText, lastText);
  } catch (const std::exception&) {
    result.lines = list.lines;
    AddFailure(result);
    return result;
  }
  result.lines = list.lines;
  result.documents = renderer.Rendered();
  return result;
}

RenderResult RenderJournal(std::string_view journal, int documentType, std::string_view firstText,
                           std::string_view lastText, const std::string& errorLogPath, bool order) {
  rq model;
  if (!LoadModel(model, journal) || (order && !Order(model))) return Failed();
  DocumentTables tables;
  return RenderModel(model, tables, documentType, firstText, lastText, errorLogPath);
}

RenderResult RenderJournalFile(const std::string& path, int documentType,
                               std::string_view firstText, std::string_view lastText,
                               const std::string& errorLogPath, const LinesTaken& take) {
  rq model;
  bool loaded = false;
  {
    const BlockFile file(path);
    loaded = LoadModel(model, file.Input());
    file.CheckRead();
  }
  if (!loaded || !Order(model)) return Failed();
  DocumentTables tables;
  return RenderModel(model, tables, documentType, firstText, lastText, errorLogPath, take);
}

std::string JoinLines(const std::vector<std::string>& lines) {
  return Joined(lines);
}

std::string JoinLines(const LineList& lines) {
  return Joined(lines);
}

RenderResult RenderDocument(std::string_view xml, int documentType, long long number,
                            const std::string& errorLogPath) {
  struct Held {
    std::string_view xml;
  };
  const std::string text = std::to_string(number);
  return RenderJournal(JoinLines(AssembledLines(std::vector<Held>{{xml}})), documentType, text,
                       text, errorLogPath);
}

}  // namespace morvek
