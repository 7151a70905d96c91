// The string catalogue reader: which files it refuses, which entries it sees and what text each
// mid finds, as wxXmlDocument over expat sees them.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "ScratchFolder.h"
#include "TableError.h"

namespace {

using Bytes = std::vector<unsigned char>;

const std::wstring kCannotRead = messages::kCannotReadCatalogue;
const std::wstring kCannotParse = messages::kCannotParseCatalogue;

Bytes Utf8(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

Bytes Utf16(const std::u16string& text, bool bigEndian, bool byteOrderMark)
{
    Bytes bytes;
    auto put = [&](char16_t unit) {
        const auto high = static_cast<unsigned char>(unit >> 8);
        const auto low = static_cast<unsigned char>(unit & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    };
    if (byteOrderMark)
        put(0xFEFF);
    for (const char16_t unit : text)
        put(unit);
    return bytes;
}

std::string Messages(const std::string& children)
{
    return "<messages>" + children + "</messages>";
}

// The message Load raises for a catalogue of these bytes, or an empty text when it loads.
std::wstring LoadMessage(const Bytes& bytes)
{
    const ScratchFolder folder;
    try {
        Catalogue::Load(folder.Write("uistring.xml", bytes));
    } catch (const TableError& error) {
        return error.Message();
    }
    return L"";
}

std::optional<std::string> Find(const Catalogue& catalogue, const std::string& mid)
{
    const auto text = catalogue.Find(mid);
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

TEST(CatalogueLoad, NoFileCannotBeRead)
{
    const ScratchFolder folder;
    std::filesystem::create_directory(folder.Path("folder.xml"));
    for (const char* name : {"absent.xml", "folder.xml"}) {
        try {
            Catalogue::Load(folder.Path(name));
            ADD_FAILURE() << name << " loaded";
        } catch (const TableError& error) {
            EXPECT_EQ(error.Message(), kCannotRead) << name;
        }
    }
}

struct RefusedCase {
    const char* what;
    Bytes bytes;
};

TEST(CatalogueLoad, MalformedOrMisshapenCatalogueCannotBeParsed)
{
    const std::string entry = "<message mid=\"1\">x</message>";
    const RefusedCase cases[] = {
        {"empty file", Utf8("")},
        {"unclosed root", Utf8("<messages>" + entry)},
        {"crossed tags", Utf8("<messages><message mid=\"1\"></messages></message>")},
        {"root with another name", Utf8("<root>" + entry + "</root>")},
        {"empty root", Utf8("<messages/>")},
        {"root with blanks only", Utf8("<messages>\n  \n</messages>")},
        {"first child another element", Utf8(Messages("<msg mid=\"1\">x</msg>" + entry))},
        {"first child a comment", Utf8(Messages("<!-- texts -->" + entry))},
        {"first child text", Utf8(Messages("t" + entry))},
        {"first child CDATA", Utf8(Messages("<![CDATA[]]>" + entry))},
        // What pugixml accepts but expat refuses.
        {"duplicate attribute", Utf8(Messages("<message mid=\"1\" mid=\"2\">x</message>"))},
        {"undefined entity", Utf8(Messages("<message mid=\"1\">&nbsp;</message>"))},
        {"bare ampersand", Utf8(Messages("<message mid=\"1\">Tom & Jerry</message>"))},
        {"reference to a forbidden character", Utf8(Messages("<message mid=\"1\">&#1;</message>"))},
        {"upper-case x in a reference", Utf8(Messages("<message mid=\"1\">&#X41;</message>"))},
        {"]]> in text", Utf8(Messages("<message mid=\"1\">a ]]> b</message>"))},
        {"less-than in an attribute", Utf8(Messages("<message mid=\"1<\">x</message>"))},
        {"double hyphen in a comment", Utf8(Messages(entry + "<!-- a -- b -->"))},
        {"comment ending in a hyphen", Utf8(Messages(entry + "<!-- a --->"))},
        {"non-ASCII character that is no name character", Utf8(Messages(entry + "<a\xC3\x97/>"))},
        {"processing instruction named xml", Utf8(Messages(entry + "<?XML x?>"))},
        {"XML declaration not first", Utf8(" <?xml version=\"1.0\"?>" + Messages(entry))},
        {"XML declaration without version", Utf8("<?xml encoding=\"UTF-8\"?>" + Messages(entry))},
        {"second root element", Utf8(Messages(entry) + "<messages/>")},
        {"text after the root", Utf8(Messages(entry) + "junk")},
        {"control character", Utf8(Messages("<message mid=\"1\">\x01</message>"))},
        {"byte that is not UTF-8", Utf8(Messages("<message mid=\"1\">\xC3</message>"))},
        {"second byte order mark", Utf8("\xEF\xBB\xBF\xEF\xBB\xBF" + Messages(entry))},
        {"document type in lower case", Utf8("<!doctype messages>" + Messages(entry))},
        {"document type with declarations", Utf8("<!DOCTYPE messages [<!ENTITY e \"x\">]>" + Messages(entry))},
        {"UTF-8 declared as UTF-16", Utf8("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + Messages(entry))},
        {"US-ASCII with a byte above 127", Utf8("<?xml version=\"1.0\" encoding=\"US-ASCII\"?>" +
                                                Messages("<message mid=\"1\">\xC3\xA9</message>"))},
        {"encoding nothing here knows", Utf8("<?xml version=\"1.0\" encoding=\"NO-SUCH-CODE-PAGE\"?>" + Messages(entry))},
        {"bytes that are not GBK", Utf8("<?xml version=\"1.0\" encoding=\"GBK\"?>" + Messages("<message mid=\"1\">\xFF\xFF</message>"))},
        {"UTF-16 of odd length", [] {
             Bytes bytes = Utf16(u"<messages><message mid=\"1\"/></messages>", false, true);
             bytes.push_back('\n');
             return bytes;
         }()},
        {"UTF-16 with a lone low surrogate",
         Utf16(u"<messages><message mid=\"1\">\xDC00</message></messages>", false, true)},
    };
    for (const RefusedCase& refused : cases)
        EXPECT_EQ(LoadMessage(refused.bytes), kCannotParse) << refused.what;
}

struct FindCase {
    const char* what;
    std::string xml;
    std::string mid;
    std::optional<std::string> text;
};

TEST(CatalogueFind, TextOfFirstEntryWithExactlyThatMid)
{
    const FindCase cases[] = {
        {"plain entry", Messages("<message mid=\"7\">Sword</message>"), "7", "Sword"},
        {"unknown mid", Messages("<message mid=\"7\">Sword</message>"), "8", std::nullopt},
        {"blank lines and indentation between entries",
         "<messages>\n\n  <message mid=\"1\">one</message>\n\n  <message mid=\"2\">two</message>\n</messages>\n",
         "2", "two"},
        {"duplicate mid: first wins",
         Messages("<message mid=\"5\">first</message><message mid=\"5\">second</message>"), "5", "first"},
        {"leading zeros are another mid", Messages("<message mid=\"0042\">a</message><message mid=\"42\">b</message>"),
         "42", "b"},
        {"mid compared without trimming", Messages("<message mid=\" 42\">a</message>"), "42", std::nullopt},
        {"mid compared case-sensitively", Messages("<message mid=\"a\">x</message>"), "A", std::nullopt},
        {"entry without mid has the empty mid", Messages("<message mid=\"1\">a</message><message>b</message>"), "",
         "b"},
        {"comment between entries: an entry with the empty mid",
         Messages("<message mid=\"1\">a</message><!-- c --><message>b</message>"), "", ""},
        {"processing instruction named message as first child",
         Messages("<?message x?><message mid=\"1\">a</message>"), "1", "a"},
        {"empty element", Messages("<message mid=\"1\"/>"), "1", ""},
        {"blank content", Messages("<message mid=\"3\">  </message>"), "3", ""},
        {"first text child, not the CDATA after it", Messages("<message mid=\"4\">x<![CDATA[y]]>z</message>"), "4",
         "x"},
        {"text after a child element", Messages("<message mid=\"5\"><b>q</b>t</message>"), "5", "t"},
        {"text after a comment", Messages("<message mid=\"5\"><!--c-->t</message>"), "5", "t"},
        {"CDATA first, blanks kept", Messages("<message mid=\"6\">  <![CDATA[ y ]]>z</message>"), "6", " y "},
        {"empty CDATA first", Messages("<message mid=\"6\"><![CDATA[]]>z</message>"), "6", ""},
        {"line end before the text dropped, blanks on its line kept",
         Messages("<message mid=\"1\">\n  hello\n</message>"), "1", "  hello\n"},
        {"referenced blank before the text dropped", Messages("<message mid=\"1\">&#32;x</message>"), "1", "x"},
        {"blanks inside and after the text kept", Messages("<message mid=\"1\">a  b  </message>"), "1", "a  b  "},
        {"line ends become LF", Messages("<message mid=\"1\">a\r\nb\rc</message>"), "1", "a\nb\nc"},
        {"references decoded", Messages("<message mid=\"1\">&lt;&gt;&amp;&apos;&quot;&#x4E2D;&#25991;</message>"),
         "1", "<>&'\"\xE4\xB8\xAD\xE6\x96\x87"},
        {"references in a mid", Messages("<message mid=\"a&amp;b\">x</message>"), "a&b", "x"},
        {"white space in a mid becomes spaces", Messages("<message mid=\"a\tb\r\nc\">x</message>"), "a b c", "x"},
        {"referenced line end in a mid stays", Messages("<message mid=\"a&#10;b\">x</message>"), "a\nb", "x"},
        {"CDATA keeps ampersands", Messages("<message mid=\"1\"><![CDATA[a&amp;b]]></message>"), "1", "a&amp;b"},
        {"undefined entity skipped under an external document type",
         "<!DOCTYPE messages SYSTEM \"ui.dtd\">" + Messages("<message mid=\"1\">  &e;  x&e;y</message>"), "1",
         "  xy"},
        {"XML declaration, comments and instructions outside the root",
         "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n<!-- head -->\n<?pi x?>\n" +
             Messages("<message mid=\"1\">a</message>") + "\n<!-- tail -->\n",
         "1", "a"},
    };
    for (const FindCase& test : cases) {
        const ScratchFolder folder;
        const Catalogue catalogue = Catalogue::Load(folder.Write("uistring.xml", Utf8(test.xml)));
        EXPECT_EQ(Find(catalogue, test.mid), test.text) << test.what;
    }
}

// wx read the file in blocks of 1024 bytes, and expat reported the blanks it had before a
// block boundary as an event of their own, which wx dropped when no text had come yet.
TEST(CatalogueFind, BlanksCutOffByAReadBlockAreDropped)
{
    struct BlockCase {
        std::size_t blanksAt;
        std::string text;
        std::string expected;
    };
    const BlockCase cases[] = {
        {1016, "        x", "x"},          // all blanks before the boundary
        {1020, "        x", "    x"},      // the boundary in the blanks
        {1024, "        x", "        x"},  // the blanks start at the boundary
        {1020, "   ]x", "]x"},             // a ']' that ends a block waits for the next
        {1020, "  ]]x", "]]x"},            // and so does a "]]"
        {1020, "  \xE4\xB8\xAD", "\xE4\xB8\xAD"},  // the boundary inside a character cuts before it
    };
    for (const BlockCase& test : cases) {
        const std::string head = "<messages><message mid=\"0\"><!--";
        const std::string tail = "--></message><message mid=\"1\">";
        const std::string xml = head + std::string(test.blanksAt - head.size() - tail.size(), '.') + tail +
                                test.text + "</message></messages>";
        const ScratchFolder folder;
        const Catalogue catalogue = Catalogue::Load(folder.Write("uistring.xml", Utf8(xml)));
        EXPECT_EQ(Find(catalogue, "1"), test.expected) << "blanks at " << test.blanksAt << ": " << test.text;
    }
}

TEST(CatalogueEntries, EveryChildNodeOfTheRootIsAnEntry)
{
    const struct {
        const char* what;
        std::string xml;
        std::size_t count;
    } cases[] = {
        {"elements only", Messages("<message mid=\"1\"/><message mid=\"2\"/>"), 2},
        {"blanks are no nodes", Messages("\n  <message mid=\"1\"/>\n  <message mid=\"2\"/>\n"), 2},
        {"comment, instruction, CDATA, text and another element count",
         Messages("<message mid=\"1\"/><!--c--><?pi x?><![CDATA[]]>t<other/>"), 6},
        {"a referenced blank alone makes no text node", Messages("<message mid=\"1\"/>&#32;<message/>"), 2},
    };
    for (const auto& test : cases) {
        const ScratchFolder folder;
        EXPECT_EQ(Catalogue::Load(folder.Write("uistring.xml", Utf8(test.xml))).EntryCount(), test.count)
            << test.what;
    }
}

TEST(CatalogueEncodings, EveryEncodingExpatKnowsGivesTheSameTexts)
{
    const std::u16string xml = u"<messages>\n<message mid=\"1\">中文 é</message>\n</messages>\n";
    const std::string utf8 = "<messages>\n<message mid=\"1\">\xE4\xB8\xAD\xE6\x96\x87 \xC3\xA9</message>\n</messages>\n";
    const std::string latin1Declaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";
    const struct {
        const char* what;
        Bytes bytes;
        std::string expected;
    } cases[] = {
        {"UTF-8", Utf8(utf8), "\xE4\xB8\xAD\xE6\x96\x87 \xC3\xA9"},
        {"UTF-8 with byte order mark", Utf8("\xEF\xBB\xBF" + utf8), "\xE4\xB8\xAD\xE6\x96\x87 \xC3\xA9"},
        {"UTF-16LE with byte order mark", Utf16(xml, false, true), "\xE4\xB8\xAD\xE6\x96\x87 \xC3\xA9"},
        {"UTF-16BE with byte order mark", Utf16(xml, true, true), "\xE4\xB8\xAD\xE6\x96\x87 \xC3\xA9"},
        {"UTF-16LE without byte order mark", Utf16(xml, false, false), "\xE4\xB8\xAD\xE6\x96\x87 \xC3\xA9"},
        {"UTF-16 declared", Utf16(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + xml, true, true),
         "\xE4\xB8\xAD\xE6\x96\x87 \xC3\xA9"},
        {"ISO-8859-1 declared", Utf8(latin1Declaration + Messages("<message mid=\"1\">\xE9</message>")), "\xC3\xA9"},
        // Legacy code pages of Chinese games, converted rather than garbled.
        {"GBK declared", Utf8("<?xml version=\"1.0\" encoding=\"GBK\"?>" + Messages("<message mid=\"1\">\xCC\xFA\xBF\xF3\xCA\xAF</message>")),
         "\xE9\x93\x81\xE7\x9F\xBF\xE7\x9F\xB3"},
        {"Big5 declared", Utf8("<?xml version=\"1.0\" encoding=\"Big5\"?>" + Messages("<message mid=\"1\">\xC5\x4B\xC4\x71\xA5\xDB</message>")),
         "\xE9\x90\xB5\xE7\xA4\xA6\xE7\x9F\xB3"},
        // The declaration overrides the byte order mark.
        {"UTF-8 byte order mark, ISO-8859-1 declared",
         Utf8("\xEF\xBB\xBF" + latin1Declaration + Messages("<message mid=\"1\">\xC3\xA9</message>")),
         "\xC3\x83\xC2\xA9"},
    };
    for (const auto& test : cases) {
        const ScratchFolder folder;
        const Catalogue catalogue = Catalogue::Load(folder.Write("uistring.xml", test.bytes));
        EXPECT_EQ(Find(catalogue, "1"), test.expected) << test.what;
    }
}

}  // namespace
