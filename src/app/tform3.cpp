#include "app/tform3.h"

#include "app/application.h"

// Placeholder definitions until the main window's logic lands.
namespace morvek {

void TForm3::FormCreate() {}
void TForm3::FormActivate() {}
void TForm3::FormClose() {}
void TForm3::Button1Click() {}
void TForm3::Button3Click() {}
void TForm3::RadioGroup1Click() {}
void TForm3::RadioGroup2Click() {}
void TForm3::Edit2Change() {}
void TForm3::N45Click() {}
void TForm3::N5Click() {}
int TForm3::GetUSBPort(int, std::string&, const std::string&, const std::string&) {
  return 0;
}
int TForm3::RestoreUSBPort() {
  return 0;
}
void TForm3::AnnounceRegister(SocketStream&) {}
bool TForm3::CheckFirmwareDate(const std::string&) {
  return false;
}
bool TForm3::CheckDatecsFirmwareDate(const std::string&) {
  return false;
}

}  // namespace morvek
