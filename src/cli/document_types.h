#pragma once
// The document types of --type, as items of the retrieval window's type box.
#include <map>
#include <string>

#include "render/renderer.h"

namespace morvek {

inline const std::map<std::string, int> kDocumentTypes = {
    {"z", kTypeZReport}, {"receipt", kTypeReceipt}, {"both", kTypeBoth}, {"cash", kTypeCash}};

}  // namespace morvek
