// Cutting a journal into its documents' bytes. The text is checked by the XML parser as well; this
// scanner only finds where each document starts and ends, so it follows tags, quoted attribute
// values (which may hold '>'), comments, CDATA sections and processing instructions.
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_error.h"
#include "archive/document_record.h"
#include "archive/journal_slices.h"
#include "codec/errors.h"
#include "platform/xml_document.h"

namespace morvek {

namespace {

constexpr std::string_view kSpace = " \t\r\n";

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  std::size_t at = 0;

  bool AtEnd() const { return at >= text_.size(); }
  bool Sees(std::string_view what) const { return text_.substr(at).starts_with(what); }
  void SkipSpace() {
    while (!AtEnd() && kSpace.find(text_[at]) != std::string_view::npos) ++at;
  }
  // Past the next occurrence of end.
  void SkipPast(std::string_view end) {
    const std::size_t found = text_.find(end, at);
    if (found == std::string_view::npos) Refuse("the text ends inside markup");
    at = found + end.size();
  }
  // The name of the element whose tag starts here ('<' then the name).
  std::string_view TagName() const {
    std::size_t end = at + 1;
    while (end < text_.size() && kSpace.find(text_[end]) == std::string_view::npos &&
           text_[end] != '>' && text_[end] != '/')
      ++end;
    return text_.substr(at + 1, end - at - 1);
  }
  // Past the start tag here; true when it closes itself ("/>").
  bool SkipStartTag() {
    for (char quote = 0; at < text_.size(); ++at) {
      const char c = text_[at];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        ++at;
        return text_[at - 2] == '/';
      }
    }
    Refuse("the text ends inside a tag");
  }
  // Past the element whose start tag is here, with everything inside it.
  void SkipElement() {
    if (SkipStartTag()) return;
    for (int depth = 1; depth > 0;) {
      const std::size_t open = text_.find('<', at);
      if (open == std::string_view::npos) Refuse("an element is not closed");
      at = open;
      if (Sees("<!--")) {
        SkipPast("-->");
      } else if (Sees("<![CDATA[")) {
        SkipPast("]]>");
      } else if (Sees("<?")) {
        SkipPast("?>");
      } else if (Sees("</")) {
        SkipPast(">");
        --depth;
      } else if (!SkipStartTag()) {
        ++depth;
      }
    }
  }
  [[noreturn]] static void Refuse(const std::string& why) {
    throw ArchiveError("not a journal: " + why);
  }

 private:
  std::string_view text_;
};

// Past the declaration and the comments and processing instructions after it.
void ReadProlog(Scanner& scan) {
  scan.SkipPast("?>");
  for (;;) {
    scan.SkipSpace();
    if (scan.Sees("<!--"))
      scan.SkipPast("-->");
    else if (scan.Sees("<?"))
      scan.SkipPast("?>");
    else
      break;
  }
}

// The text must declare the register's encoding: the documents' bytes are kept as they are and
// rendered again under that declaration.
bool DeclaresWindows1251(std::string_view text) {
  if (!text.starts_with("<?xml")) return false;
  const std::size_t end = text.find("?>");
  if (end == std::string_view::npos) return false;
  std::string declaration(text.substr(0, end));
  for (char& c : declaration) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return declaration.find("encoding=\"windows-1251\"") != std::string::npos ||
         declaration.find("encoding='windows-1251'") != std::string::npos;
}

}  // namespace

// The slices, without the parser's check of the whole text.
std::vector<std::string_view> SliceJournal(std::string_view journal) {
  if (!DeclaresWindows1251(journal)) Scanner::Refuse("no XML declaration naming windows-1251");
  Scanner scan(journal);
  ReadProlog(scan);
  if (scan.TagName() != "RQ") Scanner::Refuse("the root is not RQ");
  if (scan.SkipStartTag()) return {};
  std::vector<std::string_view> documents;
  for (;;) {
    scan.SkipSpace();
    if (scan.Sees("</")) break;
    if (!scan.Sees("<") || scan.TagName() != "DAT")
      Scanner::Refuse("something other than a document between documents");
    const std::size_t start = scan.at;
    scan.SkipElement();
    scan.SkipSpace();
    if (!scan.Sees("<") || scan.TagName() != "MAC") Scanner::Refuse("a DAT without its MAC");
    scan.SkipElement();
    documents.push_back(journal.substr(start, scan.at - start));
  }
  return documents;
}

std::vector<std::string_view> SliceDocuments(std::string_view journal) {
  std::vector<std::string_view> documents = SliceJournal(journal);
  try {
    ReadXmlStream(
        journal, [](const XmlNode&) {}, [](const XmlNode&) {});
  } catch (const XmlError& error) {
    Scanner::Refuse(error.what());
  }
  return documents;
}

}  // namespace morvek
