#pragma once
// Reading and rewriting a loaded module's import address table. Every read is checked
// against the memory map first, so a module that is malformed, half unloaded or mapped
// as data is left alone instead of faulting.
#include <windows.h>
#include <functional>

namespace skin {

// One import address slot: the pointer-sized cell the loader filled, and on a 32-bit system of
// the Windows 9x family the 32-bit operand of the push stub it points at.
struct ImportSlot {
    void** cell = nullptr;       // the table entry
    DWORD* stubOperand = nullptr;  // non-null only for a push stub whose operand is the match
};

// ASCII letters compared without regard to case; other bytes as they are.
bool EqualsAsciiNoCase(const char* a, const char* b);

// TRUE when size bytes at address can be read now.
bool IsReadable(const void* address, size_t size);

// Calls visit for every slot of the descriptors whose DLL name equals dllName (ASCII case
// ignored; null visits every descriptor). FALSE when the module has no readable import table.
bool ForEachImportSlot(HMODULE module, const char* dllName,
                       const std::function<void(void** cell, const char* dllName)>& visit);

// The slots of dllName in module that lead to target (directly or through a push stub).
bool FindImportSlots(HMODULE module, const char* dllName, const void* target,
                     const std::function<void(const ImportSlot&)>& visit);

// Writes value into the slot with the page made writable for the moment; FALSE when the page
// cannot be made writable.
bool WriteImportSlot(const ImportSlot& slot, void* value);

}  // namespace skin
