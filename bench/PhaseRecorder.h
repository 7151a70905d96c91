// A status bar that notes when each of its texts changes. The loader marks the boundaries of
// its steps with status texts, so these notes time the steps without touching the loader.
#pragma once

#include <chrono>
#include <vector>

#include <wx/frame.h>
#include <wx/statusbr.h>

#include "ProgressStatusBar.h"

#include "Machine.h"

using Clock = std::chrono::steady_clock;

struct StatusChange {
    Clock::time_point when;
    int field;
    wxString text;
    Clock::duration repaint{};  // the bar's repaint for this change
    ResidentMemory memory;      // when it came; read for step texts only, not for percentages
};

// The viewer's own status bar (which paints at a limited rate), noting each change.
class RecordingStatusBar : public ProgressStatusBar {
public:
    using ProgressStatusBar::ProgressStatusBar;

    // Replace `frame`'s status bar by a recording one with the same fields, widths and styles.
    static RecordingStatusBar* InstallOn(wxFrame& frame);

    void Clear() { m_changes.clear(); }
    // The changes since Clear, in order.
    const std::vector<StatusChange>& Changes() const { return m_changes; }

protected:
    void DoUpdateStatusText(int number) override;

private:
    std::vector<StatusChange> m_changes;
};
