// The UI string catalogue uistring.xml: its entries, read the way the toolkit's XML reader
// (wxXmlDocument over expat) sees them, indexed by the exact text of their mid.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileBuffer.h"

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
    // Where an entry's mid and content lie in the text.
    struct Entry {
        std::uint32_t midOffset;
        std::uint32_t midSize;
        std::uint32_t textOffset;
        std::uint32_t textSize;
    };

    Catalogue() = default;
    void ReserveIndex(std::size_t entries);
    // Adds an entry for `mid` (which lies in `text`) unless there is one; returns whether it did.
    bool AddFirst(const char* text, std::string_view mid);
    // The slot that holds `mid`, or the empty slot where it belongs.
    std::size_t SlotOf(const char* text, std::string_view mid) const;
    const char* Text() const { return reinterpret_cast<const char*>(m_text.Data()); }

    // The document as UTF-8; every mid and content lies in it.
    FileBuffer m_text;
    // The first entry of each mid, in document order.
    std::vector<Entry> m_entries;
    // Open addressing, at most half full: an entry's index + 1, or 0 when empty.
    std::vector<std::uint32_t> m_slots;
    std::size_t m_entryCount = 0;
};
