// The main window's status bar. A load writes its progress while it keeps the event loop
// waiting, so each write is painted at once -- but no more often than the eye can follow:
// painting synchronously costs a round trip to the display for every write.
#pragma once

#include <chrono>

#include <wx/statusbr.h>

class ProgressStatusBar : public wxStatusBar {
public:
    ProgressStatusBar(wxWindow* parent, wxWindowID id, long style, const wxString& name)
        : wxStatusBar(parent, id, style, name)
    {
    }

protected:
    void DoUpdateStatusText(int field) override;

private:
    std::chrono::steady_clock::time_point m_lastPaint;
};
