// Finding a row by its label: from the cursor's row to the last row, then wrapping once
// from the top to the row before the cursor.
#pragma once

#include <functional>
#include <optional>

// `labelMatches(row)` says whether that row's label equals the searched text.
std::optional<int> FindRowByLabel(int cursorRow, int rowCount, const std::function<bool(int)>& labelMatches);
