#pragma once
// The words a text search looks in, and a search typed by a person turned into a full-text query
// that cannot be read as query syntax: each word quoted, all of them to be present.
#include <string>
#include <string_view>

#include "archive/document_record.h"

namespace morvek {

// The item names, comments and service-line texts of a document, a line each.
std::string SearchableText(const DocumentRecord& document);

// The words of the text (split at white space) as quoted phrases that must all match, for an
// FTS5 MATCH; a quote inside a word is doubled. Empty when the text holds no word.
std::string AllWordsQuery(std::string_view text);

}  // namespace morvek
