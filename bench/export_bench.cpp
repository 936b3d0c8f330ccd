// Times the PDF export of 10,000 generated receipts, from the documents' records to the bytes of
// the file: every text image rendered and every page drawn, on A4 columns and on the 80 mm roll.
// The goal is under 10 s for either.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/document_record.h"
#include "export/document_export.h"
#include "sim/journal_generator.h"

namespace morvek {
namespace {

constexpr int kReceipts = 10000;

const std::vector<DocumentRecord>& Receipts() {
  static const std::vector<DocumentRecord> receipts = [] {
    const GeneratedJournal journal =
        GenerateJournal({.receipts = kReceipts, .zReports = 0, .seed = 20240109});
    return ReadDocuments(journal.xml);
  }();
  return receipts;
}

void Pdf(benchmark::State& state, PdfPaper paper) {
  const std::vector<DocumentRecord>& receipts = Receipts();
  for (auto _ : state) {
    const std::string path = std::filesystem::temp_directory_path() / "morvek-export-bench.pdf";
    const std::unique_ptr<DocumentExport> out = PdfExport(path, paper);
    for (const DocumentRecord& receipt : receipts) out->Add(receipt, "Каса 1");
    out->Finish();
    state.counters["MiB"] = static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024);
    std::filesystem::remove(path);
  }
  state.counters["receipts"] = static_cast<double>(receipts.size());
}

BENCHMARK_CAPTURE(Pdf, a4, PdfPaper::kA4)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(Pdf, roll80, PdfPaper::kRoll80)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace morvek

BENCHMARK_MAIN();
