// "Сохранять в архив": the documents a request loaded, stored in the archive as they came.
#include <exception>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/tform53.h"
#include "archive/archive.h"
#include "codec/cp1251.h"
#include "platform/translation.h"

namespace morvek {

void TForm53::StoreLoaded() {
  std::vector<DocumentRecord> records;
  long long refused = 0;
  for (const FetchedDocument& document : fetched.documents) {
    try {
      records.push_back(ReadDocument(document.xml));
    } catch (const ArchiveError&) {
      ++refused;  // shown, but not a document the archive can account for
    }
  }
  const std::string settings = app_.Form2.iniPath.empty() ? "morvek.ini" : app_.Form2.iniPath;
  try {
    const std::unique_ptr<Archive> archive = OpenArchive(ArchiveLocation("", settings));
    if (!records.empty()) {
      RegisterRecord device;
      device.fiscalNumber = records.front().fiscalNumber;
      device.protocol = ZelmarChosen() ? "zelmar" : "datecs";
      archive->NoteRegister(device);
      archive->Store(records, Arrival::kFetched);
    }
  } catch (const std::exception& failure) {
    app_.ui.ShowMessage(std::string("Не удалось сохранить документы в архив: "_tr) +
                        Utf8ToCp1251(failure.what()));
    return;
  }
  if (refused > 0)
    app_.ui.ShowMessage(std::string("Документов, не принятых архивом: "_tr) +
                        std::to_string(refused));
}

}  // namespace morvek
