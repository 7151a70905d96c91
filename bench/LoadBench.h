// Loads one generated table through the viewer's real Open path, again and again, and times
// it, its steps, the bare read of its bytes, the repaint at the last row and the label search.
#pragma once

#include <array>
#include <cstdint>

#include "InputGenerator.h"
#include "Samples.h"

class QRBEditor;
class RecordingStatusBar;

// What one load of one table gave; times in milliseconds, memory in bytes.
enum Measure : std::size_t {
    kLoad,      // FileReader::Open, whole
    kLoadCpu,   // the processor time this process spent in it (less than kLoad when others compete)
    kRead,      // from Open to "正在创建列表...": the file's bytes, header and descriptors
    kDecode,    // to "正在匹配标签...": checking and indexing rows, the grid's table
    kNaming,    // to "正在调整表格...": row names from the catalogue
    kColumns,   // to "50%": column widths
    kRows,      // to "读取文件完成!": row heights
    kFinish,    // to the end of Open: the batch's end
    kReset,     // emptying the viewer of the previous load, before Open (not part of kLoad)
    kPaint,     // the first paint after Open returns
    kFloor,     // reading the file's bytes into a fresh buffer, nothing else
    kPeak,      // peak resident memory over the empty window's
    kScroll,    // to the last row and repainted
    kSearchLast,// search for the last row's label from row 0
    kSearchNone,// search for a label that no row has
    kMeasureCount
};

// One run's figures; for kLoad and its steps also the part spent repainting the status bar.
// For the steps also the resident memory at their end and its peak so far, over the empty window's.
struct RunFigures {
    std::array<double, kMeasureCount> value{};
    std::array<double, kMeasureCount> statusBar{};
    std::array<double, kMeasureCount> residentAfter{};
    std::array<double, kMeasureCount> peakAfter{};
};

struct InputResult {
    TableFile table;
    std::uint64_t catalogueBytes = 0;
    std::array<Samples, kMeasureCount> runs;  // the timed runs
    std::array<Samples, kMeasureCount> statusBarRuns;
    std::array<Samples, kMeasureCount> residentAfterRuns;
    std::array<Samples, kMeasureCount> peakAfterRuns;
    RunFigures warmUp;       // the first run, not among them
    bool peakPerRun = true;  // false: peaks are since process start
};

class LoadBench {
public:
    LoadBench(QRBEditor& app, RecordingStatusBar& statusBar);

    // Print each load's step boundaries on the monotonic clock (as `perf record -k mono` stamps
    // its samples), so that a profile can be cut into steps with `perf report --time`.
    void PrintStepClock(bool print) { m_printStepClock = print; }

    // The empty window's resident memory, taken when the bench starts.
    std::uint64_t EmptyWindowMemory() const { return m_emptyMemory; }

    // `runs` loads, the first of them the warm-up. Exits the process when a load goes wrong.
    InputResult Run(const TableFile& table, const CatalogueFile& catalogue, int runs);

private:
    RunFigures MeasureOnce(const TableFile& table, const CatalogueFile& catalogue, bool& peakPerRun);
    void TimeLoad(const TableFile& table, RunFigures& out);
    void TimeScroll(RunFigures& out);
    void TimeSearches(const CatalogueFile& catalogue, RunFigures& out);
    void CheckLoaded(const TableFile& table, const CatalogueFile& catalogue);
    void PaintNow();

    QRBEditor& m_app;
    RecordingStatusBar& m_statusBar;
    std::uint64_t m_emptyMemory = 0;
    long m_paints = 0;
    bool m_printStepClock = false;
};
