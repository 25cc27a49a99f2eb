// A scratch registry key of the test process, so that no test touches the
// program's real settings: HKEY_CURRENT_USER\Software\OstraTallierTests\<pid>,
// removed with its subtree when the helper goes out of scope.
#pragma once

#include <windows.h>

#include <string>

class CScratchRegistryKey {
public:
    CScratchRegistryKey() : m_path(L"Software\\OstraTallierTests\\" + std::to_wstring(::GetCurrentProcessId()))
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    }
    ~CScratchRegistryKey()
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\OstraTallierTests");  // only when empty
    }
    CScratchRegistryKey(const CScratchRegistryKey&) = delete;
    CScratchRegistryKey& operator=(const CScratchRegistryKey&) = delete;

    // Below HKEY_CURRENT_USER, without a final backslash.
    const std::wstring& Path() const { return m_path; }
    std::wstring Sub(const wchar_t* name) const { return m_path + L"\\" + name; }

    bool SetDword(const std::wstring& key, const wchar_t* name, DWORD value) const
    {
        return ::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_DWORD, &value, sizeof value) ==
               ERROR_SUCCESS;
    }
    bool SetBytes(const std::wstring& key, const wchar_t* name, DWORD type, const void* data, DWORD size) const
    {
        return ::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, type, data, size) == ERROR_SUCCESS;
    }
    bool SetString(const std::wstring& key, const wchar_t* name, const std::wstring& text) const
    {
        return SetBytes(key, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    // The value's type and bytes; false when it is missing.
    bool Get(const std::wstring& key, const wchar_t* name, DWORD& type, std::wstring& bytes) const
    {
        DWORD size = 0;
        if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            return false;
        std::wstring data((size + 1) / 2, L'\0');
        if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, &data[0], &size) !=
            ERROR_SUCCESS)
            return false;
        data.resize((size + 1) / 2);
        bytes = data;
        return true;
    }
    DWORD GetDword(const std::wstring& key, const wchar_t* name) const
    {
        DWORD value = 0xDEADBEEF, size = sizeof value;
        ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
        return value;
    }
    bool Exists(const std::wstring& key, const wchar_t* name) const
    {
        return ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
    }

private:
    std::wstring m_path;
};
