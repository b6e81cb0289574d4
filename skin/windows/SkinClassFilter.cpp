#include "SkinClassFilter.h"

#include <prsht.h>
#include <uxtheme.h>

#include <cstddef>
#include <cstring>

namespace skin {

namespace {

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    return a.size() == std::strlen(b) && ClassTableKey(a) == ClassTableKey(b);
}

constexpr DWORD kWizardStyles = 0x1002020;  // PSH_WIZARD, PSH_WIZARD97 and its older value

// What the sheet keeps behind DWLP_USER: its window, then the header it was created from.
struct PropertySheetRecord {
    HWND sheet;
    PROPSHEETHEADERA header;
};

bool IsReadable(const void* p, size_t size) {
    MEMORY_BASIC_INFORMATION info = {};
    if (!p || VirtualQuery(p, &info, sizeof(info)) != sizeof(info) || info.State != MEM_COMMIT) return false;
    if (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)) return false;
    const auto begin = reinterpret_cast<ULONG_PTR>(p);
    const auto end = reinterpret_cast<ULONG_PTR>(info.BaseAddress) + info.RegionSize;
    return begin + size <= end;
}

}  // namespace

std::string ClassTableKey(const std::string& className) {
    std::string key = className;
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

bool IsFilteredClass(const std::string& className) {
    if (className == "tooltips_class32") return true;
    for (const char* name : {"IME", "CicMarshalWndClass", "MSCTFIME UI", "WorkerW", "SHELLDLL_DefView"})
        if (EqualsIgnoringCase(className, name)) return true;
    return false;
}

bool IsUnknownClassLeftAlone(const std::string& className) {
    return className.find("Internet Explorer") != std::string::npos ||
           className.find("OleMainThread") != std::string::npos;
}

bool IsWindowsFormsClass(const std::string& className) {
    return className.find("WindowsForms") != std::string::npos;
}

std::string WindowsFormsInnerClass(const std::string& className) {
    const size_t first = className.find('.');
    if (first == std::string::npos) return std::string();
    const size_t second = className.find('.', first + 1);
    if (second == std::string::npos) return std::string();
    return className.substr(first + 1, second - first - 1);
}

int DialogTextureMode(const DialogTextureFacts& facts) {
    const bool page = facts.hasCreateStruct && facts.hasParent && (facts.style & DS_CONTROL) && (facts.style & WS_CHILD);
    if (!page) return ETDT_ENABLE;
    if (facts.parentMode == ETDT_ENABLETAB) return ETDT_ENABLETAB;
    if (facts.parentHasTabControl && facts.recordNamesParent && !(facts.sheetFlags & kWizardStyles))
        return ETDT_ENABLETAB;
    return ETDT_ENABLE;
}

bool ReadPropertySheetRecord(HWND sheet, bool* namesSheet, DWORD* flags) {
    *namesSheet = false;
    *flags = 0;
    const auto* record = reinterpret_cast<const PropertySheetRecord*>(GetWindowLongPtrA(sheet, DWLP_USER));
    // Any dialog may keep anything there: only memory that can be read is looked at.
    constexpr size_t needed = offsetof(PropertySheetRecord, header) + offsetof(PROPSHEETHEADERA, dwFlags) + sizeof(DWORD);
    if (!IsReadable(record, needed)) return false;
    *namesSheet = record->sheet == sheet;
    *flags = record->header.dwFlags;
    return true;
}

}  // namespace skin
