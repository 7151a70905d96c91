// Installing the recording status bar and taking its notes.
#include "PhaseRecorder.h"

#include <vector>

RecordingStatusBar* RecordingStatusBar::InstallOn(wxFrame& frame)
{
    wxStatusBar* old = frame.GetStatusBar();
    const int fields = old->GetFieldsCount();
    std::vector<int> widths, styles;
    for (int i = 0; i < fields; ++i) {
        widths.push_back(old->GetStatusWidth(i));
        styles.push_back(old->GetStatusStyle(i));
    }
    auto* bar = new RecordingStatusBar(&frame, old->GetId(), old->GetWindowStyle(), old->GetName());
    bar->SetFieldsCount(fields, widths.data());
    bar->SetStatusStyles(fields, styles.data());
    frame.SetStatusBar(bar);
    old->Destroy();
    return bar;
}

void RecordingStatusBar::Clear()
{
    m_changes.clear();
    m_repaint = {};
}

void RecordingStatusBar::DoUpdateStatusText(int number)
{
    const Clock::time_point start = Clock::now();
    m_changes.push_back({start, number, GetStatusText(number)});
    wxStatusBar::DoUpdateStatusText(number);
    m_repaint += Clock::now() - start;
}
