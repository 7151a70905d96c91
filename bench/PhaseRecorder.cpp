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

void RecordingStatusBar::DoUpdateStatusText(int number)
{
    // Reading /proc costs tens of microseconds: too much for each of hundreds of percentages.
    const wxString text = GetStatusText(number);
    const bool step = number != 2 || text == wxS("50%");
    const ResidentMemory memory = step ? ReadResidentMemory() : ResidentMemory{};
    const Clock::time_point start = Clock::now();
    ProgressStatusBar::DoUpdateStatusText(number);
    m_changes.push_back({start, number, text, Clock::now() - start, memory});
}
