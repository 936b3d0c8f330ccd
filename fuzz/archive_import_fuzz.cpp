// Fuzz target: arbitrary bytes as a journal file taken into an archive in memory, as
// "morvek-cli archive import" takes it.
//
// Each input is either refused whole (ArchiveError, the archive left empty) or stored; then every
// stored document's XML is the register's bytes of its first occurrence in the input, shown from
// the archive it renders to the lines its own text renders to, and the item names its table holds
// are the UTF-8 of the names in its XML. Any other outcome traps.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "archive/sqlite_archive.h"
#include "archive/storable.h"
#include "archive/store_in_batches.h"
#include "error_log_folder.h"
#include "platform/xml_document.h"
#include "session/render.h"

namespace {

using namespace morvek;

void Require(bool property) {
  if (!property) __builtin_trap();
}

std::vector<std::string> Rendered(const std::string& xml, bool zReport, long long number) {
  struct Document {
    std::string xml;
  };
  const std::string text = std::to_string(number);
  return RenderJournal(JoinLines(AssembledLines(std::vector<Document>{{xml}})),
                       zReport ? kTypeZReport : kTypeReceipt, text, text, FuzzErrorLogPath())
      .lines;
}

// The NM of every P and CP line of the document's XML as the parser reads it (UTF-8); nothing when
// the XML cannot be parsed on its own.
std::optional<std::vector<std::string>> ItemNamesOfXml(const std::string& xml) {
  try {
    const XmlDocument parsed =
        XmlDocument::Parse("<?xml version=\"1.0\" encoding=\"windows-1251\"?><RQ>" + xml + "</RQ>");
    std::vector<std::string> names;
    const XmlNode dat = parsed.DocumentElement().FirstChild();
    for (XmlNode body = dat.FirstChild(); body; body = body.Next()) {
      if (body.Name() != "C") continue;
      for (XmlNode line = body.FirstChild(); line; line = line.Next()) {
        if (line.Name() != "P" && line.Name() != "CP") continue;
        std::string name;
        for (XmlAttribute a = line.FirstAttribute(); a; a = a.Next())
          if (a.Name() == "NM") name = a.Value().Utf8();
        names.push_back(name);
      }
    }
    return names;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::vector<std::string> ItemNamesOfArchive(SqliteArchive& archive, const std::string& fiscal,
                                            long long di) {
  SqliteStatement items(archive.connection().handle(),
                        "SELECT i.name FROM items i JOIN documents d ON d.id = i.document_id "
                        "JOIN registers r ON r.id = d.register_id "
                        "WHERE r.fiscal_number = ? AND d.di = ? ORDER BY i.rowid");
  items.Bind(1, fiscal).Bind(2, di);
  std::vector<std::string> names;
  while (items.Step()) names.push_back(items.Text(0));
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  SqliteArchive archive(":memory:");
  std::vector<DocumentRecord> documents;
  try {
    documents = ReadStorableDocuments(text);
  } catch (const ArchiveError&) {
    Require(archive.Find({}).empty());
    return 0;
  }
  // The first occurrence of each register and DI is the one the archive keeps.
  std::map<std::pair<std::string, long long>, DocumentRecord> first;
  for (const DocumentRecord& document : documents)
    first.emplace(std::make_pair(document.fiscalNumber, document.di), document);
  const StoreReport report = StoreInBatches(archive, documents, Arrival::kImported, 3);
  Require(report.stored == static_cast<long long>(first.size()));
  Require(report.stored + report.held == static_cast<long long>(documents.size()));
  Require(StoreInBatches(archive, documents, Arrival::kImported, 3).held ==
          static_cast<long long>(documents.size()));

  // How many documents of a register share a kind's number: Show picks one of them only.
  std::map<std::tuple<std::string, bool, long long>, int> numbered;
  for (const auto& [key, document] : first)
    ++numbered[{key.first, document.kind == DocumentKind::kZReport, document.number}];

  // What the archive holds, by register and DI.
  std::map<std::pair<std::string, long long>, StoredDocument> held;
  for (const auto& [key, document] : first)
    if (key.second == first.lower_bound({key.first, LLONG_MIN})->first.second)
      archive.ForEachDocument(key.first, "", "", [&held](const StoredDocument& stored) {
        held.emplace(std::make_pair(stored.found.fiscalNumber, stored.found.di), stored);
      });
  Require(held.size() == first.size());

  for (const auto& [key, document] : first) {
    const bool zReport = document.kind == DocumentKind::kZReport;
    const StoredDocument& stored = held.at(key);
    Require(stored.xml == document.xml);
    Require(stored.found.total == document.total && stored.found.number == document.number &&
            stored.found.kind == document.kind);
    if (numbered[{key.first, zReport, document.number}] == 1) {
      const std::optional<StoredDocument> shown = archive.Show(key.first, zReport, document.number);
      Require(shown && shown->found.di == key.second);
      Require(Rendered(shown->xml, zReport, document.number) ==
              Rendered(document.xml, zReport, document.number));
    }
    if (const auto names = ItemNamesOfXml(document.xml))
      Require(ItemNamesOfArchive(archive, key.first, key.second) == *names);
  }
  return 0;
}
