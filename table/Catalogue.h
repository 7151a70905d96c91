// The UI string catalogue uistring.xml: its entries, read the way the original viewer's XML
// reader (wxXmlDocument over expat) saw them, indexed by the exact text of their mid.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class Catalogue {
public:
    // Throws TableError(messages::kCannotReadCatalogue) when no regular file is at `path`, and
    // TableError(messages::kCannotParseCatalogue) when the file cannot be read, is not well-formed
    // XML, its root element is not "messages", the root has no child node, or the root's first
    // child node is not named "message". Logs nothing.
    static Catalogue Load(const std::string& path);

    Catalogue(Catalogue&&) = default;
    Catalogue& operator=(Catalogue&&) = default;
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // The content text (UTF-8) of the first entry in document order whose mid has exactly the
    // bytes of `mid`, or nothing. The view lives as long as this catalogue.
    std::optional<std::string_view> Find(std::string_view mid) const;

    // Every child node of the root counts, whatever its kind.
    std::size_t EntryCount() const { return m_entryCount; }

private:
    Catalogue() = default;

    // The document as UTF-8; every mid and content in the index points into it.
    std::unique_ptr<char[]> m_text;
    std::unordered_map<std::string_view, std::string_view> m_index;
    std::size_t m_entryCount = 0;
};
