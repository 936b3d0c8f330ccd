#include "platform/translation.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>
#include <span>

#include "platform/ini_file.h"
#include "platform/translation_table.h"

namespace morvek {

namespace {

std::atomic<Language> current{Language::kRussian};

std::span<const TranslationEntry> Ukrainian() {
  return {kUkrainianTexts, kUkrainianTextCount};
}

// The same table in Windows-1251, for the window models' texts; converted once, on first use.
const std::map<std::string, std::string, std::less<>>& UkrainianCp1251() {
  static const auto table = [] {
    std::map<std::string, std::string, std::less<>> converted;
    for (const TranslationEntry& entry : Ukrainian())
      converted.emplace(Utf8ToCp1251(entry.source), Utf8ToCp1251(entry.translation));
    return converted;
  }();
  return table;
}

}  // namespace

void SetLanguage(Language language) {
  current = language;
}

Language CurrentLanguage() {
  return current;
}

std::optional<Language> LanguageFromCode(std::string_view code) {
  if (code == "ru") return Language::kRussian;
  if (code == "uk") return Language::kUkrainian;
  return std::nullopt;
}

std::string_view LanguageCode(Language language) {
  return language == Language::kUkrainian ? "uk" : "ru";
}

Language ChooseLanguage(std::optional<Language> option, std::string_view settingsCode,
                        std::string_view messagesLocale) {
  if (option) return *option;
  if (const auto chosen = LanguageFromCode(settingsCode)) return *chosen;
  if (messagesLocale.starts_with("uk")) return Language::kUkrainian;
  return Language::kRussian;
}

Language StartingLanguage(std::optional<Language> option, const std::string& settingsFile) {
  std::string_view locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') {
      locale = value;
      break;
    }
  }
  const std::string chosen =
      IniFile(settingsFile).ReadString(kLanguageSection, kLanguageKey, "", 8);
  return ChooseLanguage(option, chosen, locale);
}

std::string_view Tr(std::string_view russianUtf8) {
  if (current != Language::kUkrainian) return russianUtf8;
  const auto table = Ukrainian();
  const auto found = std::lower_bound(
      table.begin(), table.end(), russianUtf8,
      [](const TranslationEntry& entry, std::string_view text) { return entry.source < text; });
  return found != table.end() && found->source == russianUtf8 ? found->translation : russianUtf8;
}

std::string_view TrCp1251(std::string_view russianCp1251) {
  if (current != Language::kUkrainian) return russianCp1251;
  const auto& table = UkrainianCp1251();
  const auto found = table.find(russianCp1251);
  return found != table.end() ? std::string_view(found->second) : russianCp1251;
}

std::size_t TranslatedTexts(Language language) {
  return language == Language::kUkrainian ? kUkrainianTextCount : 0;
}

}  // namespace morvek
