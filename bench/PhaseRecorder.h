// A status bar that notes when each of its texts changes. The loader marks the boundaries of
// its steps with status texts, so these notes time the steps without touching the loader.
#pragma once

#include <chrono>
#include <vector>

#include <wx/frame.h>
#include <wx/statusbr.h>

using Clock = std::chrono::steady_clock;

struct StatusChange {
    Clock::time_point when;
    int field;
    wxString text;
};

class RecordingStatusBar : public wxStatusBar {
public:
    using wxStatusBar::wxStatusBar;

    // Replace `frame`'s status bar by a recording one with the same fields, widths and styles.
    static RecordingStatusBar* InstallOn(wxFrame& frame);

    void Clear();
    const std::vector<StatusChange>& Changes() const { return m_changes; }
    // Time spent repainting the bar for the changes since Clear.
    Clock::duration RepaintTime() const { return m_repaint; }

protected:
    void DoUpdateStatusText(int number) override;

private:
    std::vector<StatusChange> m_changes;
    Clock::duration m_repaint{};
};
