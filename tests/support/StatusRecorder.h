// Records every text written to the main window's status bar while a test runs, by giving
// the frame a status bar of the same three fields that keeps a log of its writes.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <wx/frame.h>
#include <wx/statusbr.h>

class RecordingStatusBar : public wxStatusBar {
public:
    static constexpr int kFields = 3;

    explicit RecordingStatusBar(wxFrame* frame) : wxStatusBar(frame, wxID_ANY, 0)
    {
        const int widths[kFields] = {-5, -3, -2};
        SetFieldsCount(kFields, widths);
    }

    // Starts from these texts without counting them as writes.
    void Seed(int field, const wxString& text)
    {
        m_current[field] = text;
        HoldMarker(field);
    }

    struct Write {
        int field;
        std::string text;  // UTF-8
        bool operator==(const Write& other) const { return field == other.field && text == other.text; }
    };

    const std::vector<Write>& Writes() const { return m_writes; }
    std::vector<std::string> WritesTo(int field) const
    {
        std::vector<std::string> texts;
        for (const Write& write : m_writes) {
            if (write.field == field)
                texts.push_back(write.text);
        }
        return texts;
    }
    void ClearWrites() { m_writes.clear(); }
    // What the field shows now.
    const wxString& Current(int field) const { return m_current[field]; }

protected:
    void DoUpdateStatusText(int field) override
    {
        const wxString text = m_panes[field].GetText();
        m_current[field] = text;
        m_writes.push_back({field, std::string(text.utf8_str())});
        wxStatusBar::DoUpdateStatusText(field);
        HoldMarker(field);
    }

private:
    // The toolkit passes on only writes that change a field's text; between writes each
    // field holds a text nobody writes, so a repeated text is seen as a write too.
    void HoldMarker(int field) { m_panes[field].SetText(wxS("\x01")); }

    std::vector<Write> m_writes;
    wxString m_current[kFields];
};

inline std::ostream& operator<<(std::ostream& out, const RecordingStatusBar::Write& write)
{
    return out << "(" << write.field << ", \"" << write.text << "\")";
}

// Installs a recording status bar on the frame for its lifetime; then gives the frame its
// own bar back, showing what the recorded fields showed last.
class StatusRecorder {
public:
    explicit StatusRecorder(wxFrame& frame) : m_frame(frame), m_original(frame.GetStatusBar())
    {
        m_bar = new RecordingStatusBar(&frame);
        for (int field = 0; field < RecordingStatusBar::kFields; ++field)
            m_bar->Seed(field, m_original->GetStatusText(field));
        m_frame.SetStatusBar(m_bar);
    }

    ~StatusRecorder()
    {
        m_frame.SetStatusBar(m_original);
        for (int field = 0; field < RecordingStatusBar::kFields; ++field)
            m_original->SetStatusText(m_bar->Current(field), field);
        delete m_bar;
    }

    StatusRecorder(const StatusRecorder&) = delete;
    StatusRecorder& operator=(const StatusRecorder&) = delete;

    RecordingStatusBar* operator->() const { return m_bar; }

private:
    wxFrame& m_frame;
    wxStatusBar* m_original;
    RecordingStatusBar* m_bar;
};
