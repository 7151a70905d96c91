// Construction of the main window and its commands (the search is in RowSearchCommand.cpp).
#include "MainFrame.h"

#include <wx/artprov.h>
#include <wx/msgdlg.h>

#include "../table/FileReader.h"
#include "../table/TableGrid.h"
#include "AppIcon.h"
#include "Identifiers.h"
#include "ProgressStatusBar.h"
#include "QRBEditor.h"

namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 480;

#if defined(__clang__)
#define QRB_COMPILER "Clang " __clang_version__
#elif defined(__GNUC__)
#define QRB_COMPILER "GCC " __VERSION__
#elif defined(_MSC_VER)
#define QRB_COMPILER "Microsoft Visual C++ " wxSTRINGIZE(_MSC_VER)
#else
#define QRB_COMPILER "an unknown compiler"
#endif

#if defined(_WIN32)
#define QRB_SYSTEM "Microsoft Windows"
#elif defined(__linux__)
#define QRB_SYSTEM "Linux"
#elif defined(__APPLE__)
#define QRB_SYSTEM "macOS"
#else
#define QRB_SYSTEM "an unknown system"
#endif

#if defined(__x86_64__) || defined(_M_X64)
#define QRB_MACHINE "x86_64"
#elif defined(__aarch64__) || defined(_M_ARM64)
#define QRB_MACHINE "aarch64"
#elif defined(__i386__) || defined(_M_IX86)
#define QRB_MACHINE "x86"
#else
#define QRB_MACHINE "unknown machine"
#endif

}  // namespace

MainFrame::MainFrame(QRBEditor* app, wxWindow* parent) : m_app(app)
{
    Create(parent, wxID_ANY, L"Quarrytide二维表查看器器V2.0", wxDefaultPosition, wxDefaultSize,
           wxDEFAULT_FRAME_STYLE, "wxID_ANY");
    SetClientSize(kClientWidth, kClientHeight);
    SetIcon(LoadAppIcon());
    CreateGridControl();
    CreateMenus();
    CreateStatusBarFields();
    CreateTools();
    CreateDialogs();
    BindCommands();
    // On GTK the bars take their room from the client area: give it its size again.
    SetClientSize(kClientWidth, kClientHeight);
}

MainFrame::~MainFrame() = default;

void MainFrame::CreateGridControl()
{
    m_gridExt = new TableGrid(this, ID_GRIDEXT, wxDefaultPosition, wxDefaultSize, wxBORDER_SIMPLE, "ID_GRIDEXT");
    m_gridExt->CreateGrid(1, 1, wxGrid::wxGridSelectCells);
    m_gridExt->SetFocus();
    m_gridExt->EnableDragColMove(false);
    m_gridExt->EnableDragRowSize(false);
    m_gridExt->SetUseNativeColLabels(true);
    m_gridExt->EnableEditing(true);
    m_gridExt->EnableGridLines(true);
    m_gridExt->SetColLabelSize(20);
    m_gridExt->SetDefaultCellFont(m_gridExt->GetFont());
    m_gridExt->SetDefaultCellTextColour(m_gridExt->GetForegroundColour());
}

void MainFrame::CreateMenus()
{
    auto* menuBar = new wxMenuBar();
    auto* fileMenu = new wxMenu();
    auto* helpMenu = new wxMenu();
    m_menuItemOpen = new wxMenuItem(fileMenu, ID_MENUITEMOPEN, L"打开\tCtrl+O", L"打开文件", wxITEM_NORMAL);
    fileMenu->Append(m_menuItemOpen);
    m_menuItemSave = new wxMenuItem(fileMenu, ID_MENUITEMSAVE, L"保存\tCtrl+S", L"保存文件", wxITEM_NORMAL);
    fileMenu->Append(m_menuItemSave);
    m_menuItemSaveAs = new wxMenuItem(fileMenu, ID_MENUITEMSAVEAS, L"另存为", L"另存为文件", wxITEM_NORMAL);
    fileMenu->Append(m_menuItemSaveAs);
    fileMenu->AppendSeparator();
    fileMenu->Append(new wxMenuItem(fileMenu, ID_MENUITEMEXIT, L"退出\tAlt-F4", L"退出程序", wxITEM_NORMAL));
    helpMenu->Append(new wxMenuItem(helpMenu, ID_MENUITEMABOUT, L"关于\tF1", L"关于本程序", wxITEM_NORMAL));
    menuBar->Append(fileMenu, L"文件");
    menuBar->Append(helpMenu, L"帮助");
    SetMenuBar(menuBar);
    menuBar->Enable(ID_MENUITEMSAVE, false);
    menuBar->Enable(ID_MENUITEMSAVEAS, false);
}

void MainFrame::CreateStatusBarFields()
{
    m_statusBar = new ProgressStatusBar(this, ID_STATUSBAR, 0, "ID_STATUSBAR");
    const int widths[3] = {-5, -3, -2};
    m_statusBar->SetFieldsCount(3, widths);
    const int styles[3] = {wxSB_NORMAL, wxSB_NORMAL, wxSB_NORMAL};
    m_statusBar->SetStatusStyles(3, styles);
    SetStatusBar(m_statusBar);
}

void MainFrame::CreateTools()
{
    m_toolBar = new wxToolBar(this, ID_TOOLBAR, wxDefaultPosition, wxDefaultSize,
                              wxTB_HORIZONTAL | wxTB_FLAT | wxTB_TEXT | wxTB_NODIVIDER | wxTB_HORZ_LAYOUT | wxBORDER_NONE,
                              "ID_TOOLBAR");
    auto art = [](const wxArtID& id) { return wxArtProvider::GetBitmap(id, wxART_TOOLBAR, wxDefaultSize); };
    m_toolBar->AddSeparator();
    m_toolOpen = m_toolBar->AddTool(ID_TOOLOPEN, L"打开", art(wxART_FILE_OPEN), wxNullBitmap, wxITEM_NORMAL,
                                    L"打开文件", L"打开EXT文件");
    m_toolSave = m_toolBar->AddTool(ID_TOOLSAVE, L"保存", art(wxART_FILE_SAVE), wxNullBitmap, wxITEM_NORMAL,
                                    L"保存文件", L"保存文件到硬盘");
    m_toolSaveAs = m_toolBar->AddTool(ID_TOOLSAVEAS, L"另存为", art(wxART_FILE_SAVE_AS), wxNullBitmap,
                                      wxITEM_NORMAL, L"另存文件", L"另存为新文件到硬盘");
    m_toolBar->AddSeparator();
    m_textCtrlSearch = new wxTextCtrl(m_toolBar, ID_TEXTCTRLSEARCH, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                      wxTE_PROCESS_ENTER, wxDefaultValidator, "ID_TEXTCTRLSEARCH");
    m_toolBar->AddControl(m_textCtrlSearch, wxEmptyString);
    m_toolSearch = m_toolBar->AddTool(ID_TOOLSEARCH, L"搜索", art(wxART_FIND), wxNullBitmap, wxITEM_NORMAL,
                                      L"搜索标签", L"在标签中搜索内容(必须全字匹配)");
    m_toolBar->AddSeparator();
    m_toolBar->Realize();
    m_toolBar->EnableTool(ID_TOOLSAVE, false);
    m_toolBar->EnableTool(ID_TOOLSAVEAS, false);
    SetToolBar(m_toolBar);
}

void MainFrame::CreateDialogs()
{
    m_openDialog = new wxFileDialog(this, L"打开", wxEmptyString, wxEmptyString,
                                    "Quarrytide QRB Files (*.ext;*.qrb)|*.ext;*.qrb", wxFD_OPEN | wxFD_FILE_MUST_EXIST,
                                    wxDefaultPosition, wxDefaultSize, "wxFileDialog");
    m_saveAsDialog = new wxFileDialog(this, L"另存为", wxEmptyString, wxEmptyString, wxFileSelectorDefaultWildcardStr,
                                      wxFD_SAVE, wxDefaultPosition, wxDefaultSize, "wxFileDialog");
}

void MainFrame::BindCommands()
{
    Bind(wxEVT_MENU, &MainFrame::OnOpen, this, ID_MENUITEMOPEN);
    Bind(wxEVT_MENU, &MainFrame::OnSave, this, ID_MENUITEMSAVE);
    Bind(wxEVT_MENU, &MainFrame::OnSaveAs, this, ID_MENUITEMSAVEAS);
    Bind(wxEVT_MENU, &MainFrame::OnQuit, this, ID_MENUITEMEXIT);
    Bind(wxEVT_MENU, &MainFrame::OnAbout, this, ID_MENUITEMABOUT);
    Bind(wxEVT_MENU, &MainFrame::OnOpen, this, ID_TOOLOPEN);
    Bind(wxEVT_MENU, &MainFrame::OnSave, this, ID_TOOLSAVE);
    Bind(wxEVT_MENU, &MainFrame::OnSaveAs, this, ID_TOOLSAVEAS);
    Bind(wxEVT_TEXT_ENTER, &MainFrame::OnSearch, this, ID_TEXTCTRLSEARCH);
    Bind(wxEVT_MENU, &MainFrame::OnSearch, this, ID_TOOLSEARCH);
}

void MainFrame::OnOpen(wxCommandEvent&)
{
    if (m_openDialog->ShowModal() != wxID_OK)
        return;
    const wxString fileName = m_openDialog->GetFilename();
    const wxString path = m_openDialog->GetPath();
    m_app->m_fileReader->Open(path, fileName);
}

// The viewer only reads: both commands stay disabled.
void MainFrame::OnSave(wxCommandEvent&) {}
void MainFrame::OnSaveAs(wxCommandEvent&) {}

void MainFrame::OnQuit(wxCommandEvent&)
{
    Close();
}

wxString MainFrame::AboutText()
{
    wxString text;
    text << L"Quarrytide二维表查看器器V2.0\n";
    text << L"查看Quarrytide游戏的二维数据表文件(*.ext, *.qrb)\n";
    text << wxString('-', 40) << "\n";
    text << L"Quarrytide表格查看器项目, 问题请提交到项目的问题跟踪系统\n";
    text << QRB_COMPILER << "\t" << wxVERSION_STRING << "\n";
    text << "on " QRB_SYSTEM " " QRB_MACHINE "\n";
    return text;
}

void MainFrame::OnAbout(wxCommandEvent&)
{
    wxMessageBox(AboutText(), L"关于", wxOK | wxCENTRE, nullptr);
}
