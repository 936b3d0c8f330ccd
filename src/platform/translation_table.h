#pragma once
// The Ukrainian texts, generated at build time from translations/morvek_uk.ts by
// scripts/translations.py: UTF-8 pairs, sorted by their Russian source text.
#include <cstddef>
#include <string_view>

namespace morvek {

struct TranslationEntry {
  std::string_view source;
  std::string_view translation;
};

extern const TranslationEntry kUkrainianTexts[];
extern const std::size_t kUkrainianTextCount;

}  // namespace morvek
