// Dispatch through the looked-up message maps and the routing of messages to objects,
// on two threads at once, against a plain walk of the tables.
#include "Afx.h"
#include <gtest/gtest.h>
#include <atomic>
#include <thread>
#include <vector>

namespace {

const UINT kAsk = WM_USER + 60;      // answered by the most derived entry
const UINT kDecline = WM_USER + 61;  // the derived entry declines; the base one must not run
const UINT kBaseOnly = WM_USER + 62;
const UINT kNobody = WM_USER + 63;
const UINT kCode = 5;

#define ANSWER_(msg, code, first, last, value) \
    {msg, code, first, last, AFX_THUNK_ { (void)AFX_SELF_; (void)wParam; (void)lParam; *_r = value; return true; }},

class BaseTarget : public CWnd {
protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseTarget, CWnd)
    ANSWER_(kAsk, 0, 0, 0, 1)
    ANSWER_(kDecline, 0, 0, 0, 1)
    ANSWER_(kBaseOnly, 0, 0, 0, 1)
    ANSWER_(WM_COMMAND, kCode, 10, 20, 11)
    ANSWER_(WM_COMMAND, kCode + 1, 10, 20, 12)
END_MESSAGE_MAP()

class DerivedTarget : public BaseTarget {
protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedTarget, BaseTarget)
    ANSWER_(WM_COMMAND, kCode, 15, 15, 21)
    ANSWER_(kAsk, 0, 0, 0, 2)
    {kDecline, 0, 0, 0, AFX_THUNK_ { (void)AFX_SELF_; (void)wParam; (void)lParam; *_r = 2; return false; }},
    ANSWER_(WM_COMMAND, kCode, 18, 30, 22)
END_MESSAGE_MAP()

// Exposes the map for the reference walk.
template <class T>
class Open : public T {
public:
    const AFX_MSGMAP* Map() const { return this->GetMessageMap(); }
};

struct Outcome {
    bool handled;
    LRESULT result;
    bool operator==(const Outcome& o) const { return handled == o.handled && (!handled || result == o.result); }
};

// What dispatch did before any lookup structure: the first matching entry, derived first.
Outcome Walk(CCmdTarget* target, const AFX_MSGMAP* map, UINT message, UINT code, UINT id)
{
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (e->nMessage == message && e->nCode == code && id >= e->nID && id <= e->nLastID) {
                LRESULT r = 0;
                const bool handled = e->pfn(target, 0, 0, &r);
                return {handled, r};
            }
        }
    }
    return {false, 0};
}

template <class T>
int CompareWithWalk(Open<T>& target)
{
    static const UINT messages[] = {kAsk, kDecline, kBaseOnly, kNobody, WM_COMMAND};
    static const UINT codes[] = {0, kCode, kCode + 1};
    static const UINT ids[] = {0, 9, 10, 15, 17, 18, 20, 21, 30, 31};
    int mismatches = 0;
    for (UINT message : messages)
        for (UINT code : codes)
            for (UINT id : ids) {
                Outcome got{};
                got.handled = target.DispatchEntry(message, code, id, 0, 0, &got.result);
                if (!(got == Walk(&target, target.Map(), message, code, id)))
                    ++mismatches;
            }
    return mismatches;
}

HWND MakeWindow()
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(ConcurrentDispatch, TwoThreadsRouteAndLookUpAsAPlainWalkWould)
{
    std::atomic<int> ready{0};
    std::atomic<int> failures{0};
    auto work = [&] {
        Open<DerivedTarget> derived;
        Open<BaseTarget> base;
        HWND shared = MakeWindow();
        HWND other = MakeWindow();
        bool ok = derived.SubclassWindow(shared) && base.SubclassWindow(other);
        ++ready;
        while (ready.load() < 2) {}  // both threads build the maps' indexes at once
        for (int i = 0; i < 400; ++i) {
            failures += CompareWithWalk(derived) + CompareWithWalk(base);
            // Alternating windows, and the window's object swapped under the thread's
            // last hit: each message must reach the object bound at the time.
            ok &= SendMessageA(shared, kAsk, 0, 0) == 2 && SendMessageA(other, kAsk, 0, 0) == 1;
            if (i % 20 == 10) {
                derived.UnsubclassWindow();
                base.UnsubclassWindow();
                ok &= SendMessageA(shared, kAsk, 0, 0) == 0;
                ok &= base.SubclassWindow(shared) && SendMessageA(shared, kAsk, 0, 0) == 1;
                base.UnsubclassWindow();
                ok &= base.SubclassWindow(other) && derived.SubclassWindow(shared);
            }
            if (i % 50 == 0) {
                CWnd passing;
                passing.SubclassWindow(MakeWindow());
                passing.DestroyWindow();
            }
        }
        derived.UnsubclassWindow();
        base.UnsubclassWindow();
        DestroyWindow(shared);
        DestroyWindow(other);
        if (!ok)
            ++failures;
    };
    std::thread first(work), second(work);
    first.join();
    second.join();
    EXPECT_EQ(0, failures.load());
}

}  // namespace
