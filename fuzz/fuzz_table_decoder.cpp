// libFuzzer entry for the table decoder: any bytes either decode, with every row id and cell
// text readable, or raise one of the decoder's messages. Sanitizers catch reads past the end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "TableDecoder.h"
#include "TableError.h"

namespace {

// Enough to walk any table the fuzzer builds within its length limit without slowing it down.
constexpr std::size_t kCellBudget = 1000000;

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool IsDecoderMessage(const wchar_t* message)
{
    return message != nullptr && (std::wcscmp(message, messages::kIllegalFile) == 0 ||
                                  std::wcscmp(message, messages::kUnknownType) == 0 ||
                                  std::wcscmp(message, messages::kCannotReadFile) == 0);
}

void ReadEveryCell(const TableView& table, const unsigned char* data, std::size_t size)
{
    std::size_t budget = kCellBudget;
    for (std::size_t row = 0; row < table.RowCount() && budget > 0; ++row, --budget) {
        volatile std::uint32_t id = table.RowId(row);
        (void)id;
        for (std::size_t column = 0; column < table.ColumnCount() && budget > 0; ++column, --budget) {
            const CellBytes cell = table.Cell(row, column);
            Require(cell.data >= data && cell.size <= static_cast<std::size_t>(data + size - cell.data));
            const std::string text = table.CellText(row, column);
            Require(cell.type != ColumnTypeText || text.size() == cell.size);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    unsigned lastPercent = 0;
    bool reported = false;
    // Percentages rise strictly and never reach 100.
    const RowProgress progress = [&](unsigned percent) {
        Require(percent < 100 && (!reported || percent > lastPercent));
        lastPercent = percent;
        reported = true;
    };
    try {
        const TableView table = DecodeTable(data, size, progress);
        Require(table.ColumnCount() == table.Header().columnCount);
        ReadEveryCell(table, data, size);
    } catch (const TableError& error) {
        Require(IsDecoderMessage(error.Message()));
    }
    return 0;
}
