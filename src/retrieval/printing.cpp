// Printing a range of documents on the register's own paper.
#include "app/application.h"
#include "codec/cp1251.h"
#include "datecs/results.h"
#include "platform/numbers.h"
#include "retrieval/tform53.h"

namespace morvek {

void TForm53::Button6Click() {
  app_.RunExclusive([this] {
    printAnswer = PrintAnswer::kNotAsked;
    if (!app_.ui.AskYesNo(std::string("Печать требует затрат бумажной ленты"_cp),
                          std::string("Продолжить?"_cp)))
      return;
    // The typed numbers go out as they stand, Z-report numbers too.
    const int first = StrToInt(Edit1.text);
    const int last = StrToInt(Edit2.text);
    bool accepted = false;
    if (ZelmarChosen()) {
      int out = 0;
      const ZelmarResult* result = app_.zelmar.ZelmarPrintInterval(Edit3.text, first, last, out);
      app_.Form2.lastZelmarResult = result;
      accepted = result->statusCode == "0000" &&
                 (result->statusFlags & (ZelmarResult::kChecksumError | ZelmarResult::kNak |
                                         ZelmarResult::kNoReply)) == 0;
    } else {
      const long deliveries = app_.datecs.deliveries;
      app_.datecs.DatecsPrintInterval(app_.PrinterResultsxCallback(), Edit3.text, first, last);
      accepted = app_.datecs.deliveries != deliveries &&
                 datecs::ResultMessage(app_.Form2.lastDatecsResult.statusFlags).empty();
    }
    printAnswer = accepted ? PrintAnswer::kAccepted : PrintAnswer::kRefused;
  });
}

}  // namespace morvek
