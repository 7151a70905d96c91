// Decoding of a table file held in memory. The steps run in the order a load needs them:
// header, column descriptors, column formats, then one pass over the rows that checks
// every cell and records where each row starts. Cell texts are made on demand from the
// bytes, so a table costs little more memory than its file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ByteReader.h"
#include "TableFormat.h"

// Throw "非法文件!" for a bad first byte or a header cut short.
TableHeader DecodeHeader(ByteReader& reader);

// Throw "非法文件!" for a bad tag, a name longer than 64 bytes, or descriptors that run
// past the end; the count is checked against the bytes left before anything is allocated.
std::vector<ColumnDescriptor> DecodeColumnDescriptors(ByteReader& reader, const TableHeader& header);

// The column's name: the bytes before the first zero byte, at most 64.
std::string_view ColumnName(const ColumnDescriptor& column);

// Throw "未知数据类型" for the first column whose code no grid format exists for (outside 1..6).
void CheckColumnFormat(const ColumnDescriptor& column);

// One cell's bytes as stored: for a text cell the text itself, otherwise the four value bytes.
struct CellBytes {
    std::int32_t type;
    const unsigned char* data;
    std::size_t size;
};

// Called with the whole per cent of rows done, each time it changes.
using RowProgress = std::function<void(unsigned percent)>;

class TableView {
public:
    TableView() = default;

    // Check every row that follows the descriptors (at reader's offset) and index them.
    // Throws "非法文件!" for rows that run past the end and "未知数据类型" for a cell of
    // a type that cannot be decoded; rows are checked in order, each row's cells in order.
    TableView(const unsigned char* data, std::size_t size, std::size_t rowsOffset,
              const TableHeader& header, std::vector<ColumnDescriptor> columns,
              const RowProgress& progress = {});

    const TableHeader& Header() const { return m_header; }
    const std::vector<ColumnDescriptor>& Columns() const { return m_columns; }
    std::size_t RowCount() const { return m_header.rowCount; }
    std::size_t ColumnCount() const { return m_columns.size(); }

    std::uint32_t RowId(std::size_t row) const;
    CellBytes Cell(std::size_t row, std::size_t column) const;

    // The cell's text as the grid shows it, UTF-8 (a text cell's bytes as stored).
    std::string CellText(std::size_t row, std::size_t column) const;

    // Calls visit(column, CellBytes) for each cell of the row in column order: the cheap way
    // to read whole rows, where Cell() walks from the row's start for every cell after a text.
    template <typename Visit>
    void VisitRow(std::size_t row, Visit&& visit) const
    {
        const unsigned char* p = RowStart(row) + 4;
        for (std::size_t column = 0; column < m_columns.size(); ++column) {
            const std::int32_t type = m_columns[column].type;
            if (type == ColumnTypeText) {
                const std::size_t size = ByteReader::LoadU16(p);
                visit(column, CellBytes{type, p + 2, size});
                p += 2 + size;
            } else {
                visit(column, CellBytes{type, p, 4});
                p += 4;
            }
        }
    }

private:
    // A row is a run of fixed-size bytes, then a text cell, then another run, and so on.
    struct Segment {
        std::size_t fixedBytes;  // bytes before the text cell (or the row's end)
        bool endsWithText;
    };

    void BuildLayout();
    void IndexRows(std::size_t rowsOffset, const RowProgress& progress);
    void FailAtUndecodableCell(std::size_t rowsOffset) const;
    const unsigned char* RowStart(std::size_t row) const;

    const unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
    TableHeader m_header;
    std::vector<ColumnDescriptor> m_columns;

    std::vector<Segment> m_segments;
    std::size_t m_minRowSize = 4;
    bool m_hasUndecodable = false;
    // Offset of each column within its row while no text cell precedes it, else npos.
    std::vector<std::size_t> m_fixedOffsets;

    std::size_t m_firstRow = 0;
    std::size_t m_fixedRowSize = 0;  // nonzero when every row has the same size
    std::vector<std::uint32_t> m_rowOffsets;  // used when rows vary in size
};

// Decode a whole file's bytes at once (for tools, tests and fuzzing).
TableView DecodeTable(const unsigned char* data, std::size_t size, const RowProgress& progress = {});
