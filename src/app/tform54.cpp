#include "app/tform54.h"

#include "app/application.h"
#include "codec/cp1251.h"
#include "platform/translation.h"

namespace morvek {

namespace {

constexpr std::string_view kProductTitle = "morvek";

}  // namespace

void TForm54::FormCreate() {
  Retranslate();
  Label3.text.clear();
}

void TForm54::Retranslate() {
  caption = std::string("О программе"_tr) + " " + std::string(kProductTitle);
  Label2.text = "morvek: контрольна стрічка фіскальних реєстраторів в електронному вигляді"_cp;
  Button1.caption = "Закрыть"_tr;
}

void TForm54::FormActivate() {
  Label1.text =
      std::string("ПО "_tr) + std::string(kProductTitle) + " (" + app_.Form3.versionText + ")";
}

}  // namespace morvek
