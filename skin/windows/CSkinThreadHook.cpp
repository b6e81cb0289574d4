#include "CSkinThreadHook.h"

CSkinThreadHook& CSkinThreadHook::Current() {
    thread_local CSkinThreadHook record;
    return record;
}

void CSkinThreadHook::Install(HOOKPROC procedure) {
    if (!m_hook) m_hook = SetWindowsHookExA(WH_CBT, procedure, nullptr, GetCurrentThreadId());
}

CSkinThreadHook::~CSkinThreadHook() {
    if (m_hook) UnhookWindowsHookEx(m_hook);
}
