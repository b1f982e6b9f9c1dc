// The benchmark of the tool against two floors of our own (scripts/bench.sh runs it under Wine
// on a virtual display): start-up to an answering dialog and the dialog's memory for
// vortag.exe, floor 1 (the dialog alone) and floor 2 (the dialog plus the platform work the
// tool must do first); the wall time of a quiet change with the generator's designed pause
// taken out; the size and imports of vortag.exe. Runs of the four kinds are interleaved, in an
// order that changes every round, so that drift of the machine hits all of them alike. Prints
// one table with the goals the figures are read against.
//
//   vortag_bench.exe [--runs N] [--verbose] [--build-type NAME]

#include "app/FixedTexts.h"
#include "foundation/RegistryKey.h"
#include "tools/bench/GeneratorPause.h"
#include "tools/bench/Runs.h"
#include "tools/driver/DriverError.h"
#include "tools/driver/Files.h"
#include "tools/driver/PeFile.h"
#include "tools/driver/ToolState.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

using e2e::DeleteStoredIdentifier;
using e2e::StoredIdentifier;
using e2e::StoreIdentifier;

namespace {

const char kTool[] = "vortag.exe";
const char kFloor1[] = "vortag_floor1.exe";
const char kFloor2[] = "vortag_floor2.exe";
// Stored before the start-up runs, so that no generation pause lies in their figures.
const char kBenchIdentifier[] = "{B0E0C0DE-0000-4000-8000-000000000000-01DC0000-00000000}";

const double kStartupGoal = 1.05;     // tool / floor 2, medians
const double kMemoryGoal = 1.10;      // tool / floor 2, medians, each figure
const double kSizeGoalKiB = 300;

bool g_verbose = false;   // --verbose: every run's figures on stderr as it is measured

// Median and range of a set of figures.
struct Summary {
    double median = 0;
    double min = 0;
    double max = 0;
    size_t count = 0;
};

Summary Summarise(std::vector<double> values)
{
    Summary summary;
    summary.count = values.size();
    if (values.empty())
        return summary;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    summary.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    summary.min = values.front();
    summary.max = values.back();
    return summary;
}

std::string Show(const Summary& summary, const char* format = "%.1f")
{
    if (summary.count == 0)
        return "-";
    const std::string spec = std::string(format) + " (" + format + "-" + format + ")";
    return e2e::Format(spec.c_str(), summary.median, summary.min, summary.max);
}

// The ratio of two programs' figures, taken round by round: a[i] / b[i] are runs of the same
// round, seconds apart, so a slow spell of the machine (other work on it) slows both and
// cancels out of their ratio. The median of those ratios, and the range in which 95 of 100
// medians fall when the rounds are drawn again from themselves (a bootstrap of 2000 draws):
// how far the ratio could move on another run of the benchmark.
struct RatioEstimate {
    double ratio = 0;
    double low = 0;
    double high = 0;
};

RatioEstimate EstimateRatio(const std::vector<double>& a, const std::vector<double>& b)
{
    RatioEstimate estimate;
    std::vector<double> ratios;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (b[i] > 0)
            ratios.push_back(a[i] / b[i]);
    if (ratios.empty())
        return estimate;
    estimate.ratio = Summarise(ratios).median;
    std::mt19937 random(20240607);   // fixed: the same figures give the same range
    std::uniform_int_distribution<size_t> pick(0, ratios.size() - 1);
    const int draws = 2000;
    std::vector<double> medians;
    for (int i = 0; i < draws; ++i) {
        std::vector<double> drawn;
        for (size_t j = 0; j < ratios.size(); ++j)
            drawn.push_back(ratios[pick(random)]);
        medians.push_back(Summarise(drawn).median);
    }
    std::sort(medians.begin(), medians.end());
    estimate.low = medians[draws / 40];
    estimate.high = medians[draws - 1 - draws / 40];
    return estimate;
}

std::string Show(const RatioEstimate& estimate)
{
    if (estimate.ratio == 0)
        return "-";
    return e2e::Format("%.2fx (%.2f-%.2f)", estimate.ratio, estimate.low, estimate.high);
}

const char* Verdict(bool met)
{
    return met ? "MET" : "MISSED";
}

// The figures of one program's start-up runs.
struct StartupFigures {
    std::vector<double> answeredMs;
    std::vector<double> peakWorkingSetKiB;
    std::vector<double> privateKiB;

    void Add(const StartupRun& run)
    {
        answeredMs.push_back(run.answeredMs);
        peakWorkingSetKiB.push_back(run.memory.peakWorkingSet / 1024.0);
        privateKiB.push_back(run.memory.privateBytes / 1024.0);
    }
};

struct QuietFigures {
    std::vector<double> wallMs;
    std::vector<double> pauseMs;            // runs whose seed second is known
    std::vector<double> wallMinusPauseMs;
    std::vector<double> pauseShare;         // pause / wall, per cent
    int ambiguous = 0;
    int unreadable = 0;
};

struct Results {
    StartupFigures tool, floor1, floor2;
    QuietFigures quiet;
};

// Restores the identifier that was stored before the benchmark, or none.
class IdentifierKeeper {
public:
    IdentifierKeeper() : m_saved(StoredIdentifier()) {}
    ~IdentifierKeeper()
    {
        try {
            if (m_saved.empty())
                DeleteStoredIdentifier();
            else
                StoreIdentifier(m_saved);
        } catch (const e2e::DriverError& error) {
            std::fprintf(stderr, "the identifier stored before could not be put back: %s\n", error.what());
        }
    }
    IdentifierKeeper(const IdentifierKeeper&) = delete;
    IdentifierKeeper& operator=(const IdentifierKeeper&) = delete;

private:
    std::string m_saved;
};

void RunQuiet(const std::string& tool, const std::string& folder, QuietFigures& figures)
{
    const QuietRun run = MeasureQuiet(tool, folder);
    figures.wallMs.push_back(run.wallMs);
    const PauseFinding pause = FindPause(StoredIdentifier(), run.startUtcMs, run.endUtcMs);
    if (g_verbose) {
        // The stamp's distance from the start less the pause is the work before the pause: it
        // should vary little from run to run when the pause is drawn right.
        const std::string found =
            pause.outcome == PauseFinding::Known
                ? e2e::Format("%d ms (seed %u), stamp - start - pause %lld ms", pause.pauseMs, pause.second,
                              static_cast<long long>(pause.stampMs - run.startUtcMs - pause.pauseMs))
            : pause.outcome == PauseFinding::Ambiguous ? e2e::Format("ambiguous (%d seconds fit)", pause.candidates)
                                                        : std::string("no readable stamp");
        std::fprintf(stderr, "quiet    %7.1f ms  pause %s\n", run.wallMs, found.c_str());
    }
    if (pause.outcome == PauseFinding::Known) {
        figures.pauseMs.push_back(pause.pauseMs);
        figures.wallMinusPauseMs.push_back(run.wallMs - pause.pauseMs);
        figures.pauseShare.push_back(100.0 * pause.pauseMs / run.wallMs);
    } else if (pause.outcome == PauseFinding::Ambiguous) {
        ++figures.ambiguous;
    } else {
        ++figures.unreadable;
    }
}

// With --verbose, the run's figures on stderr as it is measured.
StartupRun Traced(const char* kind, const StartupRun& run)
{
    if (g_verbose)
        std::fprintf(stderr, "%-8s %7.1f ms (dialog seen at %7.1f)  peak working set %6zu KiB  private %6zu KiB\n",
                     kind, run.answeredMs, run.visibleMs, run.memory.peakWorkingSet / 1024,
                     run.memory.privateBytes / 1024);
    return run;
}

// The order of the four kinds of run in each of four rounds: every kind runs first, second,
// third and last once, and follows every other kind once (a balanced Latin square). A run can
// leave the machine warmer or busier for the next one (the quiet change starts the collector
// and ends just before); a plain rotation would let the same kind follow it nearly every time.
const int kOrders[4][4] = {{0, 1, 3, 2}, {1, 2, 0, 3}, {2, 3, 1, 0}, {3, 0, 2, 1}};
// And before each run the machine is left idle for a moment: under Wine a program's Unix
// process is still tearing down (X connection, mappings) after its Windows process has ended,
// and a start right after it is slowed by that, a start after the long quiet run is not.
const DWORD kSettleMs = 500;

// Every kind of run once, in the order of `round`.
void RunRound(int round, const e2e::ScratchFolder& suite, Results* results)
{
    Results scratch;
    Results& into = results ? *results : scratch;
    const std::string folder = suite.Path();
    const std::vector<std::function<void()>> kinds = {
        [&] { into.tool.Add(Traced("tool", MeasureStartup(suite.PathOf(kTool), folder, StoredIdentifier()))); },
        [&] { into.floor1.Add(Traced("floor 1", MeasureStartup(suite.PathOf(kFloor1), folder, ""))); },
        [&] { into.floor2.Add(Traced("floor 2", MeasureStartup(suite.PathOf(kFloor2), folder, StoredIdentifier()))); },
        [&] { RunQuiet(suite.PathOf(kTool), folder, into.quiet); },
    };
    for (int kind : kOrders[round % 4]) {
        Sleep(kSettleMs);
        kinds[static_cast<size_t>(kind)]();
    }
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : " ") + name;
    return text.empty() ? "none" : text;
}

void PrintRow(const std::string& figure, const std::string& tool, const std::string& floor1,
              const std::string& floor2, const std::string& ratio1, const std::string& ratio2,
              const std::string& goal, const std::string& verdict)
{
    std::printf("| %-33s | %-22s | %-20s | %-20s | %-19s | %-19s | %-17s | %-6s |\n", figure.c_str(), tool.c_str(),
                floor1.c_str(), floor2.c_str(), ratio1.c_str(), ratio2.c_str(), goal.c_str(), verdict.c_str());
}

// A figure of the three programs, with the tool's ratios to both floors and the verdict of
// the goal: the tool's figure at most `goal` times floor 2's.
void PrintComparedRow(const char* figure, const char* format, const std::vector<double>& tool,
                      const std::vector<double>& floor1, const std::vector<double>& floor2, double goal)
{
    const RatioEstimate toFloor2 = EstimateRatio(tool, floor2);
    PrintRow(figure, Show(Summarise(tool), format), Show(Summarise(floor1), format), Show(Summarise(floor2), format),
             Show(EstimateRatio(tool, floor1)), Show(toFloor2), e2e::Format("<= %.2fx floor 2", goal),
             Verdict(toFloor2.ratio > 0 && toFloor2.ratio <= goal));
}

void PrintTable(const Results& results, const e2e::PeFacts& exe, int runs, const std::string& buildType)
{
    const QuietFigures& quiet = results.quiet;
    const double kib = exe.bytes / 1024.0;

    std::printf("\n%d runs of each kind, interleaved; median (min-max); ratios: median of the rounds' ratios (95%% "
                "range); build type %s.\n\n", runs, buildType.c_str());
    PrintRow("figure", "vortag.exe", "floor 1", "floor 2", "tool / floor 1", "tool / floor 2", "goal", "");
    std::printf("|%s|%s|%s|%s|%s|%s|%s|%s|\n", std::string(35, '-').c_str(), std::string(24, '-').c_str(),
                std::string(22, '-').c_str(), std::string(22, '-').c_str(), std::string(21, '-').c_str(),
                std::string(21, '-').c_str(), std::string(19, '-').c_str(), std::string(8, '-').c_str());
    PrintComparedRow("start-up to answering dialog, ms", "%.1f", results.tool.answeredMs, results.floor1.answeredMs,
                     results.floor2.answeredMs, kStartupGoal);
    PrintComparedRow("peak working set, KiB", "%.0f", results.tool.peakWorkingSetKiB,
                     results.floor1.peakWorkingSetKiB, results.floor2.peakWorkingSetKiB, kMemoryGoal);
    PrintComparedRow("private bytes, KiB", "%.0f", results.tool.privateKiB, results.floor1.privateKiB,
                     results.floor2.privateKiB, kMemoryGoal);
    PrintRow("quiet change, wall time, ms", Show(Summarise(quiet.wallMs)), "", "", "", "", "", "");
    PrintRow(e2e::Format("- designed pause, ms (%zu runs)", quiet.pauseMs.size()), Show(Summarise(quiet.pauseMs)), "",
             "", "", "", "", "");
    PrintRow("- wall time minus pause, ms", Show(Summarise(quiet.wallMinusPauseMs)), "", "", "", "", "", "");
    PrintRow("- pause share of wall time, %", Show(Summarise(quiet.pauseShare), "%.0f"), "", "", "", "", "", "");
    const std::string size = e2e::Format("%.1f KiB (%llu B)", kib, static_cast<unsigned long long>(exe.bytes));
    PrintRow("vortag.exe size, stripped", size, "", "", "", "", e2e::Format("<= %.0f KiB", kSizeGoalKiB),
             Verdict(kib <= kSizeGoalKiB && exe.stripped));
    if (!exe.stripped)
        PrintRow("- not stripped", "symbols or debug sections", "", "", "", "", "", "");
    PrintRow("vortag.exe imports", Joined(exe.imports), "", "", "", "", "system DLLs only",
             Verdict(exe.nonSystem.empty()));
    if (!exe.nonSystem.empty())
        PrintRow("- not in the system folder", Joined(exe.nonSystem), "", "", "", "", "", "");

    std::printf("\nStart-up: process start to the first WM_GETTEXT answer of edit 205 of the visible dialog \"Nimbra\n"
                "VORTAG\"; memory read once the program waits for input. Quiet change: vortag.exe /QUIET with the\n"
                "collector beside it, process start to end; the pause is the generator's rand() %% 1000 + 1 ms,\n"
                "drawn again for the second in which the tool seeded (%zu of %zu runs; %d ambiguous, %d without a\n"
                "readable stamp, left out of the pause rows). A runtime linked statically shows as imports of\n"
                "system DLLs only.\n",
                quiet.pauseMs.size(), quiet.wallMs.size(), quiet.ambiguous, quiet.unreadable);
}

// Whether the value is there in the registry view in which the tool reads the suite's settings.
bool Present(HKEY root, const char* subkey, const char* value)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey, 0, KEY_READ | kRegistryView32, &key) != ERROR_SUCCESS)
        return false;
    const bool present = RegGetValueA(key, nullptr, value, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return present;
}

void PrintMachine()
{
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string settingsFile = std::string(windows) + "\\" + kSettingsFileName;
    const bool settings = GetFileAttributesA(settingsFile.c_str()) != INVALID_FILE_ATTRIBUTES;
    const bool setup = Present(HKEY_LOCAL_MACHINE, kSetupKey, kSetupValue);
    std::printf("Suite folder from: %s. Settings file %s, setup key value %s; the identifier is stored first.\n",
                settings ? "the settings file" : setup ? "the setup key" : "the tool's own folder",
                settings ? "present" : "absent", setup ? "present" : "absent");
}

int Benchmark(int runs, const std::string& buildType)
{
    const e2e::PeFacts exe = e2e::ReadPeFacts(e2e::BesideProgram(kTool));
    IdentifierKeeper keeper;
    StoreIdentifier(kBenchIdentifier);
    e2e::ScratchFolder suite;
    for (const char* program : {kTool, kFloor1, kFloor2, kCollectorFileName})
        suite.CopyIn(e2e::BesideProgram(program));
    PrintMachine();

    // One round first that counts for nothing: the first start of a program is slower.
    RunRound(0, suite, nullptr);
    Results results;
    for (int round = 0; round < runs; ++round) {
        RunRound(round, suite, &results);
        std::fprintf(stderr, g_verbose ? "round %d of %d done\n" : "\rround %d of %d", round + 1, runs);
    }
    std::fprintf(stderr, "\n");
    PrintTable(results, exe, runs, buildType);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 15;
    std::string buildType = "unknown";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--verbose") == 0)
            g_verbose = true;
        else if (std::strcmp(argv[i], "--build-type") == 0 && i + 1 < argc)
            buildType = argv[++i];
        else {
            std::fprintf(stderr, "usage: vortag_bench [--runs N] [--verbose] [--build-type NAME]\n");
            return 2;
        }
    }
    if (runs < 1) {
        std::fprintf(stderr, "--runs wants a positive number\n");
        return 2;
    }
    try {
        return Benchmark(runs, buildType);
    } catch (const e2e::DriverError& error) {
        std::fprintf(stderr, "\nbenchmark failed: %s\n", error.what());
        return 1;
    }
}
