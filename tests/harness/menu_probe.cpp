// Loaded into the program by the test's window hook: records the items of each popup
// menu as it opens, which another process cannot read from the menu handle itself.
#include "MenuProbeRecord.h"

namespace {

void Record(HMENU menu)
{
    const std::string name = harness::MenuProbeSectionName(GetCurrentProcessId());
    HANDLE section = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name.c_str());
    if (!section)
        return;
    auto* record = static_cast<harness::MenuProbeRecord*>(MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, 0));
    if (record) {
        const int count = GetMenuItemCount(menu);
        record->count = 0;
        for (int i = 0; i < count && i < static_cast<int>(sizeof record->items / sizeof record->items[0]); ++i) {
            harness::MenuProbeItem& item = record->items[i];
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
            info.dwTypeData = item.text;
            info.cch = sizeof item.text;
            item.text[0] = '\0';
            GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
            item.id = info.wID;
            item.state = info.fState;
            item.type = info.fType;
            record->count = i + 1;
        }
        InterlockedIncrement(&record->menus);
        UnmapViewOfFile(record);
    }
    CloseHandle(section);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == WM_INITMENUPOPUP)
            Record(reinterpret_cast<HMENU>(call->wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
