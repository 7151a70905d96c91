// Builds the bytes of a table file for tests: a header of either layout, descriptors and rows,
// all little-endian, plus raw bytes anywhere so that malformed files can be made as easily.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

class TableBytes {
public:
    // The header's counts are those of the Column() and Row() calls unless set explicitly.
    static TableBytes Compact() { return TableBytes(false); }
    static TableBytes Fixed() { return TableBytes(true); }

    // Override the header's fields, e.g. to claim more rows or columns than follow.
    TableBytes& Tag(std::uint32_t tag)
    {
        m_tag = tag;
        return *this;
    }
    TableBytes& ColumnCount(std::uint32_t count)
    {
        m_columnCount = count;
        return *this;
    }
    TableBytes& RowCount(std::uint32_t count)
    {
        m_rowCount = count;
        return *this;
    }

    // A descriptor in this layout. A compact name is written with its own length, whatever it
    // is (so 65 bytes make a malformed file); a fixed name is cut or padded with zero bytes to 64.
    TableBytes& Column(const std::string& name, std::int32_t type)
    {
        ++m_columns;
        if (m_fixed) {
            std::string field = name;
            field.resize(kNameField, '\0');
            Raw(field);
            return U32(static_cast<std::uint32_t>(type));
        }
        U16(static_cast<std::uint16_t>(name.size()));
        Raw(name);
        return U8(static_cast<std::uint8_t>(type));
    }

    // Starts a row with its id; the cells follow.
    TableBytes& Row(std::uint32_t id)
    {
        ++m_rows;
        return U32(id);
    }

    // A text cell: two length bytes, then the bytes.
    TableBytes& Text(const std::string& text)
    {
        U16(static_cast<std::uint16_t>(text.size()));
        return Raw(text);
    }

    TableBytes& Real(float value)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof(bits));
        return U32(bits);
    }

    TableBytes& U8(std::uint8_t value) { return Raw({value}); }

    TableBytes& U16(std::uint16_t value)
    {
        return Raw({static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)});
    }

    TableBytes& U32(std::uint32_t value)
    {
        return Raw({static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                    static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)});
    }

    TableBytes& Raw(std::initializer_list<unsigned char> bytes)
    {
        m_body.insert(m_body.end(), bytes.begin(), bytes.end());
        return *this;
    }

    TableBytes& Raw(const std::string& bytes)
    {
        m_body.insert(m_body.end(), bytes.begin(), bytes.end());
        return *this;
    }

    TableBytes& Raw(std::size_t count, unsigned char value)
    {
        m_body.insert(m_body.end(), count, value);
        return *this;
    }

    // Header, then everything written since, in order.
    std::vector<unsigned char> Bytes() const
    {
        TableBytes header(m_fixed);
        header.U32(m_tag.value_or(m_fixed ? 81u : 0u));
        const std::uint32_t columns = m_columnCount.value_or(m_columns);
        if (m_fixed)
            header.U32(columns);
        else
            header.U16(static_cast<std::uint16_t>(columns));
        header.U32(m_rowCount.value_or(m_rows));

        std::vector<unsigned char> bytes = header.m_body;
        bytes.insert(bytes.end(), m_body.begin(), m_body.end());
        return bytes;
    }

private:
    static constexpr std::size_t kNameField = 64;

    explicit TableBytes(bool fixed) : m_fixed(fixed) {}

    bool m_fixed;
    std::optional<std::uint32_t> m_tag;
    std::optional<std::uint32_t> m_columnCount;
    std::optional<std::uint32_t> m_rowCount;
    std::uint32_t m_columns = 0;
    std::uint32_t m_rows = 0;
    std::vector<unsigned char> m_body;
};
