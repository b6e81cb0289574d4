// The menu-sound thread: one thread however many callers start it at once, and a thread that is
// asked to end, never cut off inside the player.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "CSkinEngine.h"

namespace {

std::atomic<int> g_started{0};
std::atomic<int> g_finished{0};
std::atomic<DWORD> g_playMs{0};

void SlowPlayer(int) {
    ++g_started;
    Sleep(g_playMs.load());
    ++g_finished;
}

int ThreadsOfThisProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

bool WaitFor(const std::function<bool()>& condition, DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    while (!condition()) {
        if (GetTickCount() > end) return false;
        Sleep(10);
    }
    return true;
}

class MenuSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_started = 0;
        g_finished = 0;
        g_playMs = 0;
        m_baseline = ThreadsOfThisProcess();
    }
    int m_baseline = 0;
};

}  // namespace

TEST_F(MenuSoundTest, StopWaitsForTheSoundInsteadOfCuttingItOff) {
    CSkinMenuSound sound;
    sound.SetPlayer(SlowPlayer);
    g_playMs = 1600;  // longer than the old ten waits of 100 ms
    sound.Play(CSkinMenuSound::Popup);
    ASSERT_TRUE(WaitFor([] { return g_started.load() == 1; }, 3000));
    sound.Stop();
    EXPECT_EQ(g_finished.load(), 1);
    EXPECT_FALSE(sound.IsRunning());
    EXPECT_TRUE(WaitFor([&] { return ThreadsOfThisProcess() == m_baseline; }, 3000));
}

TEST_F(MenuSoundTest, CallersStartingAtOnceShareOneThreadAndStopEndsIt) {
    CSkinMenuSound sound;
    sound.SetPlayer(SlowPlayer);
    g_playMs = 1;
    for (int round = 0; round < 20; ++round) {
        std::vector<std::thread> callers;
        std::atomic<bool> go{false};
        for (int i = 0; i < 6; ++i)
            callers.emplace_back([&] {
                while (!go) std::this_thread::yield();
                for (int k = 0; k < 20; ++k) sound.Play(k % 2 ? CSkinMenuSound::Popup : CSkinMenuSound::Command);
            });
        go = true;
        for (std::thread& t : callers) t.join();
        EXPECT_LE(ThreadsOfThisProcess(), m_baseline + 1) << "round " << round;
        sound.Stop();
        ASSERT_TRUE(WaitFor([&] { return ThreadsOfThisProcess() == m_baseline; }, 3000)) << "round " << round;
    }
    EXPECT_GT(g_finished.load(), 0);
}

TEST_F(MenuSoundTest, AThreadStillPlayingWhenStopGivesUpFinishesAloneAfterItsObjectIsGone) {
    g_playMs = 700;
    {
        CSkinMenuSound sound;
        sound.SetPlayer(SlowPlayer);
        sound.Play(CSkinMenuSound::Command);
        ASSERT_TRUE(WaitFor([] { return g_started.load() == 1; }, 3000));
        const DWORD start = GetTickCount();
        sound.Stop(50);
        EXPECT_LT(GetTickCount() - start, 500u);
        EXPECT_FALSE(sound.IsRunning());
        // A new request after the give-up gets a thread of its own.
        sound.Play(CSkinMenuSound::Popup);
        EXPECT_TRUE(sound.IsRunning());
        ASSERT_TRUE(WaitFor([] { return g_started.load() == 2; }, 3000));
    }  // the destructor waits for the second thread, not the first
    EXPECT_TRUE(WaitFor([] { return g_finished.load() == 2; }, 4000));
    EXPECT_TRUE(WaitFor([&] { return ThreadsOfThisProcess() == m_baseline; }, 3000));
}
