#include "app/application.h"
#include "retrieval/tform53.h"

// Placeholders until block transfer lands.
namespace morvek {

void TForm53::FetchBlocks(int, int, int) {}
bool interval::Covers(int, int) {
  return false;
}
void interval::Append(int, int) {}
interval::Range interval::FindAt(int) {
  return {};
}
void interval::Merge(int, int) {}
void interval::RemoveAt(int) {}

}  // namespace morvek
