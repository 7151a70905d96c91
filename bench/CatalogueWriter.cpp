// The generated uistring.xml: ascending even mids with gaps, most texts in CDATA sections,
// the rest as escaped character data; a few empty and a few multi-line texts.
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "InputGenerator.h"
#include "SampleText.h"

namespace {

std::string Escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else
            out += c;
    }
    return out;
}

std::string Content(Random& random)
{
    if (random.PerMille(2))
        return {};
    std::string text = DisplayName(random);
    if (random.PerMille(1))
        text += "\n" + DisplayName(random);
    return text;
}

std::string Entry(std::uint32_t mid, const std::string& content, bool cdata)
{
    std::string line = "\t<message mid=\"" + std::to_string(mid) + "\">";
    line += cdata ? "<![CDATA[" + content + "]]>" : Escaped(content);
    return line + "</message>\n";
}

}  // namespace

CatalogueFile WriteCatalogue(const std::string& folder, std::uint32_t entries, std::uint64_t seed)
{
    CatalogueFile catalogue;
    catalogue.path = folder + "/uistring.xml";
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(catalogue.path.c_str(), "wb"), std::fclose);
    if (!file)
        throw std::runtime_error("cannot write " + catalogue.path);
    std::setvbuf(file.get(), nullptr, _IOFBF, 1 << 20);

    Random random(seed);
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<messages>\n";
    std::uint32_t mid = 100000;
    catalogue.mids.reserve(entries);
    for (std::uint32_t k = 0; k < entries; ++k) {
        mid += 2 * random.Between(1, 3);
        catalogue.mids.push_back(mid);
        const bool last = k + 1 == entries;
        // No generated name contains 终章, so the last entry's text is its own.
        const std::string content = last ? std::string(u8"采石场潮汐·终章") : Content(random);
        if (last)
            catalogue.lastContent = content;
        text += Entry(mid, content, random.PerMille(700));
        if (text.size() > (1 << 20)) {
            std::fwrite(text.data(), 1, text.size(), file.get());
            catalogue.bytes += text.size();
            text.clear();
        }
    }
    text += "</messages>\n";
    std::fwrite(text.data(), 1, text.size(), file.get());
    catalogue.bytes += text.size();
    if (std::ferror(file.get()))
        throw std::runtime_error("cannot write " + catalogue.path);
    return catalogue;
}
