// morvek-cli archive import: journal files into the archive, each file taken whole or refused.
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/storable.h"
#include "archive/store_in_batches.h"
#include "cli/archive_commands.h"
#include "cli/archive_open.h"
#include "platform/text_file.h"

namespace morvek {

namespace {

constexpr int kImported = 0;
constexpr int kArchiveFailed = 1;
constexpr int kRefused = 3;

struct ImportOptions {
  std::string archive;
  std::vector<std::string> files;
};

// The documents of the file, or nothing when it is refused (told on standard error).
std::optional<std::vector<DocumentRecord>> ReadJournalFile(const std::string& file) {
  try {
    return ReadStorableDocuments(ReadWholeFile(file));
  } catch (const std::exception& failure) {
    std::cerr << "morvek-cli: " << file << ": refused: " << failure.what() << '\n';
    return std::nullopt;
  }
}

int RunImport(const ImportOptions& options) {
  const std::unique_ptr<Archive> archive = OpenNamedArchive(options.archive);
  if (!archive) return kArchiveFailed;
  int status = kImported;
  for (const std::string& file : options.files) {
    std::optional<std::vector<DocumentRecord>> documents = ReadJournalFile(file);
    if (!documents) {
      status = kRefused;
      continue;
    }
    try {
      const StoreReport report =
          StoreInBatches(*archive, std::move(*documents), Arrival::kImported);
      std::cout << file << ": " << report.stored << " stored, " << report.held << " held"
                << std::endl;
    } catch (const std::exception& failure) {
      ReportArchiveFailure(failure);
      std::cerr << "morvek-cli: " << file << ": the batches before the failure are kept\n";
      return kArchiveFailed;
    }
  }
  return status;
}

}  // namespace

void AddImportCommand(CLI::App& archive, int& exitCode) {
  auto options = std::make_shared<ImportOptions>();
  CLI::App* import = archive.add_subcommand("import", "Take journal XML files into the archive");
  AddArchiveOption(*import, options->archive);
  import->add_option("FILE", options->files, "Journal XML files")->required();
  import->footer(
      "Prints \"FILE: N stored, M held\" for each file (held: the archive had them already). A "
      "file that cannot be read, or holds a document that cannot be taken, is refused whole and "
      "named on standard error; the other files go on.\n"
      "Exit status: 0 when every file was taken; 3 when a file was refused; 1 when the archive "
      "cannot be opened or fails (the batches stored before stay); 2 on a usage error.");
  import->callback([options, &exitCode] { exitCode = RunImport(*options);
});
}  // namespace morvek

}  // namespace morvek
