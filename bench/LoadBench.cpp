// One load after another through FileReader::Open, with the checks that make the times
// trustworthy: the table is all there, its rows are named, each repaint really painted.
#include "LoadBench.h"

#include <X11/Xlib.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <wx/utils.h>

#include "BareRead.h"
#include "FileReader.h"
#include "Machine.h"
#include "MainFrame.h"
#include "PhaseRecorder.h"
#include "QRBEditor.h"
#include "TableGridModel.h"

namespace {

double Milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// Drawing goes to the X server as requests: a paint is done when the server has carried them out.
void WaitForServer()
{
    const wxDisplayInfo display = wxGetDisplayInfo();
    if (display.type == wxDisplayX11 && display.dpy)
        XSync(static_cast<Display*>(display.dpy), False);
}

[[noreturn]] void Fail(const wxString& message)
{
    std::fprintf(stderr, "quarrytide-bench: %s\n", message.utf8_str().data());
    std::fflush(stderr);
    std::_Exit(2);
}

// The loader's writing of `text` into `field`, at or after change `from`; `from` moves past it.
const StatusChange& FindChange(const std::vector<StatusChange>& changes, int field, const wxString& text,
                               std::size_t& from)
{
    for (std::size_t i = from; i < changes.size(); ++i) {
        if (changes[i].field == field && changes[i].text == text) {
            from = i + 1;
            return changes[i];
        }
    }
    wxString seen;
    for (const StatusChange& change : changes)
        seen << "\n  [" << change.field << "] " << change.text;
    Fail(wxString::Format("the load never wrote \"%s\" into status field %d; it wrote:%s", text, field, seen));
}

double ProcessCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double MonotonicSeconds(Clock::time_point when)
{
    return std::chrono::duration<double>(when.time_since_epoch()).count();
}

// Where one step of a load begins (and the previous one ends).
struct Boundary {
    Clock::time_point when;
    ResidentMemory memory;
};
constexpr std::size_t kSteps = kFinish - kRead + 1;
using Boundaries = std::array<Boundary, kSteps + 1>;

void PrintSteps(const TableFile& table, const Boundaries& bounds)
{
    static const char* const kNames[kSteps] = {"read", "decode", "naming", "columns", "rows", "finish"};
    std::printf("steps %s", table.shape.fileName.c_str());
    for (std::size_t step = 0; step < kSteps; ++step)
        std::printf(" %s=%.6f,%.6f", kNames[step], MonotonicSeconds(bounds[step].when),
                    MonotonicSeconds(bounds[step + 1].when));
    std::printf("\n");
}

}  // namespace

LoadBench::LoadBench(QRBEditor& app, RecordingStatusBar& statusBar) : m_app(app), m_statusBar(statusBar)
{
    wxGrid& grid = *m_app.m_mainFrame->m_gridExt;
    const auto count = [this](wxPaintEvent& event) {
        ++m_paints;
        event.Skip();
    };
    grid.GetGridWindow()->Bind(wxEVT_PAINT, count);
    PaintNow();
    m_emptyMemory = ProcessMemory("VmRSS");
}

void LoadBench::PaintNow()
{
    m_app.m_mainFrame->Update();
    wxYield();
    WaitForServer();
}

InputResult LoadBench::Run(const TableFile& table, const CatalogueFile& catalogue, int runs)
{
    InputResult result;
    result.table = table;
    result.catalogueBytes = catalogue.bytes;
    for (int run = 0; run < runs; ++run) {
        const RunFigures measured = MeasureOnce(table, catalogue, result.peakPerRun);
        if (run == 0) {
            result.warmUp = measured;
            continue;
        }
        for (std::size_t k = 0; k < kMeasureCount; ++k) {
            result.runs[k].Add(measured.value[k]);
            result.statusBarRuns[k].Add(measured.statusBar[k]);
            result.residentAfterRuns[k].Add(measured.residentAfter[k]);
            result.peakAfterRuns[k].Add(measured.peakAfter[k]);
        }
    }
    return result;
}

RunFigures LoadBench::MeasureOnce(const TableFile& table, const CatalogueFile& catalogue, bool& peakPerRun)
{
    RunFigures out;
    const Clock::time_point resetStart = Clock::now();
    m_app.m_fileReader->Reset();
    PaintNow();
    out.value[kReset] = Milliseconds(Clock::now() - resetStart);
    // Hand freed memory back to the system before the floor and before the load, so that
    // both write into pages never touched (as a fresh process would) and each peak starts
    // from the same ground.
    malloc_trim(0);
    out.value[kFloor] = TimeBareRead(table.path);
    malloc_trim(0);
    peakPerRun = ResetPeakMemory() && peakPerRun;

    TimeLoad(table, out);
    const Clock::time_point paintStart = Clock::now();
    PaintNow();
    out.value[kPaint] = Milliseconds(Clock::now() - paintStart);
    out.value[kPeak] = static_cast<double>(ProcessMemory("VmHWM")) - static_cast<double>(m_emptyMemory);

    CheckLoaded(table, catalogue);
    TimeScroll(out);
    TimeSearches(catalogue, out);
    return out;
}

void LoadBench::TimeLoad(const TableFile& table, RunFigures& out)
{
    m_statusBar.Clear();
    const ResidentMemory before = ReadResidentMemory();
    const double cpuStart = ProcessCpuMilliseconds();
    const Clock::time_point start = Clock::now();
    m_app.m_fileReader->Open(wxString::FromUTF8(table.path), wxString::FromUTF8(table.shape.fileName));
    const Clock::time_point end = Clock::now();
    out.value[kLoadCpu] = ProcessCpuMilliseconds() - cpuStart;
    const ResidentMemory after = ReadResidentMemory();

    // The steps kRead..kFinish, in order, each from its boundary to the next.
    const std::vector<StatusChange>& changes = m_statusBar.Changes();
    std::size_t at = 0;
    const auto boundary = [&](int field, const wchar_t* text) {
        const StatusChange& change = FindChange(changes, field, text, at);
        return Boundary{change.when, change.memory};
    };
    const Boundaries bounds = {Boundary{start, before},
                               boundary(1, L"正在创建列表..."),
                               boundary(1, L"正在匹配标签..."),
                               boundary(1, L"正在调整表格..."),
                               boundary(2, L"50%"),
                               boundary(0, L"读取文件完成!"),
                               Boundary{end, after}};
    if (m_printStepClock)
        PrintSteps(table, bounds);
    out.value[kLoad] = Milliseconds(end - start);
    // The ground each load starts from, shown with the Reset before it.
    out.residentAfter[kReset] = static_cast<double>(before.current) - static_cast<double>(m_emptyMemory);
    out.peakAfter[kReset] = static_cast<double>(before.peak) - static_cast<double>(m_emptyMemory);
    for (std::size_t step = 0; step < kSteps; ++step) {
        const Boundary& stepEnd = bounds[step + 1];
        out.value[kRead + step] = Milliseconds(stepEnd.when - bounds[step].when);
        out.residentAfter[kRead + step] = static_cast<double>(stepEnd.memory.current) - static_cast<double>(m_emptyMemory);
        out.peakAfter[kRead + step] = static_cast<double>(stepEnd.memory.peak) - static_cast<double>(m_emptyMemory);
    }
    for (const StatusChange& change : changes) {
        std::size_t step = 0;
        while (step + 1 < kSteps && change.when >= bounds[step + 1].when)
            ++step;
        out.statusBar[kRead + step] += Milliseconds(change.repaint);
        out.statusBar[kLoad] += Milliseconds(change.repaint);
    }
}

void LoadBench::CheckLoaded(const TableFile& table, const CatalogueFile& catalogue)
{
    MainFrame& frame = *m_app.m_mainFrame;
    wxGrid& grid = *frame.m_gridExt;
    const wxString dimensions = wxString::Format("%u * %u", table.shape.rows, table.shape.columns);
    if (grid.GetNumberRows() != static_cast<int>(table.shape.rows) ||
        grid.GetNumberCols() != static_cast<int>(table.shape.columns) + 1 || frame.GetStatusBar()->GetStatusText(2) != dimensions)
        Fail(wxString::Format("%s loaded as %d x %d, status \"%s\"", table.shape.fileName, grid.GetNumberRows(),
                              grid.GetNumberCols(), frame.GetStatusBar()->GetStatusText(2)));
    auto* model = dynamic_cast<TableGridModel*>(grid.GetTable());
    if (!model)
        Fail("the grid's table is not the viewer's model");
    std::uint32_t named = 0;
    for (int row = 0; row < grid.GetNumberRows(); ++row)
        named += model->IsRowNamed(row) ? 1 : 0;
    if (named != table.namedRows)
        Fail(wxString::Format("%s: %u rows named, %u expected", table.shape.fileName, named, table.namedRows));
    if (table.shape.rows > 0 && grid.GetRowLabelValue(grid.GetNumberRows() - 1) != wxString::FromUTF8(catalogue.lastContent))
        Fail(table.shape.fileName + ": the last row is not named by the catalogue's last entry");
}

void LoadBench::TimeScroll(RunFigures& out)
{
    wxGrid& grid = *m_app.m_mainFrame->m_gridExt;
    const int last = grid.GetNumberRows() - 1;
    if (last < 0)
        return;
    const long paintsBefore = m_paints;
    const Clock::time_point start = Clock::now();
    grid.MakeCellVisible(last, 0);
    grid.Update();
    WaitForServer();
    out.value[kScroll] = Milliseconds(Clock::now() - start);
    if (m_paints == paintsBefore || !grid.IsVisible(last, 0, false))
        Fail("scrolling to the last row did not repaint it");
}

void LoadBench::TimeSearches(const CatalogueFile& catalogue, RunFigures& out)
{
    MainFrame& frame = *m_app.m_mainFrame;
    wxGrid& grid = *frame.m_gridExt;
    const int last = grid.GetNumberRows() - 1;
    if (last < 0)
        return;
    const auto search = [&](const wxString& text, int expectedRow) {
        grid.SetGridCursor(0, 0);
        grid.MakeCellVisible(0, 0);
        PaintNow();
        frame.m_textCtrlSearch->ChangeValue(text);
        wxCommandEvent event(wxEVT_MENU);
        const Clock::time_point start = Clock::now();
        frame.OnSearch(event);
        const double time = Milliseconds(Clock::now() - start);
        if (grid.GetGridCursorRow() != expectedRow)
            Fail(wxString::Format("the search for \"%s\" went to row %d, not %d", text, grid.GetGridCursorRow(), expectedRow));
        PaintNow();
        return time;
    };
    out.value[kSearchLast] = search(wxString::FromUTF8(catalogue.lastContent), last);
    out.value[kSearchNone] = search(L"没有这个名字", 0);
}
