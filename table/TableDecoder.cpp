// Bounds-checked decoding of table files; see TableDecoder.h for the order of the checks.
#include "TableDecoder.h"

#include <cstring>
#include <limits>

#include "CellText.h"
#include "TableError.h"

namespace {

constexpr std::size_t kNoOffset = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kRowIdSize = 4;
constexpr std::size_t kValueSize = 4;
constexpr std::size_t kTextLengthSize = 2;

std::size_t SmallestCellSize(std::int32_t type)
{
    return type == ColumnTypeText ? kTextLengthSize : kValueSize;
}

ColumnDescriptor ReadCompactDescriptor(ByteReader& reader)
{
    ColumnDescriptor column;
    std::memset(&column, 0, sizeof(column));
    const std::uint16_t nameLength = reader.ReadU16();
    if (nameLength > kColumnNameSize)
        throw TableError(messages::kIllegalFile);
    reader.ReadBytes(column.name, nameLength);
    column.type = static_cast<std::int8_t>(reader.ReadU8());
    return column;
}

ColumnDescriptor ReadFixedDescriptor(ByteReader& reader)
{
    ColumnDescriptor column;
    reader.ReadBytes(column.name, kColumnNameSize);
    unsigned char type[4];
    reader.ReadBytes(type, sizeof(type));
    column.type = static_cast<std::int32_t>(ByteReader::LoadU32(type));
    return column;
}

}  // namespace

TableHeader DecodeHeader(ByteReader& reader)
{
    if (!reader.CanRead(1))
        throw TableError(messages::kIllegalFile);
    TableHeader header;
    switch (*reader.Here()) {
    case 0x00:
        header.tag = reader.ReadU32();
        header.columnCount = reader.ReadU16();
        header.rowCount = reader.ReadU32();
        break;
    case 0x51:
        header.tag = reader.ReadU32();
        header.columnCount = reader.ReadU32();
        header.rowCount = reader.ReadU32();
        break;
    default:
        throw TableError(messages::kIllegalFile);
    }
    return header;
}

std::vector<ColumnDescriptor> DecodeColumnDescriptors(ByteReader& reader, const TableHeader& header)
{
    if (header.tag != kCompactTag && header.tag != kFixedTag)
        throw TableError(messages::kIllegalFile);
    const bool compact = header.tag == kCompactTag;
    const std::size_t smallest = compact ? kCompactDescriptorMinSize : kFixedDescriptorSize;
    // Refuse a count the remaining bytes cannot hold before allocating for it.
    if (header.columnCount > reader.Remaining() / smallest)
        throw TableError(messages::kIllegalFile);

    std::vector<ColumnDescriptor> columns;
    columns.reserve(header.columnCount);
    for (std::uint32_t i = 0; i < header.columnCount; ++i)
        columns.push_back(compact ? ReadCompactDescriptor(reader) : ReadFixedDescriptor(reader));
    return columns;
}

std::string_view ColumnName(const ColumnDescriptor& column)
{
    const void* zero = std::memchr(column.name, 0, kColumnNameSize);
    const std::size_t length =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - column.name) : kColumnNameSize;
    return std::string_view(column.name, length);
}

void CheckColumnFormat(const ColumnDescriptor& column)
{
    if (!IsKnownColumnFormat(column.type))
        throw TableError(messages::kUnknownType);
}

TableView::TableView(const unsigned char* data, std::size_t size, std::size_t rowsOffset,
                     const TableHeader& header, std::vector<ColumnDescriptor> columns,
                     const RowProgress& progress)
    : m_data(data), m_size(size), m_header(header), m_columns(std::move(columns)), m_firstRow(rowsOffset)
{
    // Row positions are kept in 32 bits; the loader never reads files of 4 GiB or more.
    if (size > std::numeric_limits<std::uint32_t>::max())
        throw TableError(messages::kCannotReadFile);
    if (rowsOffset > size)
        throw TableError(messages::kIllegalFile);
    BuildLayout();
    if (m_hasUndecodable) {
        if (m_header.rowCount > 0)
            FailAtUndecodableCell(rowsOffset);
        return;
    }
    IndexRows(rowsOffset, progress);
}

void TableView::BuildLayout()
{
    m_fixedOffsets.assign(m_columns.size(), kNoOffset);
    std::size_t fixedBytes = kRowIdSize;
    std::size_t offset = kRowIdSize;
    for (std::size_t k = 0; k < m_columns.size(); ++k) {
        const std::int32_t type = m_columns[k].type;
        if (!IsDecodableCellType(type)) {
            m_hasUndecodable = true;
            return;
        }
        if (offset != kNoOffset)
            m_fixedOffsets[k] = offset;
        m_minRowSize += SmallestCellSize(type);
        if (type == ColumnTypeText) {
            m_segments.push_back({fixedBytes, true});
            fixedBytes = 0;
            offset = kNoOffset;
        } else {
            fixedBytes += kValueSize;
            if (offset != kNoOffset)
                offset += kValueSize;
        }
    }
    m_segments.push_back({fixedBytes, false});
    if (m_segments.size() == 1)
        m_fixedRowSize = m_minRowSize;
}

void TableView::IndexRows(std::size_t rowsOffset, const RowProgress& progress)
{
    const std::size_t rowCount = m_header.rowCount;
    // Every row needs at least its smallest size: a count that cannot fit is refused
    // before anything is allocated for it.
    if (rowCount > (m_size - rowsOffset) / m_minRowSize)
        throw TableError(messages::kIllegalFile);

    const std::uint64_t total = rowCount;
    unsigned lastPercent = std::numeric_limits<unsigned>::max();
    auto report = [&](std::size_t row) {
        if (!progress)
            return;
        const auto percent = static_cast<unsigned>(row * std::uint64_t{100} / total);
        if (percent != lastPercent) {
            lastPercent = percent;
            progress(percent);
        }
    };

    if (m_fixedRowSize != 0) {
        for (std::size_t row = 0; row < rowCount; ++row)
            report(row);
        return;
    }

    m_rowOffsets.reserve(rowCount);
    const unsigned char* const end = m_data + m_size;
    const unsigned char* p = m_data + rowsOffset;
    for (std::size_t row = 0; row < rowCount; ++row) {
        m_rowOffsets.push_back(static_cast<std::uint32_t>(p - m_data));
        for (const Segment& segment : m_segments) {
            if (segment.fixedBytes > static_cast<std::size_t>(end - p))
                throw TableError(messages::kIllegalFile);
            p += segment.fixedBytes;
            if (!segment.endsWithText)
                break;
            if (kTextLengthSize > static_cast<std::size_t>(end - p))
                throw TableError(messages::kIllegalFile);
            const std::size_t length = ByteReader::LoadU16(p);
            p += kTextLengthSize;
            if (length > static_cast<std::size_t>(end - p))
                throw TableError(messages::kIllegalFile);
            p += length;
        }
        report(row);
    }
}

// Decode the first row cell by cell up to the cell that cannot be decoded, so that a
// row cut short before it is still reported as such.
void TableView::FailAtUndecodableCell(std::size_t rowsOffset) const
{
    ByteReader reader(m_data, m_size);
    reader.Skip(rowsOffset);
    reader.Skip(kRowIdSize);
    for (const ColumnDescriptor& column : m_columns) {
        if (!IsDecodableCellType(column.type))
            throw TableError(messages::kUnknownType);
        reader.Skip(column.type == ColumnTypeText ? reader.ReadU16() : kValueSize);
    }
}

const unsigned char* TableView::RowStart(std::size_t row) const
{
    if (m_fixedRowSize != 0)
        return m_data + m_firstRow + row * m_fixedRowSize;
    return m_data + m_rowOffsets[row];
}

std::uint32_t TableView::RowId(std::size_t row) const
{
    return ByteReader::LoadU32(RowStart(row));
}

CellBytes TableView::Cell(std::size_t row, std::size_t column) const
{
    const unsigned char* const start = RowStart(row);
    const unsigned char* p;
    std::size_t k;
    if (m_fixedOffsets[column] != kNoOffset) {
        p = start + m_fixedOffsets[column];
        k = column;
    } else {
        // Walk from the last column whose place is known; the row was checked when indexed.
        k = column;
        while (m_fixedOffsets[k] == kNoOffset)
            --k;
        p = start + m_fixedOffsets[k];
        for (; k < column; ++k)
            p += m_columns[k].type == ColumnTypeText ? kTextLengthSize + ByteReader::LoadU16(p) : kValueSize;
    }
    const std::int32_t type = m_columns[column].type;
    if (type == ColumnTypeText)
        return {type, p + kTextLengthSize, ByteReader::LoadU16(p)};
    return {type, p, kValueSize};
}

std::string TableView::CellText(std::size_t row, std::size_t column) const
{
    const CellBytes cell = Cell(row, column);
    if (cell.type == ColumnTypeText)
        return std::string(reinterpret_cast<const char*>(cell.data), cell.size);
    if (IsNumberType(cell.type))
        return UnsignedText(ByteReader::LoadU32(cell.data));
    return RealText(LoadReal(cell.data));
}

TableView DecodeTable(const unsigned char* data, std::size_t size, const RowProgress& progress)
{
    ByteReader reader(data, size);
    const TableHeader header = DecodeHeader(reader);
    std::vector<ColumnDescriptor> columns = DecodeColumnDescriptors(reader, header);
    for (const ColumnDescriptor& column : columns)
        CheckColumnFormat(column);
    return TableView(data, size, reader.Offset(), header, std::move(columns), progress);
}
