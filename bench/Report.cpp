// Plain-text details and a Markdown summary.
#include "Report.h"

#include <cstdio>
#include <string>

namespace {

const double kMb = 1e6;

std::string Grouped(std::uint64_t value)
{
    std::string digits = std::to_string(value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), ",");
    return digits;
}

std::string Name(const TableFile& table)
{
    return Grouped(table.shape.rows) + " x " + std::to_string(table.shape.columns) + " (" +
           (table.shape.fixedLayout ? "fixed" : "compact") + ")";
}

// "812 ms" or "1.23 s"; short times keep a decimal.
std::string Duration(double ms)
{
    char text[32];
    if (ms >= 1000)
        std::snprintf(text, sizeof(text), "%.2f s", ms / 1000);
    else if (ms >= 100)
        std::snprintf(text, sizeof(text), "%.0f ms", ms);
    else
        std::snprintf(text, sizeof(text), "%.1f ms", ms);
    return text;
}

std::string Range(const Samples& samples)
{
    return Duration(samples.Min()) + " – " + Duration(samples.Max());
}

void Line(const char* what, const InputResult& result, Measure measure)
{
    const Samples& samples = result.runs[measure];
    std::printf("  %-34s %10s   %-22s %10s", what, Duration(samples.Median()).c_str(), Range(samples).c_str(),
                Duration(result.warmUp.value[measure]).c_str());
    if (measure == kLoad || (measure >= kRead && measure <= kFinish))
        std::printf("   %10s", Duration(result.statusBarRuns[measure].Median()).c_str());
    if (measure == kReset)
        std::printf("   %10s", "");
    if (measure == kReset || (measure >= kRead && measure <= kFinish))
        std::printf("   %7.1f MB  %7.1f MB", result.residentAfterRuns[measure].Median() / kMb,
                    result.peakAfterRuns[measure].Median() / kMb);
    std::printf("\n");
}

double Inputs(const InputResult& result)
{
    return static_cast<double>(result.table.bytes + result.catalogueBytes);
}

}  // namespace

void PrintLegend(int runs)
{
    std::printf("\nEach input is loaded %d times with FileReader::Open into the viewer's main window; the first load "
                "is a warm-up, shown apart and left out of the median and range. Steps are timed by the status texts "
                "that start them; \"status bar\" is the part of a step spent repainting the status bar for its "
                "texts and percentages; \"resident\" and \"peak\" are the memory at the step's end and its peak "
                "so far, both over the empty window's (medians; with Reset: when the load starts). Before each load the viewer is emptied (Reset, timed apart) and freed "
                "memory is returned to the system.\n",
                runs);
}

void PrintDetails(const InputResult& result)
{
    const TableFile& table = result.table;
    std::printf("\n%s, %s: %.1f MB, %s of %s rows named; catalogue %.1f MB\n", Name(table).c_str(),
                table.shape.fileName.c_str(), table.bytes / kMb, Grouped(table.namedRows).c_str(),
                Grouped(table.shape.rows).c_str(), result.catalogueBytes / kMb);
    std::printf("  %-34s %10s   %-22s %10s   %10s   %10s  %10s\n", "", "median", "min – max", "warm-up", "status bar",
                "resident", "peak");
    Line("whole load (FileReader::Open)", result, kLoad);
    Line("  processor time of the process", result, kLoadCpu);
    Line("  read (file, header, descriptors)", result, kRead);
    Line("  decode + index rows", result, kDecode);
    Line("  naming rows (catalogue)", result, kNaming);
    Line("  column sizing", result, kColumns);
    Line("  row sizing", result, kRows);
    Line("  end of batch", result, kFinish);
    Line("first paint after the load", result, kPaint);
    Line("Reset of the last table, repaint", result, kReset);
    Line("floor: bare read of the file", result, kFloor);
    Line("scroll to last row + repaint", result, kScroll);
    Line("search: last row's label", result, kSearchLast);
    Line("search: no row's label", result, kSearchNone);
    const Samples& peak = result.runs[kPeak];
    std::printf("  %-34s %7.1f MB   %.1f – %.1f MB%s; %.2fx table + catalogue\n", "peak memory over empty window",
                peak.Median() / kMb, peak.Min() / kMb, peak.Max() / kMb,
                result.peakPerRun ? "" : " (since start: peak could not be reset)", peak.Median() / Inputs(result));
}

void PrintSummary(const std::vector<InputResult>& results, const RunConditions& conditions)
{
    std::printf("\n| Input (rows x columns) | File size | Median load | Range | Load / floor | Peak RSS over empty "
                "window | Scroll to last row | Search (last row) |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const InputResult& result : results) {
        const double load = result.runs[kLoad].Median();
        const double floor = result.runs[kFloor].Median();
        const double peak = result.runs[kPeak].Median();
        std::printf("| %s | %.1f MB | %s | %s | %.1fx (%s) | %.0f MB (%.2fx file + catalogue) | %s | %s |\n",
                    Name(result.table).c_str(), result.table.bytes / kMb, Duration(load).c_str(),
                    Range(result.runs[kLoad]).c_str(), floor > 0 ? load / floor : 0.0, Duration(floor).c_str(),
                    peak / kMb, peak / Inputs(result), Duration(result.runs[kScroll].Median()).c_str(),
                    Duration(result.runs[kSearchLast].Median()).c_str());
    }
    std::printf("\nMedians of %d runs after one warm-up run per input; row names from a %.1f MB uistring.xml of %s "
                "entries; the empty window is %.0f MB resident. Floor: reading the file's bytes into a fresh buffer as the loader does. "
                "Machine: %s.\n",
                conditions.timedRuns, results.empty() ? 0.0 : results.front().catalogueBytes / kMb,
                Grouped(conditions.catalogueEntries).c_str(), conditions.emptyWindowBytes / kMb,
                conditions.machine.c_str());
}
