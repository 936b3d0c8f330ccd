#include "app/tform54.h"

#include "app/application.h"
#include "codec/cp1251.h"

namespace morvek {

namespace {

constexpr std::string_view kProductTitle = "morvek";

}  // namespace

void TForm54::FormCreate() {
  caption = std::string("О программе"_cp) + " " + std::string(kProductTitle);
  Label2.text = "morvek: контрольна стрічка фіскальних реєстраторів в електронному вигляді"_cp;
  Label3.text.clear();
  Button1.caption = "Закрыть"_cp;
}

void TForm54::FormActivate() {
  Label1.text =
      std::string("ПО "_cp) + std::string(kProductTitle) + " (" + app_.Form3.versionText + ")";
}

}  // namespace morvek
