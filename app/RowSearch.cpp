// The order in which the search visits rows.
#include "RowSearch.h"

std::optional<int> FindRowByLabel(int cursorRow, int rowCount, const std::function<bool(int)>& labelMatches)
{
    if (rowCount <= 0)
        return std::nullopt;
    const int start = cursorRow >= 0 && cursorRow < rowCount ? cursorRow : 0;
    for (int row = start; row < rowCount; ++row) {
        if (labelMatches(row))
            return row;
    }
    for (int row = 0; row < start; ++row) {
        if (labelMatches(row))
            return row;
    }
    return std::nullopt;
}
