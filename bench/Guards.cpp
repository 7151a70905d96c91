// The modal-dialog hook and assertion handler behind InstallFailFastGuards.
#include "Guards.h"

#include <cstdio>
#include <cstdlib>

#include <wx/debug.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

namespace {

class FailOnModal : public wxModalDialogHook {
protected:
    int Enter(wxDialog* dialog) override
    {
        wxString text = dialog->GetTitle();
        if (const auto* box = dynamic_cast<wxMessageDialogBase*>(dialog))
            text << ": " << box->GetMessage();
        std::fprintf(stderr, "quarrytide-bench: a modal dialog opened (%s); stopping\n", text.utf8_str().data());
        std::fflush(stderr);
        std::_Exit(3);
    }
};

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
{
    std::fprintf(stderr, "quarrytide-bench: assertion %s failed in %s (%s:%d): %s\n", cond.utf8_str().data(),
                 func.utf8_str().data(), file.utf8_str().data(), line, msg.utf8_str().data());
    std::fflush(stderr);
    std::_Exit(3);
}

}  // namespace

void InstallFailFastGuards()
{
    // Never destroyed: it must outlast every window, including those closed at exit.
    auto* hook = new FailOnModal;
    hook->Register();
    wxSetAssertHandler(FailOnAssert);
}
