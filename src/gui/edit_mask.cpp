#include "gui/edit_mask.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace morvek::gui {
namespace {

bool IsQtMaskCharacter(char c) {
  return QStringView(u"AaNnXx90DdHhBb#<>![]{}\\").contains(QLatin1Char(c));
}

// The Qt mask character of an input character of the old mask; 0 for a literal.
char QtInput(char c) {
  switch (c) {
    case 'L': return 'A';  // letter
    case 'l': return 'a';
    case 'A': return 'N';  // letter or digit
    case 'a': return 'n';
    case 'C': return 'X';  // any character
    case 'c': return 'x';
    case '0': return '9';  // digit
    case '9': return '0';
    case '#': return '#';  // digit or sign, optional in both
    default: return 0;
  }
}

bool IsOptionalInput(char c) {
  return c == 'l' || c == 'a' || c == 'c' || c == '9' || c == '#';
}

}  // namespace

EditMask TranslateEditMask(std::string_view mask, char dateSeparator, char timeSeparator) {
  EditMask result;
  std::string_view body = mask.substr(0, mask.find(';'));
  if (body.size() < mask.size()) {
    std::string_view fields = mask.substr(body.size() + 1);
    const std::size_t second = fields.find(';');
    result.keepLiterals = fields.substr(0, second) != "0";
    if (second != std::string_view::npos && second + 1 < fields.size())
      result.blank = QLatin1Char(fields[second + 1]);
  }
  for (std::size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (c == '!') {
      result.leadingBlanks = true;
    } else if (c == '>' || c == '<') {
      result.inputMask += QLatin1Char(c);
    } else if (const char q = QtInput(c)) {
      result.inputMask += QLatin1Char(q);
      result.positions.push_back({true, IsOptionalInput(c), 0});
    } else {
      char literal = c == '/' ? dateSeparator : c == ':' ? timeSeparator : c == '_' ? ' ' : c;
      if (c == '\\' && i + 1 < body.size()) literal = body[++i];
      if (IsQtMaskCharacter(literal)) result.inputMask += QLatin1Char('\\');
      result.inputMask += QLatin1Char(literal);
      result.positions.push_back({false, false, literal});
    }
  }
  result.inputMask += QLatin1Char(';');
  result.inputMask += result.blank;
  return result;
}

std::string MaskedText(const EditMask& mask, const QString& displayText) {
  std::string text;
  std::size_t partBegin = 0;
  // With '!' the digits typed into a part stand right: "5" typed as the day reads " 5".
  const auto closePart = [&] {
    if (!mask.leadingBlanks) return;
    std::string part = text.substr(partBegin);
    std::string digits;
    for (char c : part)
      if (c != ' ') digits += c;
    text.replace(partBegin, part.size(), std::string(part.size() - digits.size(), ' ') + digits);
  };
  for (std::size_t i = 0; i < mask.positions.size(); ++i) {
    const MaskSlot& slot = mask.positions[i];
    if (!slot.input) {
      closePart();
      if (mask.keepLiterals) text += slot.literal;
      partBegin = text.size();
      continue;
    }
    const QChar shown =
        static_cast<qsizetype>(i) < displayText.size() ? displayText[i] : mask.blank;
    text +=
        shown == mask.blank || shown.unicode() > 0x7F ? ' ' : static_cast<char>(shown.unicode());
  }
  closePart();
  return text;
}

void ShowMaskedText(QLineEdit& edit, const EditMask& mask, std::string text) {
  const int cursor = edit.cursorPosition();
  // Qt reads a blank character in a text as a jump to the next separator, so the characters go in
  // one by one at their own positions. Each insertion counts as typed: the signals stay quiet.
  const QSignalBlocker quiet(edit);
  edit.setText(QString());
  std::size_t at = 0;
  for (std::size_t i = 0; i < mask.positions.size() && at < text.size(); ++i) {
    const char c = text[at];
    if (!mask.positions[i].input) {
      if (mask.keepLiterals) ++at;
      continue;
    }
    ++at;
    if (c == ' ') continue;
    edit.setCursorPosition(static_cast<int>(i));
    edit.insert(QString(QLatin1Char(c)));
  }
  edit.setCursorPosition(cursor);
}

}  // namespace morvek::gui
