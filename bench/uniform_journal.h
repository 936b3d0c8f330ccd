#pragma once
// A journal of receipts numbered 1 to N, of one sale each and every one of them kDocumentBytes
// long (padded in the goods name): with fragments of kFragmentSize Base64 characters each receipt
// takes three fragments, and a fourth request that ends it.
#include <stdexcept>
#include <string>

#include "codec/cp1251.h"

namespace morvek {

inline constexpr int kFragmentSize = 200;           // Base64 characters: 150 bytes of a document
inline constexpr std::size_t kDocumentBytes = 420;  // three fragments: 150, 150 and 120 bytes

inline std::string UniformJournal(int documents) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
  for (int n = 1; n <= documents; ++n) {
    const std::string no = std::to_string(n);
    const std::string head =
        std::string("<DAT FN=\"3000000001\" TN=\"ПН 3000000001\" ZN=\"ЖЛ00000001\" DI=\""_cp) + no +
        "\" V=\"1\"><C T=\"0\"><P N=\"1\" C=\"1\" NM=\"";
    const std::string tail = "\" SM=\"1250\" Q=\"1000\" PRC=\"1250\" TX=\"1\"/>" +
                             std::string("<M N=\"2\" T=\"0\" NM=\"ГОТІВКА\" SM=\"1250\"/>"_cp) +
                             "<E N=\"3\" NO=\"" + no + "\" SM=\"1250\" CS=\"1\"/></C><TS>20160314" +
                             std::to_string(100000 + n % 60) + "</TS></DAT><MAC DI=\"" + no +
                             "\"/>";
    std::string name = std::string("Хліб Український нарізний"_cp);
    if (head.size() + tail.size() + name.size() > kDocumentBytes)
      throw std::logic_error("a receipt is longer than three fragments");
    name.append(kDocumentBytes - head.size() - tail.size() - name.size(), '.');
    xml += head + name + tail + "\r\n";
  }
  return xml + "</RQ>\r\n";
}

}  // namespace morvek
