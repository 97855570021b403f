// Import-table patching for tests that count or answer a module's calls to the system.
#pragma once
#include <windows.h>

#include <cstring>

// Calls `visit(importedModule, name, slot)` for every import by name of `module`.
template <class Visit>
void ForEachImport(HMODULE module, Visit visit)
{
    auto *base = reinterpret_cast<BYTE *>(module);
    auto *dos = reinterpret_cast<IMAGE_DOS_HEADER *>(base);
    auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto *d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + imports.VirtualAddress);
         d->Name; ++d) {
        auto *names = reinterpret_cast<IMAGE_THUNK_DATA *>(base + d->OriginalFirstThunk);
        auto *slots = reinterpret_cast<IMAGE_THUNK_DATA *>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto *byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData);
            visit(reinterpret_cast<const char *>(base + d->Name),
                  reinterpret_cast<const char *>(byName->Name), &slots->u1.Function);
        }
    }
}

// The import table is read-only once loaded.
inline void WriteImportSlot(ULONG_PTR *slot, ULONG_PTR value)
{
    DWORD old = 0;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof(*slot), old, &old);
}

// Replaces one import of `module`, this program by default (by the imported module's name,
// case-insensitive); returns the previous address, or null when there is no such import.
inline void *ReplaceImport(const char *imported, const char *function, void *replacement,
                           HMODULE module = GetModuleHandleW(nullptr))
{
    void *previous = nullptr;
    ForEachImport(module, [&](const char *from, const char *name, ULONG_PTR *slot) {
        if (previous || _stricmp(from, imported) != 0 || strcmp(name, function) != 0)
            return;
        previous = reinterpret_cast<void *>(*slot);
        WriteImportSlot(slot, reinterpret_cast<ULONG_PTR>(replacement));
    });
    return previous;
}
