#pragma once
// The desktop program's language: the core's texts, and Qt's translators for the widgets' own
// texts (morvek_uk.qm) and for Qt's dialogs and buttons ("Save As", "Yes", "Cancel").
#include <QStringList>

#include "platform/translation.h"

namespace morvek::gui {

// Where morvek_uk.qm is looked for: beside the program (the build tree), then the installed
// share/morvek/translations.
QStringList TranslationFolders();

// Sets the language and installs its translators in place of the previous ones. False when the
// program's own .qm of a translated language is found in none of the folders: its widgets then
// keep the Russian texts.
bool UseLanguage(Language language, const QStringList& folders = TranslationFolders());

}  // namespace morvek::gui
