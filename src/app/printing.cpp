// Printing a range of documents on the register's own paper.
#include "app/application.h"
#include "app/tform53.h"
#include "codec/cp1251.h"
#include "platform/numbers.h"
#include "platform/translation.h"

namespace morvek {

void TForm53::Button6Click() {
  app_.RunExclusive([this] {
    printAnswer = PrintAnswer::kNotAsked;
    if (!app_.ui.AskYesNo(std::string("Печать требует затрат бумажной ленты"_tr),
                          std::string("Продолжить?"_tr)))
      return;
    // The typed numbers go out as they stand, Z-report numbers too.
    const int first = StrToInt(Edit1.text);
    const int last = StrToInt(Edit2.text);
    const LinkReply reply = app_.Link().PrintInterval(Edit3.text, first, last);
    const bool accepted = reply.kind == LinkReply::Kind::kAnswer && reply.refusal.empty();
    printAnswer = accepted ? PrintAnswer::kAccepted : PrintAnswer::kRefused;
  });
}

}  // namespace morvek
