#include "framework/KWRegKeyStack.h"

CKWRegKeyStack::~CKWRegKeyStack()
{
    CloseAll();
}

void CKWRegKeyStack::SetRoot(HKEY root)
{
    CloseAll();
    m_root = root;
}

bool CKWRegKeyStack::Push(uint8_t create, const wchar_t* subKey)
{
    if (!m_root || !subKey || !*subKey)
        return false;
    HKEY key = nullptr;
    LONG result = create ? ::RegCreateKeyW(Top(), subKey, &key) : ::RegOpenKeyW(Top(), subKey, &key);
    if (result != ERROR_SUCCESS || !key)
        return false;
    m_keys.push_back(key);
    return true;
}

void CKWRegKeyStack::Pop()
{
    if (m_keys.empty())
        return;
    ::RegCloseKey(m_keys.back());
    m_keys.pop_back();
}

void CKWRegKeyStack::CloseAll()
{
    while (!m_keys.empty())
        Pop();
}

HKEY CKWRegKeyStack::Top() const
{
    return m_keys.empty() ? m_root : m_keys.back();
}

bool CKWRegKeyStack::SetValue(const wchar_t* name, DWORD type, const void* data, DWORD length)
{
    HKEY key = Top();
    if (!key)
        return false;
    if (::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), length) != ERROR_SUCCESS)
        return false;
    m_changed = 1;
    return true;
}

LONG CKWRegKeyStack::QueryValue(const wchar_t* name, DWORD* type, void* data, DWORD* length)
{
    HKEY key = Top();
    if (!key)
        return ERROR_INVALID_HANDLE;
    return ::RegQueryValueExW(key, name, nullptr, type, static_cast<BYTE*>(data), length);
}

LONG CKWRegKeyStack::DeleteSubKey(const wchar_t* subKey)
{
    HKEY key = Top();
    if (!key)
        return ERROR_INVALID_HANDLE;
    if (!subKey || !*subKey)
        return ERROR_INVALID_PARAMETER;
    LONG result = ::RegDeleteKeyW(key, subKey);
    if (result == ERROR_SUCCESS)
        m_changed = 1;
    return result;
}
