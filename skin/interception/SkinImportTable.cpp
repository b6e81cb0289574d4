#include "SkinImportTable.h"

#include <dbghelp.h>

#include <cstring>

namespace skin {

namespace {

constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                            PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

}  // namespace

bool EqualsAsciiNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char ca = *a, cb = *b;
        if (ca >= 'a' && ca <= 'z') ca = static_cast<char>(ca - 'a' + 'A');
        if (cb >= 'a' && cb <= 'z') cb = static_cast<char>(cb - 'a' + 'A');
        if (ca != cb) return false;
        if (!ca) return true;
    }
}

namespace {

// Readable memory found so far, so that a walk over one table asks the memory map once per region.
class ReadableRegion {
public:
    bool Covers(const void* p, size_t n) {
        const auto* b = static_cast<const BYTE*>(p);
        if (b >= m_begin && b + n <= m_end && b + n >= b) return true;
        if (!IsReadable(p, n)) return false;
        MEMORY_BASIC_INFORMATION mbi = {};
        if (VirtualQuery(p, &mbi, sizeof(mbi))) {
            m_begin = static_cast<const BYTE*>(mbi.BaseAddress);
            m_end = m_begin + mbi.RegionSize;
        }
        return true;
    }

private:
    const BYTE* m_begin = nullptr;
    const BYTE* m_end = nullptr;
};

// A name inside the image: readable up to its terminator and no longer than a DLL name can be.
bool ReadableName(const char* name, ReadableRegion& region) {
    for (size_t i = 0; i < 512; ++i) {
        if (!region.Covers(name + i, 1)) return false;
        if (name[i] == '\0') return true;
    }
    return false;
}

}  // namespace

bool IsReadable(const void* address, size_t size) {
    const BYTE* p = static_cast<const BYTE*>(address);
    const BYTE* end = p + size;
    if (!p || end < p) return false;
    while (p < end) {
        MEMORY_BASIC_INFORMATION mbi = {};
        if (!VirtualQuery(p, &mbi, sizeof(mbi))) return false;
        if (mbi.State != MEM_COMMIT || (mbi.Protect & (PAGE_GUARD | PAGE_NOACCESS)) || !(mbi.Protect & kReadable))
            return false;
        p = static_cast<const BYTE*>(mbi.BaseAddress) + mbi.RegionSize;
    }
    return true;
}

bool ForEachImportSlot(HMODULE module, const char* dllName,
                       const std::function<void(void** cell, const char* dllName)>& visit) {
    // Handles with low bits set are data or resource mappings: no import table was bound.
    if (!module || (reinterpret_cast<ULONG_PTR>(module) & 3)) return false;
    auto* base = reinterpret_cast<BYTE*>(module);
    ReadableRegion region;
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    if (!region.Covers(dos, sizeof(*dos)) || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0 ||
        dos->e_lfanew > 0x10000000)
        return false;
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (!region.Covers(nt, sizeof(*nt)) || nt->Signature != IMAGE_NT_SIGNATURE ||
        nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC)
        return false;
    const ULONG_PTR imageSize = nt->OptionalHeader.SizeOfImage;
    auto inImage = [&](const void* p, size_t n) {
        const auto* b = static_cast<const BYTE*>(p);
        return b >= base && b + n <= base + imageSize && region.Covers(p, n);
    };

    ULONG size = 0;
    auto* desc = static_cast<IMAGE_IMPORT_DESCRIPTOR*>(
        ImageDirectoryEntryToData(module, TRUE, IMAGE_DIRECTORY_ENTRY_IMPORT, &size));
    if (!desc) return false;
    for (; inImage(desc, sizeof(*desc)) && desc->Name; ++desc) {
        const char* name = reinterpret_cast<const char*>(base + desc->Name);
        if (desc->Name >= imageSize || !ReadableName(name, region)) continue;
        if (dllName && !EqualsAsciiNoCase(name, dllName)) continue;
        if (!desc->FirstThunk || desc->FirstThunk >= imageSize) continue;
        for (auto** cell = reinterpret_cast<void**>(base + desc->FirstThunk); inImage(cell, sizeof(*cell)) && *cell;
             ++cell)
            visit(cell, name);
    }
    return true;
}

bool FindImportSlots(HMODULE module, const char* dllName, const void* target,
                     const std::function<void(const ImportSlot&)>& visit) {
#ifndef _WIN64
    SYSTEM_INFO si = {};
    GetSystemInfo(&si);
    const auto* highest = static_cast<const BYTE*>(si.lpMaximumApplicationAddress);
#endif
    return ForEachImportSlot(module, dllName, [&](void** cell, const char*) {
        if (*cell == target) {
            visit(ImportSlot{cell, nullptr});
            return;
        }
#ifndef _WIN64
        // Windows 9x hands out "push address; ret" stubs above the application range for
        // system entries; the pushed address is the real one.
        const auto* stub = static_cast<const BYTE*>(*cell);
        if (stub > highest && IsReadable(stub, 5) && stub[0] == 0x68) {
            DWORD operand;
            std::memcpy(&operand, stub + 1, sizeof(operand));
            if (operand == reinterpret_cast<DWORD>(target))
                visit(ImportSlot{cell, reinterpret_cast<DWORD*>(const_cast<BYTE*>(stub + 1))});
        }
#endif
    });
}

bool WriteImportSlot(const ImportSlot& slot, void* value) {
    void* place = slot.stubOperand ? static_cast<void*>(slot.stubOperand) : static_cast<void*>(slot.cell);
    const size_t size = slot.stubOperand ? sizeof(DWORD) : sizeof(void*);
    MEMORY_BASIC_INFORMATION mbi = {};
    if (!VirtualQuery(place, &mbi, sizeof(mbi)) || mbi.State != MEM_COMMIT) return false;
    // Tables can share a page with code that other threads run: keep it executable if it was.
    const bool executable =
        (mbi.Protect & (PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)) != 0;
    DWORD old = 0;
    if (!VirtualProtect(place, size, executable ? PAGE_EXECUTE_READWRITE : PAGE_READWRITE, &old)) return false;
    if (slot.stubOperand)
        InterlockedExchange(reinterpret_cast<LONG volatile*>(slot.stubOperand),
                            static_cast<LONG>(reinterpret_cast<ULONG_PTR>(value)));
    else
        InterlockedExchangePointer(slot.cell, value);
    DWORD ignored = 0;
    VirtualProtect(place, size, old, &ignored);
    return true;
}

}  // namespace skin
