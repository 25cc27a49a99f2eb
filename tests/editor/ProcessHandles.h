#pragma once
// The handles another process holds, counted in the system's handle table
// (Wine answers GetProcessHandleCount with 0), in all and by the kinds that
// matter here: a drop target whose window went before it was revoked leaves
// a section behind (its marshalled interface), a file never closed a file;
// registry keys are counted apart, since Wine's file dialog keeps one open
// for each file chosen in it. Header-only, so that the benchmarks count them
// the same way.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace edtest {

struct ProcessHandles {
    int all = -1;  // -1: the table could not be read
    int sections = 0;
    int files = 0;
    int keys = 0;
    int Others() const { return all - keys; }
};

namespace handledetail {

// SYSTEM_HANDLE_INFORMATION: a count, then one entry per handle.
struct Entry {
    ULONG processId;
    UCHAR objectType;
    UCHAR flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};

// The table's entries; empty when it cannot be read.
inline std::vector<Entry> ReadTable()
{
    using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    const ULONG kSystemHandleInformation = 16;
    const LONG kInfoLengthMismatch = LONG(0xC0000004);
    static const QueryFn query =
        reinterpret_cast<QueryFn>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation"));
    std::vector<uint8_t> table(1 << 20);
    LONG status = -1;
    while (query) {
        ULONG needed = 0;
        status = query(kSystemHandleInformation, table.data(), ULONG(table.size()), &needed);
        if (status != kInfoLengthMismatch)
            break;
        table.resize(table.size() * 2);
    }
    if (status < 0)
        return {};
    const ULONG count = *reinterpret_cast<const ULONG*>(table.data());
    const Entry* entries = reinterpret_cast<const Entry*>(table.data() + sizeof(ULONG_PTR));
    return std::vector<Entry>(entries, entries + count);
}

// The type number of one of this process's handles; -1 when it is not listed.
inline int TypeOf(const std::vector<Entry>& table, HANDLE handle)
{
    for (const Entry& entry : table) {
        if (entry.processId == ::GetCurrentProcessId() && entry.handle == USHORT(uintptr_t(handle)))
            return entry.objectType;
    }
    return -1;
}

}  // namespace handledetail

inline ProcessHandles CountProcessHandles(DWORD processId)
{
    using namespace handledetail;
    // The type numbers, learnt from handles of each kind made here.
    HKEY key = nullptr;
    ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key);
    HANDLE section = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, nullptr);
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    HANDLE file = ::CreateFileW(self, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    const std::vector<Entry> table = ReadTable();
    const int keyType = TypeOf(table, key), sectionType = TypeOf(table, section), fileType = TypeOf(table, file);
    if (key)
        ::RegCloseKey(key);
    if (section)
        ::CloseHandle(section);
    if (file != INVALID_HANDLE_VALUE)
        ::CloseHandle(file);
    ProcessHandles counts;
    if (table.empty())
        return counts;
    counts.all = 0;
    for (const Entry& entry : table) {
        if (entry.processId != processId)
            continue;
        ++counts.all;
        counts.sections += entry.objectType == sectionType;
        counts.files += entry.objectType == fileType;
        counts.keys += entry.objectType == keyType;
    }
    return counts;
}

}  // namespace edtest
