// The records of a Quarrytide table file: its header and one descriptor per column.
// Both layouts (compact and fixed) decode into these same records.
#pragma once

#include <cstdint>

// Format tags; the first byte of the file selects the layout.
constexpr std::uint32_t kCompactTag = 0;
constexpr std::uint32_t kFixedTag = 81;

constexpr std::size_t kCompactHeaderSize = 10;
constexpr std::size_t kFixedHeaderSize = 12;
constexpr std::size_t kColumnNameSize = 64;
constexpr std::size_t kFixedDescriptorSize = 68;
constexpr std::size_t kCompactDescriptorMinSize = 3;

// Type code of a column. Codes 2/3 and 4/5 behave alike; 6 is a float column
// whose cells cannot be decoded.
enum ColumnType : std::int32_t {
    ColumnTypeText = 1,
    ColumnTypeNumber = 2,
    ColumnTypeNumberAlt = 3,
    ColumnTypeReal = 4,
    ColumnTypeRealAlt = 5,
    ColumnTypeRealUndecodable = 6,
};

struct TableHeader {
    std::uint32_t tag = 0;
    std::uint32_t columnCount = 0;
    std::uint32_t rowCount = 0;
};

// Byte for byte the fixed layout's descriptor.
struct ColumnDescriptor {
    char name[kColumnNameSize];
    std::int32_t type;
};
static_assert(sizeof(ColumnDescriptor) == kFixedDescriptorSize, "descriptor must be 68 bytes");

// Codes accepted when a column's grid format is chosen, and when a cell is decoded.
inline bool IsKnownColumnFormat(std::int32_t type) { return type >= 1 && type <= 6; }
inline bool IsDecodableCellType(std::int32_t type) { return type >= 1 && type <= 5; }
inline bool IsNumberType(std::int32_t type) { return type == 2 || type == 3; }
inline bool IsRealType(std::int32_t type) { return type >= 4 && type <= 6; }
