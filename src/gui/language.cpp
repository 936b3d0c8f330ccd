#include "gui/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace morvek::gui {

namespace {

QLocale LocaleOf(Language language) {
  return QLocale(language == Language::kUkrainian ? QLocale::Ukrainian : QLocale::Russian);
}

// Replaces an installed translator with one loaded anew; false when nothing loaded.
bool Reload(QTranslator& translator, const QString& name, const QLocale& locale,
            const QStringList& folders) {
  QCoreApplication::removeTranslator(&translator);
  for (const QString& folder : folders) {
    if (translator.load(locale, name, "_", folder)) {
      QCoreApplication::installTranslator(&translator);
      return true;
    }
  }
  return false;
}

}  // namespace

QStringList TranslationFolders() {
  const QString here = QCoreApplication::applicationDirPath();
  return {here, here + "/../share/morvek/translations"};
}

bool UseLanguage(Language language, const QStringList& folders) {
  static QTranslator qtTexts;
  static QTranslator ownTexts;
  SetLanguage(language);
  Reload(qtTexts, "qtbase", LocaleOf(language),
         {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
  if (language == Language::kRussian) {
    QCoreApplication::removeTranslator(&ownTexts);
    return true;
  }
  return Reload(ownTexts, "morvek", LocaleOf(language), folders);
}

}  // namespace morvek::gui
