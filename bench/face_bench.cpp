// The skinned face against the system's own look, both in one run of the real program (a test build,
// which honours the switches below): (1) a full repaint of the main dialog with its non-client area
// (RedrawWindow with RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW), timed
// inside the program; (2) start-up, from CreateProcess to the dialog shown and painted, median of 20
// starts of each kind, taken in turn. Prints milliseconds and the ratios; run under the target system.
// Usage: face_bench [path of Tamrivel.exe] (default: ..\app\Tamrivel.exe next to this program's folder)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchClock.h"

using bench::Median;
using bench::Now;

namespace {

std::string DefaultExe() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path);
    p = p.substr(0, p.find_last_of('\\'));
    p = p.substr(0, p.find_last_of('\\'));
    return p + "\\app\\Tamrivel.exe";
}

// The program with extra variables in its environment; false when it could not start.
bool Launch(const std::string& exe, const std::vector<std::string>& variables, PROCESS_INFORMATION& pi) {
    std::string block;
    char* inherited = GetEnvironmentStringsA();
    for (const char* p = inherited; p && *p; p += std::strlen(p) + 1) block.append(p).push_back('\0');
    if (inherited) FreeEnvironmentStringsA(inherited);
    for (const std::string& v : variables) block.append(v).push_back('\0');
    block.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string line = "\"" + exe + "\"";
    return CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, &block[0], nullptr, &si, &pi) != FALSE;
}

void End(PROCESS_INFORMATION& pi) {
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// Seconds from process start to the dialog shown and painted; negative when it never said so.
double StartUp(const std::string& exe, bool skinned, int run) {
    const std::string name = "TamrivelFaceBench" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(run);
    const HANDLE painted = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    std::vector<std::string> vars{"TAMRIVEL_TEST_PAINTED_EVENT=" + name, "TAMRIVEL_TEST_NO_RAIN=1"};
    if (!skinned) vars.push_back("TAMRIVEL_TEST_NO_SKIN=1");
    PROCESS_INFORMATION pi = {};
    const double t0 = Now();
    double seconds = -1;
    if (Launch(exe, vars, pi)) {
        if (WaitForSingleObject(painted, 30000) == WAIT_OBJECT_0) seconds = Now() - t0;
        End(pi);
    }
    CloseHandle(painted);
    return seconds;
}

// Seconds per full repaint, timed by the program itself; negative on failure.
double Repaint(const std::string& exe, bool skinned, int count) {
    char folder[MAX_PATH] = "", log[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "tfb", 0, log);
    std::vector<std::string> vars{"TAMRIVEL_TEST_REPAINTS=" + std::to_string(count),
                                  std::string("TAMRIVEL_TEST_REPAINT_LOG=") + log, "TAMRIVEL_TEST_NO_RAIN=1"};
    if (!skinned) vars.push_back("TAMRIVEL_TEST_NO_SKIN=1");
    PROCESS_INFORMATION pi = {};
    double perRepaint = -1;
    if (Launch(exe, vars, pi)) {
        if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) {
            if (FILE* in = std::fopen(log, "r")) {
                double elapsed = 0;
                int n = 0;
                if (std::fscanf(in, "%lf %d", &elapsed, &n) == 2 && n > 0) perRepaint = elapsed / n;
                std::fclose(in);
            }
        }
        End(pi);
    }
    DeleteFileA(log);
    return perRepaint;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string exe = argc > 1 ? argv[1] : DefaultExe();
    if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("no program at %s\n", exe.c_str());
        return 1;
    }
    std::printf("program: %s\n", exe.c_str());

    const int repaints = 200;
    std::vector<double> skinnedRepaints, plainRepaints;
    for (int i = 0; i < 3; ++i) {
        skinnedRepaints.push_back(Repaint(exe, true, repaints));
        plainRepaints.push_back(Repaint(exe, false, repaints));
    }
    const double skinnedRepaint = Median(skinnedRepaints), plainRepaint = Median(plainRepaints);
    if (skinnedRepaint <= 0 || plainRepaint <= 0) {
        std::printf("the program did not time its repaints (not a test build?)\n");
        return 1;
    }
    std::printf("full repaint of the main dialog (median of 3 runs of %d): skinned %.3f ms, skin off %.3f ms, "
                "ratio %.2f (goal within 2)\n",
                repaints, skinnedRepaint * 1e3, plainRepaint * 1e3, skinnedRepaint / plainRepaint);

    const int starts = 20;
    std::vector<double> skinnedStarts, plainStarts;
    StartUp(exe, true, -1);  // the first start of all pays for loading what the others find cached
    for (int i = 0; i < starts; ++i) {
        skinnedStarts.push_back(StartUp(exe, true, 2 * i));
        plainStarts.push_back(StartUp(exe, false, 2 * i + 1));
    }
    for (double s : skinnedStarts)
        if (s < 0) {
            std::printf("the program never said it was painted (not a test build?)\n");
            return 1;
        }
    for (double s : plainStarts)
        if (s < 0) {
            std::printf("the program never said it was painted (not a test build?)\n");
            return 1;
        }
    const double skinnedStart = Median(skinnedStarts), plainStart = Median(plainStarts);
    std::printf("start-up to the dialog shown and painted (median of %d): skinned %.1f ms, skin off %.1f ms, "
                "ratio %.3f (goal within 1.15)\n",
                starts, skinnedStart * 1e3, plainStart * 1e3, skinnedStart / plainStart);
    return 0;
}
