// Per-message cost of a message nobody handles, sent to windows reached by different roads,
// and the cost of creating and destroying a button. Each case is measured in the same run as
// the case it is compared with; the figures are ns per message (or per create+destroy) and the
// ratio against that baseline. Further roads are further rows of the tables below.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "Afx.h"

#include "BenchClock.h"

using bench::Now;

namespace {

const UINT kUnhandled = WM_USER + 123;
const char kAppClass[] = "TamrivelBenchApp";

// A window set up for one case; its destructor takes down whatever the case built.
struct Target {
    HWND hWnd = nullptr;
    std::unique_ptr<CWnd> object;
    ~Target()
    {
        if (object)
            object.reset();
        else if (hWnd)
            ::DestroyWindow(hWnd);
    }
};

struct MessageCase {
    const char* name;
    const char* baseline;  // name of the case it is compared with; null for a baseline
    std::function<void(HWND host, Target& target)> make;
};

struct CreateCase {
    const char* name;
    const char* baseline;
    std::function<void(HWND host)> createAndDestroy;
};

HWND PlainButton(HWND host)
{
    return ::CreateWindowExA(0, "BUTTON", "b", WS_CHILD | BS_PUSHBUTTON, 0, 0, 75, 23, host, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

// The least any subclasser costs: straight on to the previous procedure.
WNDPROC g_bareNext = nullptr;
LRESULT CALLBACK BareSubclass(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcA(g_bareNext, hWnd, message, wParam, lParam);
}

const std::vector<MessageCase>& MessageCases()
{
    static const std::vector<MessageCase> cases = {
        {"plain button", nullptr, [](HWND host, Target& t) { t.hWnd = PlainButton(host); }},
        {"button, bare subclass", "plain button",
         [](HWND host, Target& t) {
             t.hWnd = PlainButton(host);
             g_bareNext = reinterpret_cast<WNDPROC>(
                 ::SetWindowLongPtrA(t.hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BareSubclass)));
         }},
        {"button, framework subclass", "plain button",
         [](HWND host, Target& t) {
             t.hWnd = PlainButton(host);
             t.object = std::make_unique<CButton>();
             t.object->SubclassWindow(t.hWnd);
         }},
        {"plain application window", nullptr,
         [](HWND host, Target& t) {
             t.hWnd = ::CreateWindowExA(0, kAppClass, "w", WS_CHILD, 0, 0, 50, 50, host, nullptr,
                                        ::GetModuleHandleA(nullptr), nullptr);
         }},
    };
    return cases;
}

const std::vector<CreateCase>& CreateCases()
{
    static const std::vector<CreateCase> cases = {
        {"create+destroy plain button", nullptr, [](HWND host) { ::DestroyWindow(PlainButton(host)); }},
    };
    return cases;
}

// Each case's best round; rounds take the cases in turn, so a busy stretch of the
// machine does not fall on one case only.
std::vector<double> BestNsPerCall(const std::vector<std::function<void()>>& calls, int perRound, int rounds)
{
    std::vector<double> best(calls.size(), 1e30);
    for (int r = 0; r < rounds; ++r) {
        for (size_t c = 0; c < calls.size(); ++c) {
            const double start = Now();
            for (int i = 0; i < perRound; ++i)
                calls[c]();
            best[c] = std::min(best[c], (Now() - start) * 1e9 / perRound);
        }
    }
    return best;
}

struct Row {
    const char* name;
    const char* baseline;
    double ns;
};

void Print(const char* title, const char* unit, const std::vector<Row>& rows)
{
    std::printf("%s\n", title);
    for (const Row& row : rows) {
        std::printf("  %-44s %9.1f %s", row.name, row.ns, unit);
        if (row.baseline) {
            auto base = std::find_if(rows.begin(), rows.end(),
                                     [&](const Row& r) { return std::strcmp(r.name, row.baseline) == 0; });
            if (base != rows.end())
                std::printf("   %.2fx %s", row.ns / base->ns, base->name);
        }
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const int messages = argc > 1 ? std::atoi(argv[1]) : 100000;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kAppClass;
    ::RegisterClassA(&wc);
    HWND host = ::CreateWindowExA(0, kAppClass, "bench", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                  wc.hInstance, nullptr);

    const int rounds = argc > 2 ? std::atoi(argv[2]) : 20;

    std::vector<Target> targets(MessageCases().size());
    std::vector<std::function<void()>> sends;
    for (size_t c = 0; c < MessageCases().size(); ++c) {
        MessageCases()[c].make(host, targets[c]);
        const HWND hWnd = targets[c].hWnd;
        sends.push_back([hWnd] { ::SendMessageA(hWnd, kUnhandled, 1, 2); });
    }
    std::vector<double> ns = BestNsPerCall(sends, messages / rounds, rounds);
    std::vector<Row> rows;
    for (size_t c = 0; c < MessageCases().size(); ++c)
        rows.push_back({MessageCases()[c].name, MessageCases()[c].baseline, ns[c]});
    Print("SendMessage of an unhandled message", "ns/message", rows);
    targets.clear();

    std::vector<std::function<void()>> lifetimes;
    for (const CreateCase& c : CreateCases())
        lifetimes.push_back([&c, host] { c.createAndDestroy(host); });
    ns = BestNsPerCall(lifetimes, std::max(1, messages / 100 / rounds), rounds);
    rows.clear();
    for (size_t c = 0; c < CreateCases().size(); ++c)
        rows.push_back({CreateCases()[c].name, CreateCases()[c].baseline, ns[c]});
    Print("Window lifetime", "ns/window", rows);

    ::DestroyWindow(host);
    return 0;
}
