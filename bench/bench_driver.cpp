// Times filepick.exe against its floors under the same conditions, each
// run interleaved with its floor's, and prints medians as a Markdown table:
// for each figure the median of the per-pair ratios and its 95% interval.
// A goal is met only when the interval's upper end is at or under it.
//   bench_driver REPS FOLDER
// FOLDER holds blinky.hex and blinky.c (the demo folder); dump files are
// created in it and removed again.
#include <windows.h>
#include <psapi.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/picker_driver.h"
#include "exchange/layouts.h"

namespace {

enum { WaitMs = 60000 };

double NowMs()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * (double)now.QuadPart / (double)frequency.QuadPart;
}

std::wstring Beside(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    PathBesideSelf(name, path, MAX_PATH);
    return path;
}

std::wstring Wide(const std::string& text)
{
    wchar_t wide[MAX_PATH * 2];
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, MAX_PATH * 2);
    return wide;
}

struct Run {
    double readyMs = 0;   // start to dialog ready (or to exit)
    double finishMs = 0;  // OK pressed to process ended
    double peakKiB = 0;   // peak working set when the dialog was ready
    bool ok = false;
    bool notChosen = false;  // the dialog showed, but the driver could not choose in it
};

void PutRequest(const std::string& bytes)
{
    FILE* file = fopen("C:\\FILE", "wb");
    if (file) {
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
}

Run StartToExit(const std::wstring& exe, const std::wstring& tail)
{
    Run run;
    std::wstring line = L"\"" + exe + L"\" " + tail;
    PROCESS_INFORMATION process;
    double start = NowMs();
    if (!StartPicker(exe.c_str(), line.c_str(), &process))
        return run;
    DWORD code;
    run.ok = WaitForExit(process.hProcess, WaitMs, &code) != 0;
    run.readyMs = NowMs() - start;
    EndPicker(&process);
    return run;
}

// freshName: choose is a new file, removed before the run so that the
// save dialog does not ask to replace it.
Run DialogRun(const std::wstring& exe, const std::wstring& tail, const std::string& request,
              const std::string& choose, bool freshName)
{
    Run run;
    if (!request.empty())
        PutRequest(request);
    if (freshName)
        DeleteFileA(choose.c_str());
    std::wstring line = L"\"" + exe + L"\" " + tail;
    PROCESS_INFORMATION process;
    double start = NowMs();
    if (!StartPicker(exe.c_str(), line.c_str(), &process))
        return run;
    HWND dialog = WaitForDialog(process.dwProcessId, process.hProcess, WaitMs, 0);
    run.readyMs = NowMs() - start;
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory))
        run.peakKiB = memory.PeakWorkingSetSize / 1024.0;
    if (dialog) {
        double pressed = NowMs();
        // A dialog the driver cannot choose in is ended at once, not waited out.
        run.notChosen = !ChooseFile(dialog, Wide(choose).c_str());
        DWORD code;
        run.ok = !run.notChosen && WaitForExit(process.hProcess, WaitMs, &code) != 0;
        run.finishMs = NowMs() - pressed;
    }
    EndPicker(&process);
    DeleteFileA("C:\\FILE");
    return run;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Pair {
    std::vector<double> subject, floor;
};

// A small seeded generator: the same runs give the same interval.
unsigned NextRandom(unsigned* state)
{
    *state = *state * 1664525u + 1013904223u;
    return *state >> 8;
}

enum { Resamples = 2000 };

// The median of the per-pair ratios and its 95% interval, from a bootstrap
// over the pairs: each resample draws as many pairs as were run, with
// replacement, and takes their median ratio.
void RatioInterval(const Pair& pair, double* ratio, double* low, double* high)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < pair.subject.size(); ++i)
        if (pair.floor[i] > 0)
            ratios.push_back(pair.subject[i] / pair.floor[i]);
    *ratio = *low = *high = 0;
    if (ratios.empty())
        return;
    *ratio = Median(ratios);
    unsigned state = 20261209u;
    std::vector<double> medians, sample(ratios.size());
    for (int r = 0; r < Resamples; ++r) {
        for (double& value : sample)
            value = ratios[NextRandom(&state) % ratios.size()];
        medians.push_back(Median(sample));
    }
    std::sort(medians.begin(), medians.end());
    *low = medians[(size_t)(0.025 * Resamples)];
    *high = medians[(size_t)(0.975 * Resamples) - 1];
}

int noisy = 0;  // figures whose interval is wider than +-5%

// goal: the highest ratio allowed, or 0 for none.
void Row(const char* figure, const Pair& pair, const char* unit, double goal)
{
    double ratio, low, high;
    RatioInterval(pair, &ratio, &low, &high);
    char goalText[48] = "-";
    if (goal > 0)
        snprintf(goalText, sizeof goalText, "<= %.2f: %s", goal, high <= goal ? "met" : "not met");
    printf("| %s | %.1f %s | %.1f %s | %.3f | %.3f to %.3f | %s |\n", figure, Median(pair.subject),
           unit, Median(pair.floor), unit, ratio, low, high, goalText);
    if (ratio > 0 && (high - low) / 2 > 0.05 * ratio) {
        fprintf(stderr, "bench: the machine was too noisy for \"%s\" (interval +-%.1f%%)\n", figure,
                50 * (high - low) / ratio);
        ++noisy;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    int reps = argc > 1 ? atoi(argv[1]) : 70;
    std::string folder = argc > 2 ? argv[2] : ".";
    std::wstring picker = Beside(L"filepick.exe");
    std::wstring floorExit = Beside(L"floor_exit.exe");
    std::wstring floorDialog = Beside(L"floor_dialog.exe");

    struct Verb {
        const wchar_t* name;
        const wchar_t* floorArg;
        std::string request;
        std::string choose;
        Pair ready, finish, memory;
    } verbs[] = {
        { L"DoLoadDebugFile", L"load", std::string(PathBlockSize, '\0'), folder + "\\blinky.hex" },
        { L"DoSetDumpFile", L"dump", std::string(4, '\0'), folder + "\\bench dump.hex" },
        { L"DoModuleListFile", L"module", std::string(PathBlockSize, '\0'), folder + "\\blinky.c" },
    };
    for (Verb& verb : verbs)
        if (verb.request.size() == PathBlockSize)
            verb.request.replace(0, folder.size(), folder);

    Pair unknown;
    int failures = 0, notChosen = 0;
    for (int rep = 0; rep < reps; ++rep) {
        Run a = StartToExit(picker, L"NoSuchVerb");
        Run b = StartToExit(floorExit, L"");
        failures += !a.ok + !b.ok;
        unknown.subject.push_back(a.readyMs);
        unknown.floor.push_back(b.readyMs);
        for (Verb& verb : verbs) {
            bool fresh = verb.name == std::wstring(L"DoSetDumpFile");
            Run s = DialogRun(picker, verb.name, verb.request, verb.choose, fresh);
            Run f = DialogRun(floorDialog, verb.floorArg, "", verb.choose, fresh);
            failures += !s.ok + !f.ok;
            notChosen += s.notChosen + f.notChosen;
            verb.ready.subject.push_back(s.readyMs);
            verb.ready.floor.push_back(f.readyMs);
            verb.finish.subject.push_back(s.finishMs);
            verb.finish.floor.push_back(f.finishMs);
            verb.memory.subject.push_back(s.peakKiB);
            verb.memory.floor.push_back(f.peakKiB);
        }
    }
    DeleteFileA((folder + "\\bench dump.hex").c_str());

    printf("| figure (medians of %d pairs) | filepick | floor | ratio | 95%% interval | goal |\n",
           reps);
    printf("|---|---|---|---|---|---|\n");
    Row("unknown verb, start to exit", unknown, "ms", 1.05);
    char figure[128];
    for (Verb& verb : verbs) {
        snprintf(figure, sizeof figure, "%ls, start to dialog ready", verb.name);
        Row(figure, verb.ready, "ms", 1.10);
    }
    for (Verb& verb : verbs) {
        snprintf(figure, sizeof figure, "%ls, OK to reply and exit", verb.name);
        Row(figure, verb.finish, "ms", 0);
    }
    for (Verb& verb : verbs) {
        snprintf(figure, sizeof figure, "%ls, peak working set", verb.name);
        Row(figure, verb.memory, "KiB", 1.10);
    }
    if (failures)
        printf("\n%d runs did not complete\n", failures);
    if (notChosen)
        printf("\n%d of them showed a dialog in which no file could be chosen (no file-name box "
               "found): the picker was ended, and the figures of those runs mean nothing\n",
               notChosen);
    return failures ? 1 : 0;
}
