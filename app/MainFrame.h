// The main window: menus, tool bar with the search box, status bar, the table grid and
// the file dialogs, with the Open, Save, Save As, Exit, About and search commands.
#pragma once

#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/grid.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

class QRBEditor;

class MainFrame : public wxFrame {
public:
    MainFrame(QRBEditor* app, wxWindow* parent);
    ~MainFrame() override;

    void OnOpen(wxCommandEvent& event);
    void OnSave(wxCommandEvent& event);
    void OnSaveAs(wxCommandEvent& event);
    void OnQuit(wxCommandEvent& event);
    void OnAbout(wxCommandEvent& event);
    void OnSearch(wxCommandEvent& event);

    // The about box's text, six lines each ending with a line feed.
    static wxString AboutText();

    QRBEditor* m_app;
    wxToolBarToolBase* m_toolSearch;
    wxToolBarToolBase* m_toolSaveAs;
    wxFileDialog* m_openDialog;
    wxMenuItem* m_menuItemOpen;
    wxGrid* m_gridExt;
    wxToolBarToolBase* m_toolOpen;
    wxTextCtrl* m_textCtrlSearch;
    wxMenuItem* m_menuItemSave;
    wxMenuItem* m_menuItemSaveAs;
    wxToolBar* m_toolBar;
    wxStatusBar* m_statusBar;
    wxToolBarToolBase* m_toolSave;
    wxFileDialog* m_saveAsDialog;

private:
    void CreateGridControl();
    void CreateMenus();
    void CreateStatusBarFields();
    void CreateTools();
    void CreateDialogs();
    void BindCommands();
};
