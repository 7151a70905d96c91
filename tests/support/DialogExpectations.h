// Answers for the modal dialogs a GUI test expects (wxTEST_DIALOG), with test failures
// instead of toolkit assertions: a dialog nobody expected fails the test and is dismissed
// at once, so a run without a person at the screen never waits on a window.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/stopwatch.h>
#include <wx/testing.h>
#include <wx/utils.h>

inline std::string Utf8(const wxString& text)
{
    return std::string(text.utf8_str());
}

class GuiTestModalHook : public wxTestingModalHook {
public:
    GuiTestModalHook(const char* file, int line, const char* func)
        : wxTestingModalHook(file, line, func), m_file(file), m_line(line)
    {
    }

protected:
    int Enter(wxDialog* dialog) override
    {
        const int answer = wxTestingModalHook::Enter(dialog);
        return answer == wxID_NONE ? wxID_CANCEL : answer;
    }

    void ReportFailure(const wxString& message) override { ADD_FAILURE_AT(m_file, m_line) << Utf8(message); }

private:
    const char* m_file;
    int m_line;
};

#undef wxTEST_DIALOG_HOOK_CLASS
#define wxTEST_DIALOG_HOOK_CLASS GuiTestModalHook

// Installed for the whole run, behind every wxTEST_DIALOG: catches dialogs shown where no
// test expected any.
class UnexpectedDialogGuard : public wxModalDialogHook {
public:
    UnexpectedDialogGuard() { Register(); }
    ~UnexpectedDialogGuard() override { Unregister(); }

protected:
    int Enter(wxDialog* dialog) override
    {
        std::string what = Utf8(dialog->GetTitle());
        if (auto* box = dynamic_cast<wxMessageDialog*>(dialog))
            what += ": " + Utf8(box->GetMessage());
        ADD_FAILURE() << "a dialog was shown that no test expected: " << what;
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

// A message box with the given caption and exact style, closed with OK. The message is
// checked when given, and kept for the test to look at in any case.
class ExpectMessageBox : public wxExpectModalBase<wxMessageDialog, ExpectMessageBox> {
public:
    ExpectMessageBox(std::string caption, long style, std::optional<std::string> message = std::nullopt)
        : m_caption(std::move(caption)), m_style(style), m_message(std::move(message)),
          m_shown(std::make_shared<std::string>())
    {
    }

    // The message of the box when it was shown.
    const std::string& ShownMessage() const { return *m_shown; }

protected:
    int OnInvoked(wxMessageDialog* box) const override
    {
        *m_shown = Utf8(box->GetMessage());
        EXPECT_EQ(Utf8(box->GetCaption()), m_caption) << "message: " << *m_shown;
        EXPECT_EQ(box->GetMessageDialogStyle(), m_style) << "message: " << *m_shown;
        if (m_message) {
            EXPECT_EQ(*m_shown, *m_message);
        }
        return wxID_OK;
    }

    wxString GetDefaultDescription() const override
    {
        return wxString::FromUTF8("message box \"" + m_caption + "\"" + (m_message ? ": " + *m_message : ""));
    }

private:
    std::string m_caption;
    long m_style;
    std::optional<std::string> m_message;
    std::shared_ptr<std::string> m_shown;
};

// The error box of a failed load.
inline ExpectMessageBox ExpectErrorBox(const std::string& message)
{
    return ExpectMessageBox("错误", wxOK | wxICON_ERROR, message);
}

// A file dialog in which a person picks `path` and presses OK (or leaves with `answer`).
// GTK's chooser takes the new selection only once the event loop has run, so the
// expectation yields until the dialog reports the path. `beforeAnswer` runs after the
// choice is made and before the dialog returns.
class ExpectFileChoice : public wxExpectModalBase<wxFileDialog, ExpectFileChoice> {
public:
    explicit ExpectFileChoice(std::string path, int answer = wxID_OK, std::function<void()> beforeAnswer = {})
        : m_path(std::move(path)), m_answer(answer), m_beforeAnswer(std::move(beforeAnswer)),
          m_shown(std::make_shared<wxFileDialog*>(nullptr))
    {
    }

    // The dialog that was shown, or null.
    wxFileDialog* ShownDialog() const { return *m_shown; }

protected:
    int OnInvoked(wxFileDialog* dialog) const override
    {
        *m_shown = dialog;
        if (m_answer == wxID_OK)
            Choose(dialog);
        if (m_beforeAnswer)
            m_beforeAnswer();
        return m_answer;
    }

private:
    void Choose(wxFileDialog* dialog) const
    {
        const wxString path = wxString::FromUTF8(m_path);
        dialog->SetPath(path);
        wxStopWatch waited;
        while (dialog->GetPath() != path && waited.Time() < 10000) {
            wxTheApp->Yield(true);
            wxMilliSleep(5);
        }
        EXPECT_EQ(Utf8(dialog->GetPath()), m_path) << "the file chooser never selected the file";
    }

    std::string m_path;
    int m_answer;
    std::function<void()> m_beforeAnswer;
    std::shared_ptr<wxFileDialog*> m_shown;
};
