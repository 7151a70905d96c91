// Rate-limited immediate painting of status texts.
#include "ProgressStatusBar.h"

namespace {
constexpr std::chrono::milliseconds kPaintInterval{100};
}

void ProgressStatusBar::DoUpdateStatusText(int field)
{
    wxRect rect;
    if (GetFieldRect(field, rect))
        Refresh(true, &rect);
    // A text not painted now is painted with the next one, or when the event loop runs again.
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastPaint < kPaintInterval)
        return;
    m_lastPaint = now;
    Update();
}
