#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/errors.h"
#include "platform/xml_document.h"
#include "test_support.h"

namespace morvek {
namespace {

using test::U;
using test::W;

const char kDecl1251[] = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>";

std::vector<XmlNode> Children(const XmlNode& node) {
  std::vector<XmlNode> out;
  for (XmlNode child = node.FirstChild(); child; child = child.Next()) out.push_back(child);
  return out;
}

std::vector<std::string> ChildNames(const XmlNode& node) {
  std::vector<std::string> out;
  for (const XmlNode& child : Children(node)) out.push_back(child.Name());
  return out;
}

std::string Nested(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "<a>";
  for (int i = 0; i < depth; ++i) text += "</a>";
  return text;
}

std::string ParseError(const std::string& text) {
  try {
    XmlDocument::Parse(text);
  } catch (const XmlError& e) {
    return e.what();
  }
  return "(parsed)";
}

// --- well-formedness ---

TEST(XmlDocumentParse, ReadsTheJournalRootAndItsAttributes) {
  const auto doc = XmlDocument::Parse(R"(<RQ V="1"><DAT FN="F1"/></RQ>)");
  const XmlNode root = doc.DocumentElement();
  EXPECT_EQ(root.Name(), "RQ");
  ASSERT_TRUE(root.FirstAttribute());
  EXPECT_EQ(root.FirstAttribute().Name(), "V");
  EXPECT_EQ(root.FirstAttribute().Value().Text(), "1");
  EXPECT_FALSE(root.FirstAttribute().Next());
  EXPECT_EQ(ChildNames(root), std::vector<std::string>{"DAT"});
}

TEST(XmlDocumentParse, MalformedDocumentsRaise) {
  for (const char* text : {
           "",                                  // empty
           "<RQ>",                              // unclosed
           "<RQ></DAT>",                        // mismatched
           "<RQ/><RQ/>",                        // several top-level elements
           "<RQ V='1' V='2'/>",                 // duplicate attribute
           "<RQ>&foo;</RQ>",                    // undefined entity in content
           "<RQ V='&foo;'/>",                   // undefined entity in an attribute
           "<RQ><?xml version=\"1.0\"?></RQ>",  // a declaration inside the content
           "<RQ V=1/>",                         // unquoted attribute
           "<RQ>a & b</RQ>",                    // bare ampersand
           "text only",
       })
    EXPECT_THROW(XmlDocument::Parse(text), XmlError) << text;
}

TEST(XmlDocumentParse, ErrorMessageGivesTheLineOfTheFault) {
  const std::string message = ParseError("<RQ>\n<DAT>\n</RQ>");
  EXPECT_NE(message.find("XML parse error"), std::string::npos) << message;
  EXPECT_NE(message.find("line 3"), std::string::npos) << message;
  EXPECT_EQ(message.find('\n'), std::string::npos) << message;
}

TEST(XmlDocumentParse, DocumentTypeDeclarationsAreRefused) {
  // Entities defined in a DOCTYPE are never expanded, and nothing is fetched for an external one.
  for (const char* text : {
           "<!DOCTYPE RQ><RQ/>",
           "<!DOCTYPE RQ [<!ENTITY e 'x'>]><RQ>&e;</RQ>",
           "<!DOCTYPE RQ [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;'>]>"
           "<RQ>&b;&b;&b;</RQ>",
           "<!DOCTYPE RQ SYSTEM \"http://127.0.0.1:9/journal.dtd\"><RQ/>",
           "<!DOCTYPE RQ [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><RQ>&x;</RQ>",
       }) {
    const std::string message = ParseError(text);
    EXPECT_NE(message.find("document type declaration is not allowed"), std::string::npos)
        << text << " -> " << message;
  }
}

TEST(XmlDocumentParse, PredefinedEntitiesAndCharacterReferencesAreDecoded) {
  const auto doc = XmlDocument::Parse("<L NM='a&amp;b&lt;&#1050;'>x&gt;y&#x41;</L>");
  const XmlNode root = doc.DocumentElement();
  EXPECT_EQ(root.FirstAttribute().Value().Text(), "a&b<" + W("К"));
  ASSERT_TRUE(root.IsTextElement());
  EXPECT_EQ(root.Text().Text(), "x>yA");
}

TEST(XmlDocumentParse, EmptyAttributeValueIsEmptyText) {
  const auto doc = XmlDocument::Parse("<RQ V=''/>");
  EXPECT_EQ(doc.DocumentElement().FirstAttribute().Value().Text(), "");
}

TEST(XmlDocumentParse, AttributesComeInDocumentOrder) {
  const auto doc = XmlDocument::Parse(R"(<E N="2" NO="31" SM="150"/>)");
  std::vector<std::string> names, values;
  for (XmlAttribute a = doc.DocumentElement().FirstAttribute(); a; a = a.Next()) {
    names.push_back(a.Name());
    values.push_back(a.Value().Text());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"N", "NO", "SM"}));
  EXPECT_EQ(values, (std::vector<std::string>{"2", "31", "150"}));
}

TEST(XmlDocumentParse, NamesKeepTheirNamespacePrefix) {
  // A prefixed name is not the bare name: "a:P" must not be taken for "P".
  const auto bound = XmlDocument::Parse(R"(<RQ xmlns:a="urn:x"><a:P a:N="1"/></RQ>)");
  const XmlNode p = bound.DocumentElement().FirstChild();
  EXPECT_EQ(p.Name(), "a:P");
  EXPECT_EQ(p.FirstAttribute().Name(), "a:N");
  const auto unbound = XmlDocument::Parse("<RQ><a:P/></RQ>");
  EXPECT_EQ(unbound.DocumentElement().FirstChild().Name(), "a:P");
}

// --- encodings ---

TEST(XmlDocumentEncoding, Windows1251DocumentGivesWindows1251Texts) {
  const std::string text = kDecl1251 + W("<RQ><L ON=\"Іван\">Дякуємо за покупку</L></RQ>");
  const auto doc = XmlDocument::Parse(text);
  const XmlNode l = doc.DocumentElement().FirstChild();
  EXPECT_EQ(U(l.Text().Text()), "Дякуємо за покупку");
  EXPECT_EQ(l.Text().Text(), W("Дякуємо за покупку"));
  EXPECT_EQ(l.FirstAttribute().Value().Text(), W("Іван"));
  EXPECT_EQ(l.FirstAttribute().Value().Utf8(), "Іван");
}

TEST(XmlDocumentEncoding, Utf8DocumentGivesTheSameWindows1251Texts) {
  for (const std::string decl : {"", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"}) {
    const auto doc = XmlDocument::Parse(decl + "<RQ><L>Дякуємо</L></RQ>");
    EXPECT_EQ(doc.DocumentElement().FirstChild().Text().Text(), W("Дякуємо")) << decl;
  }
}

TEST(XmlDocumentEncoding, CyrillicElementAndAttributeNamesBecomeWindows1251) {
  const auto doc = XmlDocument::Parse(kDecl1251 + W("<Чек Сума=\"1\"/>"));
  EXPECT_EQ(doc.DocumentElement().Name(), W("Чек"));
  EXPECT_EQ(doc.DocumentElement().FirstAttribute().Name(), W("Сума"));
}

TEST(XmlDocumentEncoding, CharacterWithoutWindows1251FormBecomesQuestionMark) {
  const auto doc = XmlDocument::Parse("<L NM='a中b'>x中y</L>");
  EXPECT_EQ(doc.DocumentElement().Text().Text(), "x?y");
  EXPECT_EQ(doc.DocumentElement().FirstAttribute().Value().Text(), "a?b");
}

TEST(XmlDocumentEncoding, Windows1251BytesWithoutADeclarationAreMalformed) {
  EXPECT_THROW(XmlDocument::Parse(W("<RQ><L>Каса</L></RQ>")), XmlError);
}

// The byte 98h has no character in Windows-1251: the document is refused, and libxml2's own
// complaint about it stays off standard error, where the terminal program reports.
TEST(XmlDocumentEncoding, UndefinedWindows1251ByteRaisesWithoutWritingToStandardError) {
  const std::string text = std::string(kDecl1251) +
                           "<RQ><L>a\x98"
                           "b</L></RQ>";
  testing::internal::CaptureStderr();
  EXPECT_THROW(XmlDocument::Parse(text), XmlError);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// Every defined byte, in texts long enough to fill the parser's decoding buffers several times,
// comes back as the byte it was, in element texts and attribute values alike.
TEST(XmlDocumentEncoding, EveryDefinedWindows1251ByteComesBackAcrossLongTexts) {
  std::string bytes;
  for (int b = 0x20; b < 256; ++b)
    if (b != 0x98 && b != '<' && b != '&' && b != '"') bytes += static_cast<char>(b);
  for (const int repeats : {1, 50, 2000}) {
    std::string value;
    for (int i = 0; i < repeats; ++i) value += bytes;
    const auto doc =
        XmlDocument::Parse(kDecl1251 + ("<RQ NM=\"" + value + "\"><L>" + value + "</L></RQ>"));
    const XmlNode root = doc.DocumentElement();
    EXPECT_EQ(root.FirstAttribute().Value().Text(), value) << repeats;
    EXPECT_EQ(root.FirstChild().Text().Text(), value) << repeats;
  }
}

// The undefined byte is refused wherever it stands: in the first block decoded or far past it.
TEST(XmlDocumentEncoding, UndefinedByteIsRefusedAtAnyOffset) {
  for (const std::size_t before : {0u, 1u, 4000u, 100000u}) {
    const std::string text =
        kDecl1251 + ("<RQ><L>" + std::string(before, '\xC0') + "\x98</L></RQ>");
    EXPECT_THROW(XmlDocument::Parse(text), XmlError) << before;
  }
}

TEST(XmlDocumentEncoding, UnknownEncodingRaises) {
  EXPECT_THROW(XmlDocument::Parse("<?xml version=\"1.0\" encoding=\"no-such\"?><RQ/>"), XmlError);
}

// --- nodes as the loader sees them ---

TEST(XmlNodes, WhiteSpaceBetweenElementsIsKeptAsTextNodes) {
  const auto doc = XmlDocument::Parse("<RQ>\n<DAT/>\r\n  <MAC/>\n</RQ>");
  const auto children = Children(doc.DocumentElement());
  ASSERT_EQ(children.size(), 5u);
  EXPECT_EQ(ChildNames(doc.DocumentElement()),
            (std::vector<std::string>{"#text", "DAT", "#text", "MAC", "#text"}));
  EXPECT_EQ(children[0].Text().Text(), "\n");
  EXPECT_EQ(children[2].Text().Text(), "\n  ");  // line ends are normalised by XML itself
  EXPECT_FALSE(children[0].FirstAttribute());
  EXPECT_FALSE(children[0].HasChildNodes());
}

TEST(XmlNodes, CommentsCdataAndProcessingInstructionsAreNodes) {
  const auto doc = XmlDocument::Parse("<RQ><!-- note --><?pi data?><![CDATA[raw]]><P/></RQ>");
  EXPECT_EQ(ChildNames(doc.DocumentElement()),
            (std::vector<std::string>{"#comment", "pi", "#cdata-section", "P"}));
}

TEST(XmlNodes, ElementWhoseOnlyChildIsTextIsATextElement) {
  const auto doc = XmlDocument::Parse(
      "<RQ><L>abc</L><L><![CDATA[<x>]]></L><L/><L><b/></L><L>a<b/></L><L>a<!--c--></L>"
      "<L> </L></RQ>");
  const auto l = Children(doc.DocumentElement());
  ASSERT_EQ(l.size(), 7u);
  EXPECT_TRUE(l[0].IsTextElement());
  EXPECT_EQ(l[0].Text().Text(), "abc");
  EXPECT_TRUE(l[1].IsTextElement());
  EXPECT_EQ(l[1].Text().Text(), "<x>");
  EXPECT_FALSE(l[2].IsTextElement());
  EXPECT_FALSE(l[2].HasChildNodes());
  EXPECT_FALSE(l[3].IsTextElement());
  EXPECT_FALSE(l[4].IsTextElement());
  EXPECT_FALSE(l[5].IsTextElement());
  EXPECT_TRUE(l[6].IsTextElement());  // white space is text like any other
  EXPECT_EQ(l[6].Text().Text(), " ");
  EXPECT_FALSE(l[0].FirstChild().IsTextElement());  // a text node itself is no element
}

// --- limits ---

TEST(XmlDocumentLimits, NestingOf256LevelsParses) {
  const auto doc = XmlDocument::Parse(Nested(256));
  int depth = 0;
  for (XmlNode n = doc.DocumentElement(); n; n = n.FirstChild()) ++depth;
  EXPECT_EQ(depth, 256);
}

TEST(XmlDocumentLimits, NestingOf257LevelsIsAParseError) {
  EXPECT_THROW(XmlDocument::Parse(Nested(257)), XmlError);
  EXPECT_THROW(XmlDocument::Parse("<RQ>" + Nested(256) + "<!--x--></RQ>"), XmlError);
}

TEST(XmlDocumentLimits, VeryDeepNestingIsAParseErrorNotACrash) {
  EXPECT_THROW(XmlDocument::Parse(Nested(100000)), XmlError);
}

TEST(XmlDocumentLimits, TextInsideTheDeepestElementIsAllowed) {
  std::string text = Nested(256);
  text.insert(256 * 3, "deep");
  const auto doc = XmlDocument::Parse(text);
  XmlNode n = doc.DocumentElement();
  while (n.FirstChild() && !n.IsTextElement()) n = n.FirstChild();
  EXPECT_EQ(n.Text().Text(), "deep");
}

TEST(XmlDocumentLimits, MultiMegabyteAttributeValueParses) {
  const std::string value(4'000'000, 'x');
  const auto doc = XmlDocument::Parse("<P NM='" + value + "'/>");
  EXPECT_EQ(doc.DocumentElement().FirstAttribute().Value().Text().size(), value.size());
}

TEST(XmlDocumentLimits, AttributeValueOverTenMegabytesIsAParseError) {
  const std::string message = ParseError("<P NM='" + std::string(12'000'000, 'x') + "'/>");
  EXPECT_NE(message.find("AttValue length too long"), std::string::npos) << message;
}

// --- read a child of the root at a time ---

struct Streamed {
  std::string root;                   // the root's name and first attribute value
  std::vector<std::string> children;  // each child's name, with its subtree's element names
};

void Describe(const XmlNode& node, std::string& out) {
  out += node.Name();
  if (const XmlAttribute a = node.FirstAttribute()) out += "=" + std::string(a.Value().Utf8());
  if (node.IsTextElement()) out += "'" + std::string(node.Text().Utf8()) + "'";
  if (!node.HasChildNodes()) return;
  out += "(";
  for (XmlNode child = node.FirstChild(); child; child = child.Next()) Describe(child, out);
  out += ")";
}

Streamed Stream(const std::string& text) {
  Streamed seen;
  ReadXmlStream(
      text,
      [&](const XmlNode& root) {
        seen.root = root.Name();
        if (const XmlAttribute a = root.FirstAttribute())
          seen.root += "=" + std::string(a.Value().Utf8());
      },
      [&](const XmlNode& child) { Describe(child, seen.children.emplace_back()); });
  return seen;
}

std::string StreamError(const std::string& text) {
  bool handed = false;
  try {
    ReadXmlStream(
        text, [&](const XmlNode&) { handed = true; }, [&](const XmlNode&) { handed = true; });
  } catch (const XmlError& e) {
    return handed ? "(handed on before the error)" : e.what();
  }
  return "(parsed)";
}

TEST(XmlStream, HandsTheRootThenEachChildWholeInDocumentOrder) {
  const Streamed seen = Stream(
      "<!--before--><RQ V=\"1\">\r\n<DAT FN=\"F1\"><C T=\"0\"><L N=\"1\">a&amp;b</L></C></DAT>"
      "<!--c--><MAC DI=\"1\"/>\r\n<?pi x?><![CDATA[z]]></RQ><!--after-->");
  EXPECT_EQ(seen.root, "RQ=1");
  EXPECT_EQ(seen.children,
            (std::vector<std::string>{"#text", "DAT=F1(C=0(L=1'a&b'(#text)))", "#comment", "MAC=1",
                                      "#text", "pi", "#cdata-section"}));
}

TEST(XmlStream, ManyChildrenComeWholeAcrossTheReadersChunks) {
  std::string text = "<RQ>";
  for (int i = 0; i < 5000; ++i)
    text += "<DAT DI=\"" + std::to_string(i) + "\"><L N=\"1\">" + std::string(i % 300, 'x') +
            "</L></DAT>\n";
  const Streamed seen = Stream(text + "</RQ>");
  ASSERT_EQ(seen.children.size(), 10000u);
  for (int i = 0; i < 5000; ++i) {
    const std::string line = i % 300 ? "'" + std::string(i % 300, 'x') + "'(#text)" : "";
    EXPECT_EQ(seen.children[2 * i], "DAT=" + std::to_string(i) + "(L=1" + line + ")");
  }
}

TEST(XmlStream, AcceptsWhatTheTreeParseAccepts) {
  // The parser ends the text at the first zero byte after the root; a reader working in chunks
  // took them for content after the root.
  const std::string text = std::string("<RQ><DAT/><MAC/></RQ>") + std::string(9, '\0');
  ASSERT_NO_THROW(XmlDocument::Parse(text));
  EXPECT_EQ(Stream(text).children, (std::vector<std::string>{"DAT", "MAC"}));
}

TEST(XmlStream, RefusesWhatTheTreeParseRefusesAndHandsOnNothing) {
  std::string longJournal = "<RQ>";
  for (int i = 0; i < 2000; ++i) longJournal += "<DAT FN=\"F\"/><MAC DI=\"1\"/>\n";
  for (const std::string& text : {
           std::string("<RQ>"),
           std::string("<RQ></DAT>"),
           std::string("<RQ/><RQ/>"),
           std::string("<RQ V='&foo;'/>"),
           std::string("<RQ>a & b</RQ>"),
           std::string("<!DOCTYPE RQ [<!ENTITY e 'x'>]><RQ>&e;</RQ>"),
           Nested(257),
           "<RQ>" + Nested(256) + "<!--x--></RQ>",
           longJournal,  // its end never comes
           longJournal + "</DAT></RQ>",
       })
    EXPECT_EQ(StreamError(text), ParseError(text)) << text.substr(0, 60);
}

// --- read in one pass, taken back when refused ---

struct OnePass {
  std::vector<std::string> handed;  // root and children, by name
  int undone = 0;
  std::string error;  // what was raised; empty when nothing was
};

// Children named FAIL raise a RangeError when handed.
OnePass ReadOnce(const std::string& text) {
  OnePass seen;
  try {
    ReadXmlChildrenOrUndo(
        text, [&](const XmlNode& root) { seen.handed.push_back(root.Name()); },
        [&](const XmlNode& child) {
          if (child.Name() == "FAIL") throw RangeError("fail");
          seen.handed.push_back(child.Name());
        },
        [&] { ++seen.undone; });
  } catch (const XmlError& e) {
    seen.error = std::string("XmlError: ") + e.what();
  } catch (const RangeError& e) {
    seen.error = std::string("RangeError: ") + e.what();
  }
  return seen;
}

TEST(XmlOnePass, WellFormedTextIsHandedOnAsTheStreamHandsItAndNothingIsUndone) {
  const std::string text = "<RQ V=\"1\"><DAT/><MAC/>\n<DAT/><MAC/></RQ>";
  const OnePass seen = ReadOnce(text);
  EXPECT_EQ(seen.handed, (std::vector<std::string>{"RQ", "DAT", "MAC", "#text", "DAT", "MAC"}));
  EXPECT_EQ(seen.undone, 0);
  EXPECT_EQ(seen.error, "");
}

TEST(XmlOnePass, RefusedTextIsUndoneOnceWithTheStreamsReason) {
  for (const std::string& text : std::vector<std::string>{
           "<RQ><DAT/><MAC/><DAT></RQ>", "<RQ><DAT/><MAC/></RQ><junk/>", "<RQ><DAT/>&bad;</RQ>",
           "<!DOCTYPE RQ><RQ/>", "<RQ>" + Nested(300) + "</RQ>",
           std::string(kDecl1251) + "<RQ><DAT/><L>\x98</L></RQ>"}) {
    const OnePass seen = ReadOnce(text);
    EXPECT_EQ(seen.undone, 1) << text;
    EXPECT_EQ(seen.error, "XmlError: " + StreamError(text)) << text;
  }
}

// A call that raises stands only when the whole text is well-formed; otherwise the text is
// refused as a whole.
TEST(XmlOnePass, RaisingCallIsPassedOnOnlyForAWellFormedText) {
  struct Case {
    std::string text;
    int undone;
    std::string error;
  };
  for (const Case& c : {Case{"<RQ><DAT/><FAIL/><DAT/></RQ>", 0, "RangeError: fail"},
                        Case{"<RQ><DAT/><FAIL/><DAT></RQ>", 1, "XmlError: "},
                        Case{"<RQ><FAIL/></RQ><x/>", 1, "XmlError: "}}) {
    const OnePass seen = ReadOnce(c.text);
    EXPECT_EQ(seen.undone, c.undone) << c.text;
    EXPECT_EQ(seen.error.substr(0, c.error.size()), c.error) << c.text;
    if (c.undone) {
      EXPECT_EQ(seen.error, "XmlError: " + StreamError(c.text)) << c.text;
    }
  }
}

}  // namespace
}  // namespace morvek
