#pragma once
// The program's own texts in the operator's language. The Russian texts of the design are the
// source and the default; translations/morvek_uk.ts holds their Ukrainian, compiled into a table at
// build time (the desktop program loads the same file through Qt for its widgets' texts). The
// register's own words, the text images of documents, are never translated.
//
//   Button3.caption = "Подключить"_tr;      // Windows-1251, as the window models keep texts
//   note = std::string(Tr("Документов: "));  // UTF-8, as the archive window keeps them
#include <optional>
#include <string>
#include <string_view>

#include "codec/cp1251.h"

namespace morvek {

enum class Language { kRussian, kUkrainian };

void SetLanguage(Language language);
Language CurrentLanguage();

// "ru" or "uk" (the form the settings file and --lang take); nothing for any other text.
std::optional<Language> LanguageFromCode(std::string_view code);
std::string_view LanguageCode(Language language);

// The language to start in, highest first: --lang, the settings file's choice, the locale of the
// environment's messages (LC_ALL, LC_MESSAGES, LANG: the first that is set) starting with "uk",
// else Russian. An unknown code in the settings file is passed over.
Language ChooseLanguage(std::optional<Language> option, std::string_view settingsCode,
                        std::string_view messagesLocale);
// The settings file's key of the choice, in a section of its own.
inline constexpr std::string_view kLanguageSection = "Language";
inline constexpr std::string_view kLanguageKey = "Lang";
// ChooseLanguage with the key of that settings file and the locale of this process's environment:
// what a program starts in.
Language StartingLanguage(std::optional<Language> option, const std::string& settingsFile);

// The text in the current language: the translation of a Russian UTF-8 source text, or the text
// itself when it has none (so the argument is a literal or a table's entry: the view lives as long
// as it does).
std::string_view Tr(std::string_view russianUtf8);
// The same for a Russian text in Windows-1251.
std::string_view TrCp1251(std::string_view russianCp1251);

// How many texts the table translates into the language (the Russian has none).
std::size_t TranslatedTexts(Language language);

// Marks a table's text for translation where it is used: Tr(text) for a UTF-8 one, TrCp1251(text)
// for one written "Нет бумаги"_trlater (Windows-1251, as "_cp" writes it).
constexpr std::string_view TrLater(std::string_view russianUtf8) {
  return russianUtf8;
}
template <cp1251::Literal L>
constexpr std::string_view operator""_trlater() {
  return {L.bytes, L.length};
}

// "Подключить"_tr is the caption in the current language, as Windows-1251 bytes.
template <cp1251::Literal L>
std::string_view operator""_tr() {
  return TrCp1251({L.bytes, L.length});
}

}  // namespace morvek
