#pragma once
// The masked date and time fields of the retrieval window, written as the Windows forms wrote
// their masks ("!99/99/00;1;."), carried over to Qt's input masks. The two differ: there '0' is a
// required digit and '9' an optional one, in Qt the other way round; there '/' and ':' stand for
// the date and time separators; there the third field after ';' is the blank character, in Qt the
// one after the only ';'. The text the logic reads keeps the old form: one character per position,
// a blank position as a space, the literals in place.
#include <QString>
#include <string>
#include <string_view>
#include <vector>

class QLineEdit;

namespace morvek::gui {

struct MaskSlot {
  bool input = false;
  bool optional = false;
  char literal = 0;  // for a literal position
};

struct EditMask {
  QString inputMask;  // for QLineEdit::setInputMask
  std::vector<MaskSlot> positions;
  bool leadingBlanks = false;  // '!': the digits of a part stand right, its blanks in front
  bool keepLiterals = true;    // "1" in the second field: the literals are part of the text
  QChar blank = QLatin1Char('_');
};

EditMask TranslateEditMask(std::string_view mask, char dateSeparator, char timeSeparator);

// The text the logic reads from what the field shows (QLineEdit::displayText).
std::string MaskedText(const EditMask& mask, const QString& displayText);

// Puts a text of the logic's form into the field, position by position.
void ShowMaskedText(QLineEdit& edit, const EditMask& mask, std::string text);

}  // namespace morvek::gui
