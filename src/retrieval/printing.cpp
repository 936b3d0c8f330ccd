// Printing a range of documents on the register's own paper.
#include "app/application.h"
#include "platform/cp1251.h"
#include "platform/numbers.h"
#include "retrieval/tform53.h"

namespace morvek {

void TForm53::Button6Click() {
  app_.RunExclusive([this] {
    if (!app_.ui.AskYesNo(std::string("Печать требует затрат бумажной ленты"_cp),
                          std::string("Продолжить?"_cp)))
      return;
    // The typed numbers go out as they stand, Z-report numbers too.
    const int first = StrToInt(Edit1.text);
    const int last = StrToInt(Edit2.text);
    if (ZelmarChosen()) {
      int out = 0;
      app_.Form2.lastZelmarResult = app_.zelmar.ZelmarPrintInterval(Edit3.text, first, last, out);
    } else {
      app_.datecs.DatecsPrintInterval(app_.datecs.PrinterResultsxCallback(), Edit3.text, first,
                                      last);
    }
  });
}

}  // namespace morvek
