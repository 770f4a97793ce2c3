// Measures ClipToText.exe against minimal programs doing the same job and
// prints one table. Run by scripts/bench.sh under Wine:
//   bench_runner.exe [--cpu "<model>"] [--load "<load average>"] [--exe32 <i686 ClipToText.exe>]
//                    [--program <ClipToText.exe to measure instead of the one beside it>]
// It drives the programs from outside, like the end-to-end tests, and never
// fails on a figure: a benchmark reports, it does not judge.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_protocol.h"
#include "tests/e2e/harness.h"

using namespace e2e;

namespace {

constexpr double kMB = 1024.0 * 1024.0;
constexpr DWORD kSaveTimeoutMs = 120000;   // 64 MB through Wine's clipboard on a loaded machine
constexpr DWORD kStartTimeoutMs = 30000;
constexpr int kStartRuns = 15;

// --- timing and statistics ----------------------------------------------------

double NowMs()
{
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / ticksPerMs;
}

// The value below which the fraction `q` of the sorted values lies, linearly
// interpolated between neighbours.
double Quantile(const std::vector<double>& sorted, double q)
{
    const double at = q * static_cast<double>(sorted.size() - 1);
    const std::size_t below = static_cast<std::size_t>(at);
    if (below + 1 >= sorted.size()) return sorted.back();
    return sorted[below] + (at - static_cast<double>(below)) * (sorted[below + 1] - sorted[below]);
}

// A figure of a noisy machine: the median, and the middle half of the runs.
struct Spread {
    double median, low, high;
};

std::optional<Spread> SpreadOf(std::vector<double> values)
{
    if (values.empty()) return std::nullopt;
    std::sort(values.begin(), values.end());
    return Spread{Quantile(values, 0.5), Quantile(values, 0.25), Quantile(values, 0.75)};
}

std::optional<double> Median(std::vector<double> values)
{
    const std::optional<Spread> s = SpreadOf(std::move(values));
    return s ? std::optional<double>(s->median) : std::nullopt;
}

// Polls every millisecond: fine enough for the smallest save, and unlike a
// spin it leaves the two cores to the program being measured.
bool PollUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const double end = NowMs() + timeoutMs;
    while (!condition()) {
        if (NowMs() > end) return false;
        Sleep(1);
    }
    return true;
}

// --- files ----------------------------------------------------------------------

// Complete means: all bytes there and the writer has closed it. Both writers
// open without sharing, so our open succeeds only after their CloseHandle.
bool IsComplete(const std::string& path, ULONGLONG size)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER actual{};
    const bool sized = GetFileSizeEx(file, &actual) && static_cast<ULONGLONG>(actual.QuadPart) == size;
    CloseHandle(file);
    return sized;
}

// The program names its file after the clock, so both sides are found the
// same way: any complete .txt file in the (emptied) folder.
bool CompleteTextFileIn(const std::string& folder, ULONGLONG size)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "*.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool complete = false;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) complete = IsComplete(folder + found.cFileName, size);
    } while (!complete && FindNextFileA(search, &found));
    FindClose(search);
    return complete;
}

// --- processes --------------------------------------------------------------------

PROCESS_INFORMATION Start(const std::string& exe, const std::string& arguments = "")
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    PROCESS_INFORMATION process{};
    const std::string folder = exe.substr(0, exe.rfind('\\'));
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process))
        throw std::runtime_error("cannot start " + exe);
    return process;
}

void Stop(PROCESS_INFORMATION& process)
{
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    process = {};
}

struct Memory {
    double workingSetMB = 0;
    double peakMB = 0;
};

Memory MemoryOf(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return {};
    return {counters.WorkingSetSize / kMB, counters.PeakWorkingSetSize / kMB};
}

// --- start-up ---------------------------------------------------------------------

// CreateProcess to the first moment a visible top-level window of the class
// belongs to the new process.
std::optional<double> TimeToVisibleWindow(const std::string& exe, const char* windowClass)
{
    const double start = NowMs();
    PROCESS_INFORMATION process = Start(exe);
    const bool shown =
        PollUntil([&] { return !TopWindowsOf(process.dwProcessId, windowClass).empty(); }, kStartTimeoutMs);
    const double elapsed = NowMs() - start;
    Stop(process);
    Sleep(200);  // lets the window's X11 side go before the next start
    return shown ? std::optional<double>(elapsed) : std::nullopt;
}

// Two series measured side by side; ratios[i] is ours / baseline of one round.
struct Pair {
    std::vector<double> ours, baseline, ratios;
    void Add(std::optional<double> o, std::optional<double> b)
    {
        if (o) ours.push_back(*o);
        if (b) baseline.push_back(*b);
        if (o && b && *b > 0) ratios.push_back(*o / *b);
    }
};

struct StartUpFigures {
    Pair bare;      // against baseline_window
    Pair required;  // against baseline_required_window
};

StartUpFigures MeasureStartUp(const std::string& folder)
{
    struct Program {
        std::string exe;
        const char* windowClass;
    };
    const Program ours{folder + "\\ClipToText.exe", "ClipToTextWindow"};
    const Program bare{folder + "\\baseline_window.exe", kBaselineWindowClass};
    const Program required{folder + "\\baseline_required_window.exe", kRequiredBaselineWindowClass};
    // One unmeasured start each fills the file cache and Wine's DLL caches.
    for (const Program& p : {ours, bare, required}) TimeToVisibleWindow(p.exe, p.windowClass);
    StartUpFigures result;
    // In turns, so a burst of load from elsewhere hits all three alike.
    for (int run = 0; run < kStartRuns; ++run) {
        const std::optional<double> o = TimeToVisibleWindow(ours.exe, ours.windowClass);
        result.bare.Add(o, TimeToVisibleWindow(bare.exe, bare.windowClass));
        result.required.Add(o, TimeToVisibleWindow(required.exe, required.windowClass));
    }
    return result;
}

// --- saving -----------------------------------------------------------------------

// Chinese and ASCII mixed, as GBK; padded with ASCII to the exact size so no
// double-byte character is cut in half.
std::string MakeText(std::size_t size)
{
    const std::string line = "剪贴板文本 clipboard text 0123456789 粘贴至文本文件的速度\r\n";
    std::string text;
    text.reserve(size);
    while (text.size() + line.size() <= size) text += line;
    text.append(size - text.size(), 'x');
    return text;
}

struct SaveCase {
    const char* label;
    std::size_t size;
    int runs;
    double limit;  // ratio target, 0 for none
};

const SaveCase kSaveCases[] = {
    {"1 KB", 1024, 7, 0}, {"1 MB", std::size_t{1} << 20, 7, 0}, {"64 MB", std::size_t{64} << 20, 5, 1.2}};

struct SaveFigures {
    Pair ms;
    Memory oursBefore;  // ClipToText's, before the first save of this size
    std::vector<Memory> baselineBefore, baselineAfter;
};

// The button click is posted, so the clock runs from the moment the message
// is queued (the program is idle) until the file is complete on disk.
std::optional<double> TimeOurSave(HWND button, const std::string& desktop, std::size_t size)
{
    EmptyFolder(desktop);
    const double start = NowMs();
    PostMessageA(button, BM_CLICK, 0, 0);
    const bool complete = PollUntil([&] { return CompleteTextFileIn(desktop, size); }, kSaveTimeoutMs);
    const double elapsed = NowMs() - start;
    // Back in its message loop before the next click.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(button, WM_NULL, 0, 0, SMTO_NORMAL, kSaveTimeoutMs, &ignored);
    return complete ? std::optional<double>(elapsed) : std::nullopt;
}

class BaselineEvents {
public:
    BaselineEvents()
        : ready_(CreateEventA(nullptr, FALSE, FALSE, kBaselineReady)),
          go_(CreateEventA(nullptr, FALSE, FALSE, kBaselineGo)),
          quit_(CreateEventA(nullptr, FALSE, FALSE, kBaselineQuit))
    {
    }
    ~BaselineEvents()
    {
        for (HANDLE e : {ready_, go_, quit_}) CloseHandle(e);
    }
    void Reset()
    {
        for (HANDLE e : {ready_, go_, quit_}) ResetEvent(e);
    }
    bool WaitReady() { return WaitForSingleObject(ready_, kStartTimeoutMs) == WAIT_OBJECT_0; }
    void Go() { SetEvent(go_); }
    void Quit() { SetEvent(quit_); }

private:
    HANDLE ready_, go_, quit_;
};

// baseline_save is started first and waits; the clock runs from the event
// that releases it (the counterpart of the posted click) until the file is
// complete. Its memory is read while it still holds the text.
std::optional<double> TimeBaselineSave(const std::string& exe, const std::string& desktop, std::size_t size,
                                       BaselineEvents& events, SaveFigures& figures)
{
    events.Reset();
    EmptyFolder(desktop);
    PROCESS_INFORMATION process = Start(exe, "\"" + desktop + "baseline.txt\" --wait");
    std::optional<double> result;
    if (events.WaitReady()) {
        Sleep(20);  // into its wait for the event
        const Memory before = MemoryOf(process.hProcess);
        const double start = NowMs();
        events.Go();
        const bool complete = PollUntil([&] { return CompleteTextFileIn(desktop, size); }, kSaveTimeoutMs);
        const double elapsed = NowMs() - start;
        if (complete) {
            result = elapsed;
            figures.baselineBefore.push_back(before);
            figures.baselineAfter.push_back(MemoryOf(process.hProcess));
        }
        events.Quit();
    }
    Stop(process);
    return result;
}

SaveFigures MeasureSave(App& app, const std::string& folder, const SaveCase& c, BaselineEvents& events)
{
    const std::string desktop = DesktopFolder();
    const std::string baseline = folder + "\\baseline_save.exe";
    SetClipboardBytes(MakeText(c.size));
    SaveFigures figures;
    figures.oursBefore = MemoryOf(app.Process());
    // Unmeasured first round: file cache, heap growth, first clipboard synthesis.
    TimeOurSave(app.PasteButton(), desktop, c.size);
    {
        SaveFigures ignored;
        TimeBaselineSave(baseline, desktop, c.size, events, ignored);
    }
    for (int run = 0; run < c.runs; ++run) {
        const std::optional<double> ours = TimeOurSave(app.PasteButton(), desktop, c.size);
        figures.ms.Add(ours, TimeBaselineSave(baseline, desktop, c.size, events, figures));
    }
    EmptyFolder(desktop);
    return figures;
}

// --- the exe itself ------------------------------------------------------------------

struct PeFile {
    bool read = false;
    ULONGLONG size = 0;
    std::vector<std::string> imports;
};

// The DLL names of the import directory, found through the section table.
PeFile ReadPe(const std::string& path)
{
    PeFile pe;
    const std::optional<Bytes> bytes = ReadFileBytes(path);
    if (!bytes) return pe;
    const std::string& b = *bytes;
    pe.size = b.size();
    auto fits = [&](std::size_t offset, std::size_t length) {
        return offset <= b.size() && length <= b.size() - offset;
    };
    auto at = [&](std::size_t offset) { return b.data() + offset; };
    if (!fits(0, sizeof(IMAGE_DOS_HEADER)) || b.compare(0, 2, "MZ") != 0) return pe;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0));
    const std::size_t nt = static_cast<std::size_t>(dos->e_lfanew);
    if (!fits(nt, 4 + sizeof(IMAGE_FILE_HEADER) + sizeof(WORD)) || std::memcmp(at(nt), "PE\0\0", 4) != 0) return pe;
    const auto* header = reinterpret_cast<const IMAGE_FILE_HEADER*>(at(nt + 4));
    const std::size_t optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    const WORD magic = *reinterpret_cast<const WORD*>(at(optional));
    const IMAGE_DATA_DIRECTORY* directories = nullptr;
    if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC && fits(optional, sizeof(IMAGE_OPTIONAL_HEADER32)))
        directories = reinterpret_cast<const IMAGE_OPTIONAL_HEADER32*>(at(optional))->DataDirectory;
    else if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC && fits(optional, sizeof(IMAGE_OPTIONAL_HEADER64)))
        directories = reinterpret_cast<const IMAGE_OPTIONAL_HEADER64*>(at(optional))->DataDirectory;
    else
        return pe;
    const IMAGE_DATA_DIRECTORY imports = directories[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const std::size_t sections = optional + header->SizeOfOptionalHeader;
    if (!fits(sections, header->NumberOfSections * sizeof(IMAGE_SECTION_HEADER))) return pe;
    auto offsetOf = [&](DWORD rva) -> std::optional<std::size_t> {
        for (WORD i = 0; i < header->NumberOfSections; ++i) {
            const auto* s =
                reinterpret_cast<const IMAGE_SECTION_HEADER*>(at(sections + i * sizeof(IMAGE_SECTION_HEADER)));
            if (rva >= s->VirtualAddress && rva < s->VirtualAddress + std::max(s->Misc.VirtualSize, s->SizeOfRawData))
                return std::size_t{rva - s->VirtualAddress + s->PointerToRawData};
        }
        return std::nullopt;
    };
    pe.read = true;
    if (!imports.VirtualAddress) return pe;
    const std::optional<std::size_t> table = offsetOf(imports.VirtualAddress);
    for (std::size_t d = table.value_or(b.size()); fits(d, sizeof(IMAGE_IMPORT_DESCRIPTOR));
         d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(d));
        if (!descriptor->Name) break;
        if (const auto name = offsetOf(descriptor->Name); name && *name < b.size())
            pe.imports.emplace_back(at(*name), strnlen(at(*name), b.size() - *name));
    }
    return pe;
}

// DLLs that every Windows since 7 has in system32.
bool IsSystemDll(std::string name)
{
    for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    if (name.rfind("api-ms-win-", 0) == 0) return true;
    static const char* const system[] = {"kernel32.dll", "user32.dll",   "gdi32.dll",   "comctl32.dll", "shell32.dll",
                                         "ole32.dll",    "oleaut32.dll", "msvcrt.dll",  "advapi32.dll", "comdlg32.dll",
                                         "shlwapi.dll",  "uxtheme.dll",  "ntdll.dll",   "version.dll",  "winmm.dll",
                                         "imm32.dll",    "ws2_32.dll",   "rpcrt4.dll",  "psapi.dll",    "msimg32.dll"};
    return std::find(std::begin(system), std::end(system), name) != std::end(system);
}

// --- the table --------------------------------------------------------------------------

struct Row {
    std::string figure, ours, baseline, ratio, target;
};

std::string Format(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string OrNa(const std::optional<double>& value, const char* format)
{
    return value ? Format(format, *value) : "n/a";
}

std::string Verdict(bool met) { return met ? "  ok" : "  MISSED"; }

// A ratio row; `limit` > 0 adds the target and whether it was met.
Row RatioRow(const std::string& figure, std::optional<double> ours, std::optional<double> baseline, double limit,
             const char* format = "%.1f")
{
    Row row{figure, OrNa(ours, format), OrNa(baseline, format), "n/a", limit > 0 ? Format("<= %.2fx", limit) : "-"};
    if (ours && baseline && *baseline > 0) {
        const double ratio = *ours / *baseline;
        row.ratio = Format("%.2fx", ratio);
        if (limit > 0) row.target += Verdict(ratio <= limit);
    } else if (limit > 0) {
        row.target += "  n/a";
    }
    return row;
}

std::string WithSpread(const std::optional<Spread>& s, const char* format)
{
    if (!s) return "n/a";
    return Format(format, s->median) + " [" + Format(format, s->low) + "-" + Format(format, s->high) + "]";
}

// A row of timed runs: each side's median with the middle half of its runs
// in brackets; the ratio of the medians with the middle half of the ratios
// of single rounds.
Row TimedRow(const std::string& figure, const Pair& pair, double limit, const char* format)
{
    Row row = RatioRow(figure, Median(pair.ours), Median(pair.baseline), limit, format);
    row.ours = WithSpread(SpreadOf(pair.ours), format);
    row.baseline = WithSpread(SpreadOf(pair.baseline), format);
    if (const std::optional<Spread> r = SpreadOf(pair.ratios); r && row.ratio != "n/a")
        row.ratio += " [" + Format("%.2f", r->low) + "-" + Format("%.2f", r->high) + "]";
    return row;
}

void PrintTable(const std::vector<Row>& rows)
{
    const Row heading{"figure", "ClipToText", "baseline", "ratio", "target"};
    std::size_t w[5] = {};
    auto widen = [&](const Row& r) {
        const std::string* cells[] = {&r.figure, &r.ours, &r.baseline, &r.ratio, &r.target};
        for (int i = 0; i < 5; ++i) w[i] = std::max(w[i], cells[i]->size());
    };
    widen(heading);
    for (const Row& r : rows) widen(r);
    auto print = [&](const Row& r) {
        std::printf("| %-*s | %*s | %*s | %*s | %-*s |\n", int(w[0]), r.figure.c_str(), int(w[1]), r.ours.c_str(),
                    int(w[2]), r.baseline.c_str(), int(w[3]), r.ratio.c_str(), int(w[4]), r.target.c_str());
    };
    auto rule = [&] {
        std::string line = "|";
        for (std::size_t width : w) line += std::string(width + 2, '-') + "|";
        std::printf("%s\n", line.c_str());
    };
    print(heading);
    rule();
    for (const Row& r : rows) print(r);
}

std::string WineVersion()
{
    using Getter = const char*(CDECL*)();
    const auto get = reinterpret_cast<Getter>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    return get ? get() : "none (native Windows)";
}

std::string Argument(int argc, char** argv, const char* name)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
    return "";
}

// Copies the programs into one folder, so every start reads from the same
// disk; `program`, if given, in place of the ClipToText.exe beside us.
std::string PrepareFolder(const std::string& program)
{
    const std::string folder = FreshProgramFolder("bench");
    for (const char* exe : {"baseline_save.exe", "baseline_window.exe", "baseline_required_window.exe"})
        if (!CopyFileA((OwnFolder() + "\\" + exe).c_str(), (folder + "\\" + exe).c_str(), FALSE))
            throw std::runtime_error(std::string("cannot copy ") + exe);
    if (!program.empty() && !CopyFileA(program.c_str(), (folder + "\\ClipToText.exe").c_str(), FALSE))
        throw std::runtime_error("cannot copy " + program);
    return folder;
}

void Progress(const char* what)
{
    std::fprintf(stderr, "bench: %s\n", what);
    std::fflush(stderr);
}

// --- the figures, as rows -------------------------------------------------------------

void AddMemoryRows(std::vector<Row>& rows, HANDLE app, const SaveFigures& big, std::size_t size)
{
    const double copyMB = size / kMB;
    std::vector<double> basePeaks, baseBefore;
    for (const Memory& m : big.baselineAfter) basePeaks.push_back(m.peakMB);
    for (const Memory& m : big.baselineBefore) baseBefore.push_back(m.workingSetMB);
    const double oursPeak = MemoryOf(app).peakMB;
    const std::optional<double> basePeak = Median(basePeaks);
    rows.push_back(RatioRow("peak working set, 64 MB save (MB)", oursPeak, basePeak, 0));

    Row copies{"  difference in copies of the text", "n/a", "-", "-", "<= +1.00 copy"};
    if (basePeak) {
        const double extra = (oursPeak - *basePeak) / copyMB;
        copies.ours = Format("%+.2f", extra);
        copies.target += Verdict(extra <= 1.0);
    } else {
        copies.target += "  n/a";
    }
    rows.push_back(copies);

    std::optional<double> baseGrowth;
    if (basePeak && !baseBefore.empty()) baseGrowth = (*basePeak - *Median(baseBefore)) / copyMB;
    rows.push_back(Row{"  growth in the save (copies)",
                       Format("%.2f", (oursPeak - big.oursBefore.workingSetMB) / copyMB), OrNa(baseGrowth, "%.2f"),
                       "-", "-"});
}

void AddSizeRows(std::vector<Row>& rows, std::vector<std::string>& notes, const std::string& exe32,
                 const std::string& folder)
{
    const PeFile ours32 = ReadPe(exe32);
    const PeFile ours64 = ReadPe(folder + "\\ClipToText.exe");
    const PeFile base64 = ReadPe(OwnFolder() + "\\baseline_window.exe");
    auto kb = [](const PeFile& pe) { return pe.read ? std::optional<double>(pe.size / 1024.0) : std::nullopt; };
    rows.push_back(Row{"exe size, i686 (KB)", OrNa(kb(ours32), "%.1f"), "-", "-", "-"});
    rows.push_back(RatioRow("exe size, x86_64 (KB)", kb(ours64), kb(base64), 0));

    Row dlls{"DLL imports, i686", "n/a", "-", "-", "system DLLs only"};
    if (!ours32.read) {
        dlls.target += "  n/a";
        notes.push_back("i686 exe not readable: '" + exe32 + "'");
        rows.push_back(dlls);
        return;
    }
    std::string all, foreign;
    for (const std::string& dll : ours32.imports) {
        all += " " + dll;
        if (!IsSystemDll(dll)) foreign += " " + dll;
    }
    dlls.ours = std::to_string(ours32.imports.size()) + " DLLs";
    dlls.target += Verdict(foreign.empty());
    rows.push_back(dlls);
    notes.push_back("i686 imports:" + all);
    if (!foreign.empty()) notes.push_back("NOT system DLLs:" + foreign);
}

void PrintReport(const std::vector<Row>& rows, const std::vector<std::string>& notes, const std::string& cpu,
                 const std::string& load)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::printf("ClipToText benchmark, %04u-%02u-%02u %02u:%02u | CPU: %s | load: %s | Wine: %s\n\n", now.wYear,
                now.wMonth, now.wDay, now.wHour, now.wMinute, cpu.empty() ? "?" : cpu.c_str(),
                load.empty() ? "?" : load.c_str(), WineVersion().c_str());
    PrintTable(rows);
    std::printf("\nMedians of %d start-ups and of %d / %d / %d saves (1 KB / 1 MB / 64 MB), each program after one\n"
                "unmeasured run; in brackets the middle half of the runs (25th-75th percentile). A ratio is that of\n"
                "the medians; in brackets the middle half of the ratios of single rounds, the programs taking turns.\n",
                kStartRuns, kSaveCases[0].runs, kSaveCases[1].runs, kSaveCases[2].runs);
    std::printf(
        "start-up: CreateProcess until a visible top-level window of the process exists (polled every 1 ms).\n"
        "  bare: baseline_window.exe registers a class and shows a 150x75 top-most popup.\n"
        "  required: baseline_required_window.exe pays what ClipToText must: the common-controls 6 manifest,\n"
        "  the same popup made layered at alpha 150 before it is shown, and one trackbar in it.\n"
        "save: both programs already running and idle; from the external trigger until the .txt file in the\n"
        "  emptied desktop folder has the full size and can be opened (the writer has closed it).\n"
        "  ClipToText: a posted BM_CLICK to its paste button. baseline: baseline_save.exe --wait, released\n"
        "  by an event; it copies CF_TEXT, closes the clipboard and writes with one WriteFile.\n"
        "  Text: GBK Chinese and ASCII.\n"
        "memory: PeakWorkingSetSize. ClipToText: the one instance that did all saves, read after the 64 MB\n"
        "  ones; baseline: median over its 64 MB runs, each read before it exits. A copy of the text = 64 MB.\n"
        "  growth = peak minus the working set before the first 64 MB save.\n");
    for (const std::string& note : notes) std::printf("%s\n", note.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string exe32 = Argument(argc, argv, "--exe32");
    std::vector<Row> rows;
    std::vector<std::string> notes;
    try {
        const std::string program = Argument(argc, argv, "--program");
        if (!program.empty()) notes.push_back("measured program: " + program);
        const std::string folder = PrepareFolder(program);
        EmptyFolder(DesktopFolder());

        Progress("start-up");
        const StartUpFigures startUp = MeasureStartUp(folder);
        rows.push_back(TimedRow("start-up to visible window (ms), bare", startUp.bare, 1.15, "%.1f"));
        rows.push_back(TimedRow("start-up to visible window (ms), required", startUp.required, 1.05, "%.1f"));

        BaselineEvents events;
        App app(folder);
        SaveFigures figures;
        for (const SaveCase& c : kSaveCases) {
            Progress((std::string("save ") + c.label).c_str());
            figures = MeasureSave(app, folder, c, events);
            rows.push_back(TimedRow(std::string("save ") + c.label + " (ms)", figures.ms, c.limit,
                                    c.size < (1 << 20) ? "%.2f" : "%.1f"));
        }
        // The figures left are those of the largest save, the last case.
        AddMemoryRows(rows, app.Process(), figures, std::end(kSaveCases)[-1].size);

        Progress("size");
        AddSizeRows(rows, notes, exe32, folder);
    } catch (const std::exception& e) {
        notes.push_back(std::string("stopped early: ") + e.what());
    }
    PrintReport(rows, notes, Argument(argc, argv, "--cpu"), Argument(argc, argv, "--load"));
    return 0;
}
