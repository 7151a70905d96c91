// Reads uistring.xml with pugixml but yields what wxXmlDocument::Load(path, "UTF-8", 0) yields, so
// catalogues read the same as they do with the toolkit's own XML reader: expat's idea of
// well-formed XML and of encodings, comments and processing
// instructions kept as nodes, and character data cut into expat's events, of which wx drops the
// white-space-only ones that come before a text node exists.
#include "Catalogue.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

#include <iconv.h>
#include <pugixml.hpp>

#include "FileBuffer.h"
#include "TableError.h"

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// wx hands the file to expat in blocks of this many bytes; a run of character data that
// crosses a block boundary reaches wx as two events.
constexpr std::size_t kReadBlock = 1024;

// ---------------------------------------------------------------- characters

bool IsSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsXmlChar(char32_t c)
{
    return c == '\t' || c == '\n' || c == '\r' || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

std::size_t EncodeUtf8(char32_t c, char* out)
{
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

// The length of the well-formed UTF-8 sequence of an XML character at p, or 0. Expat refuses
// overlong forms, surrogates and U+FFFE/U+FFFF.
std::size_t XmlSequenceLength(const unsigned char* p, const unsigned char* end)
{
    const unsigned char lead = p[0];
    const std::size_t left = static_cast<std::size_t>(end - p);
    auto inRange = [&](std::size_t i, unsigned char low, unsigned char high) {
        return i < left && p[i] >= low && p[i] <= high;
    };
    if (lead >= 0xC2 && lead <= 0xDF) return inRange(1, 0x80, 0xBF) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        if (!inRange(1, low, high) || !inRange(2, 0x80, 0xBF)) return 0;
        const bool nonCharacter = lead == 0xEF && p[1] == 0xBF && p[2] >= 0xBE;
        return nonCharacter ? 0 : 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return inRange(1, low, high) && inRange(2, 0x80, 0xBF) && inRange(3, 0x80, 0xBF) ? 4 : 0;
    }
    return 0;
}

// Expat rejects the whole document for one byte that is not UTF-8 or one character XML forbids,
// wherever it stands.
bool HasOnlyXmlChars(const char* begin, const char* end)
{
    auto p = reinterpret_cast<const unsigned char*>(begin);
    const auto stop = reinterpret_cast<const unsigned char*>(end);
    while (p < stop) {
        if (stop - p >= 8) {  // eight plain ASCII characters at once, the common case
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            const std::uint64_t nonAscii = word & 0x8080808080808080u;
            const std::uint64_t control = (word - 0x2020202020202020u) & ~word & 0x8080808080808080u;
            if ((nonAscii | control) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char c = *p;
        if (c >= 0x20 && c < 0x80) {
            ++p;
            continue;
        }
        if (c < 0x80) {
            if (!IsSpace(c)) return false;
            ++p;
            continue;
        }
        const std::size_t length = XmlSequenceLength(p, stop);
        if (length == 0) return false;
        p += length;
    }
    return true;
}

// Decodes one character of text already checked to be UTF-8.
char32_t DecodeUtf8(const unsigned char*& p)
{
    const unsigned char lead = *p++;
    if (lead < 0x80) return lead;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t c = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) c = (c << 6) | (*p++ & 0x3F);
    return c;
}

// Names outside ASCII follow the ranges of XML 1.0 (fifth edition); expat allows no name
// character beyond the Basic Multilingual Plane.
bool IsNameStart(char32_t c)
{
    if (c < 0x80) return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
    return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) ||
           (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD);
}

bool IsNameChar(char32_t c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

bool IsName(std::string_view name)
{
    if (name.empty()) return false;
    auto p = reinterpret_cast<const unsigned char*>(name.data());
    const auto end = p + name.size();
    for (bool first = true; p < end; first = false) {
        const char32_t c = *p < 0x80 ? *p++ : DecodeUtf8(p);
        if (!(first ? IsNameStart(c) : IsNameChar(c))) return false;
    }
    return true;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// ---------------------------------------------------------------- references

// A reference at the start of `text` (which begins with '&'): its length and the character it
// stands for, or a length of 0 where expat fails the document. Only the five predefined entities
// are defined; an undefined one fails the document, or, once a document type names an external
// subset that expat does not read, is skipped without a trace.
constexpr char32_t kSkipped = 0xFFFFFFFF;

struct Reference {
    std::size_t length = 0;
    char32_t character = 0;
};

char32_t PredefinedEntity(std::string_view name)
{
    if (name == "lt") return '<';
    if (name == "gt") return '>';
    if (name == "amp") return '&';
    if (name == "apos") return '\'';
    if (name == "quot") return '"';
    return 0;
}

int DigitValue(char c, bool hex)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (!hex) return -1;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

char32_t CharacterReference(std::string_view body)
{
    const bool hex = body.size() > 1 && body[1] == 'x';
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) return 0;
    char32_t value = 0;
    for (const char digit : digits) {
        const int d = DigitValue(digit, hex);
        if (d < 0) return 0;
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(d);
        if (value > 0x10FFFF) return 0;
    }
    return IsXmlChar(value) ? value : 0;
}

Reference ReadReference(std::string_view text, bool skipUndefined)
{
    const std::size_t semicolon = text.find(';', 1);
    if (semicolon == kNone || semicolon == 1) return {};
    const std::string_view body = text.substr(1, semicolon - 1);
    char32_t c = body[0] == '#' ? CharacterReference(body) : PredefinedEntity(body);
    if (c == 0 && skipUndefined && IsName(body)) c = kSkipped;
    if (c == 0) return {};
    return {semicolon + 1, c};
}

bool ReferencesWellFormed(std::string_view text, bool skipUndefined)
{
    for (std::size_t at = text.find('&'); at != kNone; at = text.find('&', at)) {
        const Reference reference = ReadReference(text.substr(at), skipUndefined);
        if (reference.length == 0) return false;
        at += reference.length;
    }
    return true;
}

// ---------------------------------------------------------------- the file and its encoding

struct Bytes {
    FileBuffer buffer;  // one byte more than `size`: a NUL, which in-place parsing needs
    std::size_t size = 0;

    char* Chars() const { return reinterpret_cast<char*>(buffer.Data()); }
    std::string_view View() const { return {Chars(), size}; }
};

Bytes Allocate(std::size_t size)
{
    Bytes bytes{FileBuffer(size + 1), size};
    bytes.Chars()[size] = '\0';
    return bytes;
}

std::optional<Bytes> ReadFile(const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) return std::nullopt;
    Bytes bytes = Allocate(static_cast<std::size_t>(size));
    bytes.size = std::fread(bytes.Chars(), 1, bytes.size, file.get());
    bytes.Chars()[bytes.size] = '\0';
    return bytes;
}

// The document as UTF-8, and the places where expat's character data broke at wx's read blocks.
struct Document {
    Bytes text;
    std::size_t bodyBegin = 0;  // past any byte order mark and XML declaration
    std::vector<std::size_t> breaks;
    bool standalone = false;
    bool skipsUndefinedEntities = false;

    char* At(std::size_t offset) { return text.Chars() + offset; }
    // Where a string pugixml parsed in place starts in the text; empty strings may live elsewhere.
    std::size_t OffsetOf(const char* p) const { return static_cast<std::size_t>(p - text.Chars()); }
};

// A block boundary between two characters: expat ends its run early before a ']' or "]]" that
// closes the block, until it can tell whether "]]>" follows.
std::size_t BreakBefore(const char* text, std::size_t at)
{
    if (at < 1 || text[at - 1] != ']') return at;
    return at >= 2 && text[at - 2] == ']' ? at - 2 : at - 1;
}

// Breaks of a UTF-8 file kept as it is (text offsets are file offsets): a boundary inside a
// character breaks before that character.
std::vector<std::size_t> Utf8Breaks(const Bytes& text)
{
    std::vector<std::size_t> breaks;
    for (std::size_t block = kReadBlock; block < text.size; block += kReadBlock) {
        std::size_t at = block;
        while (at > 0 && IsContinuation(static_cast<unsigned char>(text.Chars()[at]))) --at;
        breaks.push_back(at == block ? BreakBefore(text.Chars(), at) : at);
    }
    return breaks;
}

// Converts a file to UTF-8 character by character, noting the breaks by the file offsets.
class Utf8Writer {
public:
    explicit Utf8Writer(std::size_t capacity) : m_text(Allocate(capacity)) {}

    void Append(char32_t c, std::size_t fileOffset, std::size_t fileLength)
    {
        char* const text = m_text.Chars();
        for (; m_nextBlock < fileOffset + fileLength; m_nextBlock += kReadBlock)
            m_breaks.push_back(m_nextBlock == fileOffset ? BreakBefore(text, m_used) : m_used);
        m_used += EncodeUtf8(c, text + m_used);
    }

    Document Finish()
    {
        m_text.size = m_used;
        m_text.Chars()[m_used] = '\0';
        return Document{std::move(m_text), 0, std::move(m_breaks), false, false};
    }

private:
    Bytes m_text;
    std::size_t m_used = 0;
    std::size_t m_nextBlock = kReadBlock;
    std::vector<std::size_t> m_breaks;
};

// Expat's reading of UTF-16: a lone low surrogate is an error, but a high surrogate pairs with
// whatever unit follows it.
std::optional<Document> FromUtf16(const Bytes& raw, std::size_t begin, bool bigEndian)
{
    if ((raw.size - begin) % 2 != 0) return std::nullopt;
    const auto* bytes = reinterpret_cast<const unsigned char*>(raw.Chars());
    auto unit = [&](std::size_t at) -> char32_t {
        return bigEndian ? (bytes[at] << 8) | bytes[at + 1] : (bytes[at + 1] << 8) | bytes[at];
    };
    Utf8Writer writer((raw.size - begin) / 2 * 3);
    for (std::size_t at = begin; at < raw.size;) {
        const char32_t first = unit(at);
        if (first >= 0xDC00 && first <= 0xDFFF) return std::nullopt;
        if (first < 0xD800 || first > 0xDBFF) {
            writer.Append(first, at, 2);
            at += 2;
            continue;
        }
        if (raw.size - at < 4) return std::nullopt;
        writer.Append(0x10000 + ((first & 0x3FF) << 10) + (unit(at + 2) & 0x3FF), at, 4);
        at += 4;
    }
    return writer.Finish();
}

Document FromLatin1(const Bytes& raw, std::size_t begin)
{
    Utf8Writer writer((raw.size - begin) * 2);
    for (std::size_t at = begin; at < raw.size; ++at)
        writer.Append(static_cast<unsigned char>(raw.Chars()[at]), at, 1);
    return writer.Finish();
}

// Expat's reading of the XML declaration's pseudo-attributes.
class DeclarationReader {
public:
    explicit DeclarationReader(std::string_view body) : m_body(body) {}

    enum class Step { Bad, End, Found };

    // One pseudo-attribute after white space; End when only white space is left.
    Step Next(std::string_view& name, std::string_view& value)
    {
        if (AtEnd()) return Step::End;
        if (!IsSpace(Peek())) return Step::Bad;
        SkipSpace();
        if (AtEnd()) return Step::End;
        if (!ReadName(name) || !ReadValue(value)) return Step::Bad;
        return Step::Found;
    }

    bool OnlySpaceLeft()
    {
        SkipSpace();
        return AtEnd();
    }

private:
    bool AtEnd() const { return m_at == m_body.size(); }
    // Expat sees -1 at the end and for a character outside ASCII.
    int Peek() const
    {
        if (AtEnd() || static_cast<unsigned char>(m_body[m_at]) >= 0x80) return -1;
        return m_body[m_at];
    }
    void SkipSpace()
    {
        while (IsSpace(Peek())) ++m_at;
    }

    bool ReadName(std::string_view& name)
    {
        const std::size_t begin = m_at;
        for (int c = Peek(); c != '='; c = Peek()) {
            if (c == -1) return false;
            if (IsSpace(c)) {
                name = m_body.substr(begin, m_at - begin);
                SkipSpace();
                return Peek() == '=' && Skip();
            }
            ++m_at;
        }
        name = m_body.substr(begin, m_at - begin);
        return !name.empty() && Skip();
    }

    bool ReadValue(std::string_view& value)
    {
        SkipSpace();
        const int quote = Peek();
        if (quote != '"' && quote != '\'') return false;
        const std::size_t begin = ++m_at;
        for (int c = Peek(); c != quote; c = Peek()) {
            const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                 (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
            if (!allowed) return false;
            ++m_at;
        }
        value = m_body.substr(begin, m_at - begin);
        return Skip();
    }

    bool Skip()
    {
        ++m_at;
        return true;
    }

    std::string_view m_body;
    std::size_t m_at = 0;
};

struct Declaration {
    std::size_t end = 0;         // 0 without a declaration
    std::string_view encoding;   // empty when none is named
    bool standalone = false;
};

bool StartsWithLetter(std::string_view value)
{
    return !value.empty() && ((value[0] >= 'a' && value[0] <= 'z') || (value[0] >= 'A' && value[0] <= 'Z'));
}

// The XML declaration that `text` may start with, as expat reads it; nothing when it is
// malformed: version first, then optionally encoding and standalone, in that order.
std::optional<Declaration> ReadDeclaration(std::string_view text)
{
    // "<?xml-stylesheet" and the like are ordinary processing instructions.
    if (text.size() < 6 || text.substr(0, 5) != "<?xml" || (!IsSpace(text[5]) && text[5] != '?'))
        return Declaration{};
    const std::size_t close = text.find("?>", 5);
    if (close == kNone) return std::nullopt;
    using Step = DeclarationReader::Step;
    DeclarationReader reader(text.substr(5, close - 5));
    Declaration declaration{close + 2, {}, false};
    std::string_view name, value;
    if (reader.Next(name, value) != Step::Found || name != "version") return std::nullopt;
    Step step = reader.Next(name, value);
    if (step == Step::Found && name == "encoding") {
        if (!StartsWithLetter(value)) return std::nullopt;
        declaration.encoding = value;
        step = reader.Next(name, value);
    }
    if (step == Step::End) return declaration;
    const bool standalone = step == Step::Found && name == "standalone" && (value == "yes" || value == "no");
    if (!standalone || !reader.OnlySpaceLeft()) return std::nullopt;
    declaration.standalone = value == "yes";
    return declaration;
}

// Expat's own encodings; any other name went to a wx converter whose result depends on the
// platform, so such a catalogue counts as unreadable.
enum class EightBit { Utf8, Latin1, Ascii };

std::optional<EightBit> EightBitEncoding(std::string_view name)
{
    if (name.empty() || EqualsIgnoringAsciiCase(name, "UTF-8")) return EightBit::Utf8;
    if (EqualsIgnoringAsciiCase(name, "ISO-8859-1")) return EightBit::Latin1;
    if (EqualsIgnoringAsciiCase(name, "US-ASCII")) return EightBit::Ascii;
    return std::nullopt;
}

bool FitsUtf16(std::string_view name, bool bigEndian)
{
    if (name.empty() || EqualsIgnoringAsciiCase(name, "UTF-16")) return true;
    return EqualsIgnoringAsciiCase(name, bigEndian ? "UTF-16BE" : "UTF-16LE");
}

std::optional<Document> DecodeUtf16(const Bytes& raw, std::size_t bomSize, bool bigEndian)
{
    std::optional<Document> document = FromUtf16(raw, bomSize, bigEndian);
    if (!document) return std::nullopt;
    const auto declaration = ReadDeclaration(document->text.View());
    if (!declaration || !FitsUtf16(declaration->encoding, bigEndian)) return std::nullopt;
    document->bodyBegin = declaration->end;
    document->standalone = declaration->standalone;
    return document;
}

// Catalogues of Chinese games are often written in a legacy code page (GBK, GB18030, Big5):
// expat knows none of them and the toolkit's fallback reads only single-byte code pages, which
// garbles every Chinese name. Such files, and any other encoding the C library can convert,
// are converted to UTF-8 first; one that cannot be converted counts as unreadable.
std::optional<Document> FromLegacyEncoding(const Bytes& raw, std::size_t begin, const std::string& encoding)
{
    const iconv_t converter = iconv_open("UTF-8", encoding.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    // No character takes more than four bytes of UTF-8, and none takes less than one byte.
    Bytes text = Allocate((raw.size - begin) * 4);
    char* in = raw.Chars() + begin;
    std::size_t inLeft = raw.size - begin;
    char* out = text.Chars();
    std::size_t outLeft = text.size;
    const std::size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (converted == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
    text.size -= outLeft;
    text.Chars()[text.size] = '\0';
    if (!HasOnlyXmlChars(text.Chars(), text.Chars() + text.size)) return std::nullopt;
    const auto declaration = ReadDeclaration(text.View());
    if (!declaration) return std::nullopt;
    const std::size_t bodyBegin = declaration->end;
    const bool standalone = declaration->standalone;
    return Document{std::move(text), bodyBegin, {}, standalone, false};
}

std::optional<Document> DecodeEightBit(Bytes raw, std::size_t bomSize)
{
    const std::string_view afterBom = raw.View().substr(bomSize);
    const auto declaration = ReadDeclaration(afterBom);
    if (!declaration) return std::nullopt;
    const auto encoding = EightBitEncoding(declaration->encoding);
    if (!encoding) return FromLegacyEncoding(raw, bomSize, std::string(declaration->encoding));
    if (*encoding == EightBit::Latin1) {
        Document document = FromLatin1(raw, bomSize);
        document.bodyBegin = declaration->end;
        document.standalone = declaration->standalone;
        return document;
    }
    const auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    if (*encoding == EightBit::Ascii && !std::all_of(afterBom.begin(), afterBom.end(), isAscii))
        return std::nullopt;
    std::vector<std::size_t> breaks = Utf8Breaks(raw);
    return Document{std::move(raw), bomSize + declaration->end, std::move(breaks), declaration->standalone, false};
}

// Expat's detection: a byte order mark, else a zero byte among the first two means UTF-16.
std::optional<Document> Decode(Bytes raw)
{
    const auto* b = reinterpret_cast<const unsigned char*>(raw.Chars());
    if (raw.size >= 2) {
        if (b[0] == 0xFE && b[1] == 0xFF) return DecodeUtf16(raw, 2, true);
        if (b[0] == 0xFF && b[1] == 0xFE) return DecodeUtf16(raw, 2, false);
        if (raw.size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
            return DecodeEightBit(std::move(raw), 3);
        if (b[0] == 0) return DecodeUtf16(raw, 0, true);
        if (b[1] == 0) return DecodeUtf16(raw, 0, false);
    }
    return DecodeEightBit(std::move(raw), 0);
}

// ---------------------------------------------------------------- memory of the tree

// The tree of a large catalogue takes a few times the file's size in small pages, and the
// catalogue is read anew on every load: on some machines faulting in that much fresh memory
// page by page costs more than the parse. While a catalogue is parsed, pugixml takes its memory
// from one block backed by huge pages (see FileBuffer), handed out front to back and released
// whole; it falls back to the heap if the block runs out.
class TreeArena {
public:
    explicit TreeArena(std::size_t capacity) : m_block(capacity)
    {
        s_current = this;
        pugi::set_memory_management_functions(&Allocate, &Deallocate);
    }
    ~TreeArena()
    {
        pugi::set_memory_management_functions(std::malloc, std::free);
        s_current = nullptr;
    }
    TreeArena(const TreeArena&) = delete;
    TreeArena& operator=(const TreeArena&) = delete;

private:
    static constexpr std::size_t kAlignment = 64;

    static void* Allocate(std::size_t size)
    {
        TreeArena* arena = s_current;
        const std::size_t rounded = (size + kAlignment - 1) / kAlignment * kAlignment;
        if (!arena || rounded > arena->m_block.Size() - arena->m_used)
            return std::malloc(size);
        void* memory = arena->m_block.Data() + arena->m_used;
        arena->m_used += rounded;
        return memory;
    }

    static void Deallocate(void* memory)
    {
        const TreeArena* arena = s_current;
        const auto* p = static_cast<const unsigned char*>(memory);
        if (arena && p >= arena->m_block.Data() && p < arena->m_block.Data() + arena->m_block.Size())
            return;
        std::free(memory);
    }

    static inline TreeArena* s_current = nullptr;
    FileBuffer m_block;
    std::size_t m_used = 0;
};

// ---------------------------------------------------------------- well-formedness

// pugixml is lenient where expat is not; these are the checks it leaves out. Strings are raw:
// the tree is parsed without resolving references, line ends or white space.

bool CharacterDataWellFormed(std::string_view text, bool skipUndefined)
{
    return text.find("]]>") == kNone && ReferencesWellFormed(text, skipUndefined);
}

bool AttributeValueWellFormed(std::string_view value, bool skipUndefined)
{
    return value.find('<') == kNone && ReferencesWellFormed(value, skipUndefined);
}

bool CommentWellFormed(std::string_view text)
{
    return text.find("--") == kNone && (text.empty() || text.back() != '-');
}

bool PiTargetAllowed(std::string_view target)
{
    return IsName(target) && !EqualsIgnoringAsciiCase(target, "xml");
}

bool HasDuplicateAttribute(pugi::xml_node element)
{
    const pugi::xml_attribute first = element.first_attribute();
    if (!first || !first.next_attribute()) return false;
    std::unordered_set<std::string_view> names;
    for (const pugi::xml_attribute attribute : element.attributes())
        if (!names.insert(attribute.name()).second) return true;
    return false;
}

bool ElementWellFormed(pugi::xml_node element, bool skipUndefined)
{
    if (!IsName(element.name())) return false;
    for (const pugi::xml_attribute attribute : element.attributes()) {
        if (!IsName(attribute.name()) || !AttributeValueWellFormed(attribute.value(), skipUndefined))
            return false;
    }
    return !HasDuplicateAttribute(element);
}

bool NodeWellFormed(pugi::xml_node node, bool skipUndefined)
{
    switch (node.type()) {
    case pugi::node_element: return ElementWellFormed(node, skipUndefined);
    case pugi::node_pcdata: return CharacterDataWellFormed(node.value(), skipUndefined);
    case pugi::node_cdata: return true;
    case pugi::node_comment: return CommentWellFormed(node.value());
    case pugi::node_pi: return PiTargetAllowed(node.name());
    default: return false;  // an XML declaration or a document type inside the root
    }
}

// Walks without recursion: a deeply nested file must not exhaust the stack.
bool SubtreeWellFormed(pugi::xml_node top, bool skipUndefined)
{
    pugi::xml_node node = top;
    while (node) {
        if (!NodeWellFormed(node, skipUndefined)) return false;
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != top && !node.next_sibling()) node = node.parent();
        if (node == top) break;
        node = node.next_sibling();
    }
    return true;
}

std::size_t SkipSpace(std::string_view text, std::size_t at)
{
    while (at < text.size() && IsSpace(text[at])) ++at;
    return at;
}

bool IsPublicIdChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c != '\t' && IsSpace(c)) || std::strchr("-'()+,./:=?;!*#@$_%", c) != nullptr;
}

// A quoted literal after white space; expat wants white space, '[' or the end after it.
bool ReadLiteral(std::string_view text, std::size_t& at, bool publicId)
{
    const std::size_t open = SkipSpace(text, at);
    if (open == at || open == text.size() || (text[open] != '"' && text[open] != '\'')) return false;
    const std::size_t close = text.find(text[open], open + 1);
    if (close == kNone) return false;
    const std::string_view literal = text.substr(open + 1, close - open - 1);
    if (publicId && !std::all_of(literal.begin(), literal.end(), IsPublicIdChar)) return false;
    at = close + 1;
    return at == text.size() || IsSpace(text[at]) || text[at] == '[';
}

enum class DocumentType { Malformed, Plain, External };

// pugixml's value of a document type: the name, an optional external identifier and an
// optional internal subset, which must be empty here: declarations in it would change what
// expat reports.
DocumentType ReadDocumentType(std::string_view value)
{
    std::size_t at = std::min(value.find_first_of(" \t\r\n["), value.size());
    if (!IsName(value.substr(0, at))) return DocumentType::Malformed;
    const std::size_t keyword = SkipSpace(value, at);
    const std::string_view word = value.substr(keyword, 6);
    const bool external = keyword > at && (word == "SYSTEM" || word == "PUBLIC");
    if (external) {
        at = keyword + 6;
        if (word == "PUBLIC" && !ReadLiteral(value, at, true)) return DocumentType::Malformed;
        if (!ReadLiteral(value, at, false)) return DocumentType::Malformed;
    }
    at = SkipSpace(value, at);
    if (at < value.size() && value[at] == '[') {
        at = SkipSpace(value, at + 1);
        if (at == value.size() || value[at] != ']') return DocumentType::Malformed;
        at = SkipSpace(value, at + 1);
    }
    if (at != value.size()) return DocumentType::Malformed;
    return external ? DocumentType::External : DocumentType::Plain;
}

// pugixml accepts the keyword in any case and without white space after it; expat does not.
bool DocumentTypeKeywordWellFormed(const Document& document, std::string_view value)
{
    if (value.empty()) return false;
    const char* const text = document.text.Chars();
    std::size_t keywordEnd = document.OffsetOf(value.data());
    if (keywordEnd == 0 || !IsSpace(text[keywordEnd - 1])) return false;
    while (keywordEnd > 0 && IsSpace(text[keywordEnd - 1])) --keywordEnd;
    return keywordEnd >= 9 && std::memcmp(text + keywordEnd - 9, "<!DOCTYPE", 9) == 0;
}

// Checks the document level and every subtree; on the way it notes whether a document type lets
// undefined entities pass, which the checks of the root's subtree then depend on.
bool WellFormed(Document& document, const pugi::xml_document& tree)
{
    bool rootSeen = false;
    bool doctypeSeen = false;
    for (const pugi::xml_node node : tree.children()) {
        switch (node.type()) {
        case pugi::node_element:
            if (rootSeen || !SubtreeWellFormed(node, document.skipsUndefinedEntities)) return false;
            rootSeen = true;
            break;
        case pugi::node_comment:
        case pugi::node_pi:
            if (!NodeWellFormed(node, false)) return false;
            break;
        case pugi::node_doctype: {
            if (rootSeen || doctypeSeen || !DocumentTypeKeywordWellFormed(document, node.value())) return false;
            const DocumentType type = ReadDocumentType(node.value());
            if (type == DocumentType::Malformed) return false;
            document.skipsUndefinedEntities = type == DocumentType::External && !document.standalone;
            doctypeSeen = true;
            break;
        }
        default:  // text or CDATA outside the root, or a second XML declaration
            return false;
        }
    }
    return rootSeen;
}

bool ParseTree(Document& document, pugi::xml_document& tree)
{
    const std::size_t begin = document.bodyBegin;
    const std::string_view body = document.text.View().substr(begin);
    // pugixml would skip a second byte order mark; to expat it is text before the root.
    if (body.substr(0, 3) == "\xEF\xBB\xBF") return false;
    constexpr unsigned kOptions = pugi::parse_cdata | pugi::parse_comments | pugi::parse_pi |
                                  pugi::parse_declaration | pugi::parse_doctype | pugi::parse_fragment;
    // Fragment mode reports text outside the root; the size includes the NUL so that in-place
    // parsing keeps the last character.
    const pugi::xml_parse_result result =
        tree.load_buffer_inplace(document.At(begin), body.size() + 1, kOptions, pugi::encoding_utf8);
    return result && WellFormed(document, tree);
}

// ---------------------------------------------------------------- text as wx kept it

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Where the first piece of the blank run [begin, end) that holds more than blanks starts, or
// kNone; the breaks cut the run into pieces.
std::size_t FirstNonBlankPiece(const Document& document, std::size_t begin, std::size_t end)
{
    const char* const text = document.text.Chars();
    auto nextBreak = std::upper_bound(document.breaks.begin(), document.breaks.end(), begin);
    std::size_t piece = begin;
    for (; nextBreak != document.breaks.end() && *nextBreak < end; ++nextBreak) {
        if (!std::all_of(text + piece, text + *nextBreak, IsBlank)) return piece;
        piece = *nextBreak;
    }
    return std::all_of(text + piece, text + end, IsBlank) ? kNone : piece;
}

// Where the first character-data event that is not all white space starts in [begin, end), or
// kNone. Expat reports every line end and every reference as an event of its own, and cuts runs
// of other characters at the breaks.
std::size_t FirstTextEvent(const Document& document, std::size_t begin, std::size_t end)
{
    const char* const text = document.text.Chars();
    std::size_t at = begin;
    while (at < end) {
        const char c = text[at];
        if (c == '\n' || c == '\r') {
            at += (c == '\r' && at + 1 < end && text[at + 1] == '\n') ? 2 : 1;
            continue;
        }
        if (c == '&') {
            const Reference reference =
                ReadReference(std::string_view(text + at, end - at), document.skipsUndefinedEntities);
            if (reference.character != kSkipped && !IsSpace(static_cast<int>(reference.character)))
                return at;
            at += reference.length;
            continue;
        }
        if (!IsBlank(c)) return at;
        const std::size_t runEnd = static_cast<std::size_t>(
            std::find_if(text + at, text + end, [](char x) { return x == '&' || x == '\r' || x == '\n'; }) - text);
        const std::size_t piece = FirstNonBlankPiece(document, at, runEnd);
        if (piece != kNone) return piece;
        at = runEnd;
    }
    return kNone;
}

enum class Raw { Text, Cdata, Attribute };

// Resolves raw text in place (the result is never longer) the way expat hands it over: line ends
// become "\n" (in attribute values a space, like literal tabs and newlines there), and outside
// CDATA references become their characters, white space or not, or nothing when skipped.
std::string_view Resolve(Document& document, std::size_t begin, std::size_t end, Raw kind)
{
    char* const text = document.At(0);
    const bool references = kind != Raw::Cdata;
    const bool attribute = kind == Raw::Attribute;
    const std::string_view raw(text + begin, end - begin);
    const bool plain = std::none_of(raw.begin(), raw.end(), [&](char c) {
        return c == '\r' || (references && c == '&') || (attribute && (c == '\n' || c == '\t'));
    });
    if (plain) return raw;
    std::size_t out = begin;
    for (std::size_t in = begin; in < end;) {
        const char c = text[in];
        if (c == '&' && references) {
            const Reference reference =
                ReadReference(std::string_view(text + in, end - in), document.skipsUndefinedEntities);
            in += reference.length;
            if (reference.character != kSkipped) out += EncodeUtf8(reference.character, text + out);
            continue;
        }
        in += (c == '\r' && in + 1 < end && text[in + 1] == '\n') ? 2 : 1;
        if (attribute && IsSpace(c))
            text[out++] = ' ';
        else
            text[out++] = c == '\r' ? '\n' : c;
    }
    return {text + begin, out - begin};
}

std::string_view MidOf(Document& document, pugi::xml_node element)
{
    const std::string_view raw = element.attribute("mid").value();
    if (raw.empty()) return {};
    const std::size_t begin = document.OffsetOf(raw.data());
    return Resolve(document, begin, begin + raw.size(), Raw::Attribute);
}

// wxXmlNode::GetNodeContent: the first text or CDATA child. Character data that was white space
// only up to its first text event never became a node.
std::string_view ContentOf(Document& document, pugi::xml_node element)
{
    for (const pugi::xml_node child : element.children()) {
        const std::string_view raw = child.value();
        if (child.type() == pugi::node_cdata) {
            if (raw.empty()) return {};
            const std::size_t begin = document.OffsetOf(raw.data());
            return Resolve(document, begin, begin + raw.size(), Raw::Cdata);
        }
        if (child.type() != pugi::node_pcdata) continue;
        const std::size_t begin = document.OffsetOf(raw.data());
        const std::size_t end = begin + raw.size();
        const std::size_t start = FirstTextEvent(document, begin, end);
        if (start != kNone) return Resolve(document, start, end, Raw::Text);
    }
    return {};
}

// The name wx gave a child of the root, or nothing for character data that made no text node.
std::optional<std::string_view> WxNodeName(const Document& document, pugi::xml_node node)
{
    switch (node.type()) {
    case pugi::node_element:
    case pugi::node_pi: return std::string_view(node.name());
    case pugi::node_comment: return std::string_view("comment");
    case pugi::node_cdata: return std::string_view("cdata");
    default: break;
    }
    const std::string_view raw = node.value();
    const std::size_t begin = document.OffsetOf(raw.data());
    if (FirstTextEvent(document, begin, begin + raw.size()) == kNone) return std::nullopt;
    return std::string_view("text");
}

[[noreturn]] void ThrowCannotParse()
{
    throw TableError(messages::kCannotParseCatalogue);
}

std::uint32_t OffsetIn(const char* text, std::string_view part)
{
    return part.empty() ? 0 : static_cast<std::uint32_t>(part.data() - text);
}

std::string_view View(const char* text, std::uint32_t offset, std::uint32_t size)
{
    return {text + offset, size};
}

}  // namespace

Catalogue Catalogue::Load(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) throw TableError(messages::kCannotReadCatalogue);

    std::optional<Bytes> bytes = ReadFile(path);
    std::optional<Document> document = bytes ? Decode(std::move(*bytes)) : std::nullopt;
    // The index keeps 32-bit offsets into the text.
    if (!document || document->text.size > UINT32_MAX) ThrowCannotParse();
    const char* const text = document->text.Chars();
    if (!HasOnlyXmlChars(text + document->bodyBegin, text + document->text.size)) ThrowCannotParse();

    // The tree needs about three times the text; untouched parts of the block cost nothing.
    const TreeArena arena(4 * document->text.size + (1u << 20));
    pugi::xml_document tree;
    if (!ParseTree(*document, tree)) ThrowCannotParse();
    const pugi::xml_node root = tree.document_element();
    if (std::strcmp(root.name(), "messages") != 0) ThrowCannotParse();

    Catalogue catalogue;
    catalogue.ReserveIndex(static_cast<std::size_t>(std::distance(root.begin(), root.end())));
    for (const pugi::xml_node node : root.children()) {
        const std::optional<std::string_view> name = WxNodeName(*document, node);
        if (!name) continue;
        if (catalogue.m_entryCount++ == 0 && *name != "message") ThrowCannotParse();
        const bool element = node.type() == pugi::node_element;
        // The content is only worked out for the first entry of a mid.
        if (!catalogue.AddFirst(text, element ? MidOf(*document, node) : std::string_view()) || !element)
            continue;
        const std::string_view content = ContentOf(*document, node);
        catalogue.m_entries.back().textOffset = OffsetIn(text, content);
        catalogue.m_entries.back().textSize = static_cast<std::uint32_t>(content.size());
    }
    if (catalogue.m_entryCount == 0) ThrowCannotParse();
    catalogue.m_text = std::move(document->text.buffer);
    return catalogue;
}

std::optional<std::string_view> Catalogue::Find(std::string_view mid) const
{
    if (m_slots.empty()) return std::nullopt;
    const std::uint32_t slot = m_slots[SlotOf(Text(), mid)];
    if (slot == 0) return std::nullopt;
    const Entry& entry = m_entries[slot - 1];
    return View(Text(), entry.textOffset, entry.textSize);
}

void Catalogue::ReserveIndex(std::size_t entries)
{
    std::size_t slots = 2;
    while (slots < 2 * entries) slots *= 2;
    m_slots.assign(slots, 0);
    m_entries.reserve(entries);
}

bool Catalogue::AddFirst(const char* text, std::string_view mid)
{
    std::uint32_t& slot = m_slots[SlotOf(text, mid)];
    if (slot != 0) return false;
    m_entries.push_back({OffsetIn(text, mid), static_cast<std::uint32_t>(mid.size()), 0, 0});
    slot = static_cast<std::uint32_t>(m_entries.size());
    return true;
}

std::size_t Catalogue::SlotOf(const char* text, std::string_view mid) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = std::hash<std::string_view>()(mid) & mask;; at = (at + 1) & mask) {
        const std::uint32_t slot = m_slots[at];
        if (slot == 0) return at;
        const Entry& entry = m_entries[slot - 1];
        if (View(text, entry.midOffset, entry.midSize) == mid) return at;
    }
}
