// quarrytide-bench: generates tables and a string catalogue, then loads each table through the
// viewer's real window and loader and prints how long every step took and how much memory it used.
// Options: --quick (small inputs, 3 runs), --runs N, --only ROWSxCOLUMNS, --keep (keep the inputs),
// --step-clock (print each load's step boundaries on the monotonic clock, for cutting a profile).
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/init.h>

#include "FileReader.h"
#include "Guards.h"
#include "InputGenerator.h"
#include "LoadBench.h"
#include "Machine.h"
#include "MainFrame.h"
#include "PhaseRecorder.h"
#include "QRBEditor.h"
#include "Report.h"

namespace {

constexpr std::uint64_t kSeed = 0x51A7'7E5Dull;

struct Options {
    bool quick = false;
    bool keep = false;
    bool stepClock = false;
    int runs = 5;
    std::string only;
};

[[noreturn]] void Usage(const char* program)
{
    std::fprintf(stderr, "usage: %s [--quick] [--runs N (2 or more)] [--only ROWSxCOLUMNS] [--keep] [--step-clock]\n", program);
    std::exit(2);
}

Options ParseOptions(int argc, char** argv)
{
    Options options;
    bool runsGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quick") {
            options.quick = true;
        } else if (arg == "--keep") {
            options.keep = true;
        } else if (arg == "--step-clock") {
            options.stepClock = true;
        } else if (arg == "--runs" && i + 1 < argc) {
            options.runs = std::atoi(argv[++i]);
            runsGiven = true;
        } else if (arg == "--only" && i + 1 < argc) {
            options.only = argv[++i];
        } else {
            Usage(argv[0]);
        }
    }
    if (options.quick && !runsGiven)
        options.runs = 3;
    if (options.runs < 2)
        Usage(argv[0]);
    return options;
}

std::vector<TableShape> Inputs(const Options& options)
{
    const std::uint32_t scale = options.quick ? 10 : 1;
    std::vector<TableShape> all = {
        {"items.ext", false, 20000 / scale, 80},
        {"items.qrb", true, 20000 / scale, 80},
        {"quests.qrb", true, 200000 / scale, 80},
        {"drops.ext", false, 1000000 / scale, 20},
    };
    std::vector<TableShape> chosen;
    for (const TableShape& shape : all) {
        if (options.only.empty() || options.only == std::to_string(shape.rows) + "x" + std::to_string(shape.columns))
            chosen.push_back(shape);
    }
    return chosen;
}

std::string MakeFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/quarrytide-bench-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("quarrytide-bench: mkdtemp");
        std::exit(1);
    }
    return pattern;
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The viewer as the program starts it; false when there is no display.
bool StartViewer(char* program)
{
    int argc = 1;
    char* argv[] = {program, nullptr};
    wxApp::SetInstance(new QRBEditor());
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "quarrytide-bench: cannot initialise the toolkit (is there a display?)\n");
        return false;
    }
    InstallFailFastGuards();
    if (!wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "quarrytide-bench: the viewer did not start\n");
        wxEntryCleanup();
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);
    const std::vector<TableShape> shapes = Inputs(options);
    if (shapes.empty())
        Usage(argv[0]);

    const std::string folder = MakeFolder();
    std::printf("Generating inputs in %s ...\n", folder.c_str());
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const std::uint32_t entries = options.quick ? 15000 : 150000;
    const CatalogueFile catalogue = WriteCatalogue(folder, entries, kSeed);
    std::vector<TableFile> tables;
    for (std::size_t i = 0; i < shapes.size(); ++i)
        tables.push_back(WriteTable(folder, shapes[i], catalogue, kSeed + 1 + i));
    std::printf("... done in %.1f s\n", SecondsSince(start));

    const std::string home = std::filesystem::current_path().string();
    if (!StartViewer(argv[0]))
        return 1;
    // The loader reads uistring.xml from the working directory.
    if (chdir(folder.c_str()) != 0) {
        std::perror("quarrytide-bench: chdir");
        return 1;
    }
    auto& app = *static_cast<QRBEditor*>(wxTheApp);
    RecordingStatusBar* statusBar = RecordingStatusBar::InstallOn(*app.m_mainFrame);
    app.m_mainFrame->m_statusBar = statusBar;
    LoadBench bench(app, *statusBar);
    bench.PrintStepClock(options.stepClock);

    std::vector<InputResult> results;
    PrintLegend(options.runs);
    for (const TableFile& table : tables) {
        results.push_back(bench.Run(table, catalogue, options.runs));
        PrintDetails(results.back());
        std::fflush(stdout);
    }
    const RunConditions conditions{MachineDescription(), static_cast<double>(bench.EmptyWindowMemory()),
                                   options.runs - 1, entries};
    PrintSummary(results, conditions);

    app.m_fileReader->Reset();
    if (chdir(home.c_str()) != 0)
        std::perror("quarrytide-bench: chdir");
    if (options.keep)
        std::printf("\nInputs kept in %s\n", folder.c_str());
    else
        std::filesystem::remove_all(folder);
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
