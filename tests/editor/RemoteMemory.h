// Memory inside the program's process, for the messages to its controls
// whose records (and the texts they point to) must live there.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace edtest {

class CRemote {
public:
    CRemote(HANDLE process, size_t size) : m_process(process) { Allocate(size); }
    // In the process of the window; the handle is its own.
    CRemote(HWND window, size_t size)
    {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        m_process = m_owned =
            ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        Allocate(size);
    }
    ~CRemote()
    {
        ::VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
        if (m_owned)
            ::CloseHandle(m_owned);
    }
    CRemote(const CRemote&) = delete;
    CRemote& operator=(const CRemote&) = delete;

    template <class T>
    LPARAM Put(const T& value, size_t offset = 0)
    {
        ::WriteProcessMemory(m_process, static_cast<char*>(m_address) + offset, &value, sizeof(T), nullptr);
        return At(offset);
    }
    template <class T>
    T Get(size_t offset = 0) const
    {
        T value = {};
        ::ReadProcessMemory(m_process, static_cast<char*>(m_address) + offset, &value, sizeof(T), nullptr);
        return value;
    }
    LPARAM At(size_t offset) const { return reinterpret_cast<LPARAM>(static_cast<char*>(m_address) + offset); }
    std::wstring Text(size_t offset) const
    {
        wchar_t text[260] = {};
        ::ReadProcessMemory(m_process, static_cast<char*>(m_address) + offset, text, sizeof(text) - 2, nullptr);
        return text;
    }

    // Where the records put their texts.
    static constexpr size_t kTextAt = 256;

private:
    void Allocate(size_t size) { m_address = ::VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT, PAGE_READWRITE); }

    HANDLE m_process = nullptr;
    HANDLE m_owned = nullptr;
    void* m_address = nullptr;
};

// The text of a list view's item in another process.
template <class Process>
std::wstring ListItemText(Process process, HWND list, int index)
{
    CRemote remote(process, 1024);
    LVITEMW record = {};
    record.pszText = reinterpret_cast<wchar_t*>(remote.At(CRemote::kTextAt));
    record.cchTextMax = 260;
    ::SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(index), remote.Put(record));
    return remote.Text(CRemote::kTextAt);
}

// The text of a tree item in another process.
inline std::wstring TreeText(HANDLE process, HWND tree, HTREEITEM item)
{
    CRemote remote(process, 1024);
    TVITEMW record = {};
    record.mask = TVIF_TEXT;
    record.hItem = item;
    record.pszText = reinterpret_cast<wchar_t*>(remote.At(CRemote::kTextAt));
    record.cchTextMax = 260;
    ::SendMessageW(tree, TVM_GETITEMW, 0, remote.Put(record));
    return remote.Text(CRemote::kTextAt);
}

// The tree as text: each item's name, its children in brackets.
inline std::wstring TreeShape(HANDLE process, HWND tree, HTREEITEM item = nullptr)
{
    std::wstring shape;
    item = item ? item : TreeView_GetRoot(tree);
    for (; item; item = TreeView_GetNextSibling(tree, item)) {
        shape += (shape.empty() ? L"" : L" ") + TreeText(process, tree, item);
        if (HTREEITEM child = TreeView_GetChild(tree, item))
            shape += L"[" + TreeShape(process, tree, child) + L"]";
    }
    return shape;
}

}  // namespace edtest
