#pragma once
// CKWRegKeyStack: the application's registry access. A root key (not owned)
// and a stack of sub-keys opened or created one below the other; values are
// read and written on the top key; keys close from the innermost outwards.
#include <windows.h>

#include <cstdint>
#include <deque>

class CKWRegKeyStack {
public:
    CKWRegKeyStack() = default;
    // Closes every opened key.
    ~CKWRegKeyStack();
    CKWRegKeyStack(const CKWRegKeyStack&) = delete;
    CKWRegKeyStack& operator=(const CKWRegKeyStack&) = delete;

    // Closes every opened key and takes the new root.
    void SetRoot(HKEY root);
    HKEY GetRoot() const { return m_root; }
    // Opens or, with create, creates the sub-key below the top key (a name
    // may hold several levels) and pushes it. False without a root or a
    // name, or when the call fails; nothing is pushed then.
    bool Push(uint8_t create, const wchar_t* subKey);
    void Pop();
    void CloseAll();
    // The top key; the root when the stack is empty.
    HKEY Top() const;
    size_t GetDepth() const { return m_keys.size(); }

    // RegSetValueExW on the top key; false without a key or when it fails.
    bool SetValue(const wchar_t* name, DWORD type, const void* data, DWORD length);
    // RegQueryValueExW on the top key; its result code, ERROR_INVALID_HANDLE
    // without any key.
    LONG QueryValue(const wchar_t* name, DWORD* type, void* data, DWORD* length);
    // RegDeleteKeyW below the top key; its result code, ERROR_INVALID_HANDLE
    // without any key, ERROR_INVALID_PARAMETER without a name.
    LONG DeleteSubKey(const wchar_t* subKey);

    // Set when a value was written or a key deleted through the stack.
    bool IsChanged() const { return m_changed != 0; }
    void ClearChanged() { m_changed = 0; }

private:
    HKEY m_root = nullptr;
    std::deque<HKEY> m_keys;  // innermost last
    uint8_t m_changed = 0;
};
