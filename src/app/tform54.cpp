#include "app/tform54.h"

#include "app/application.h"

namespace morvek {

void TForm54::FormCreate() {}
void TForm54::FormActivate() {}

}  // namespace morvek
