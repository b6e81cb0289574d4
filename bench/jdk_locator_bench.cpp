// FindJdkHome when no JDK exists on any drive: all 72 probes (24 drives x 3 patterns)
// fail. Prints the time per search and per probe. Run it in a prefix without any JDK.
#include "JdkLocator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    // As the program itself runs: no prompts for drives without a medium.
    SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    DWORD drives = GetLogicalDrives();
    std::printf("drives present:");
    for (int i = 0; i < 26; ++i)
        if (drives & (1u << i))
            std::printf(" %c:", 'A' + i);
    std::printf("\n");

    const CString warm = FindJdkHome();
    if (!warm.IsEmpty()) {
        std::printf("a JDK was found (%s): this figure needs a machine without one\n", warm.GetString());
        return 1;
    }

    std::vector<double> ms;
    ms.reserve(static_cast<size_t>(rounds));
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const CString result = FindJdkHome();
        const auto end = std::chrono::steady_clock::now();
        if (!result.IsEmpty())
            return 1;
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    const double median = ms[ms.size() / 2];
    std::printf("FindJdkHome, nothing found, %d rounds: median %.3f ms, min %.3f ms, max %.3f ms, mean %.3f ms\n",
                rounds, median, ms.front(), ms.back(), sum / rounds);
    std::printf("per failed probe (72 a search): median %.1f us\n", median * 1000.0 / 72.0);
    return 0;
}
