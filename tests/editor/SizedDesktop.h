#pragma once
// A desktop of a size of its own for the program under test: Wine shows a
// desktop that its settings size as a virtual desktop (a window on the test
// display), so a program started on it (CProgramRun::UseDesktop) meets a
// screen of that size.
#include <windows.h>

#include <string>

namespace edtest {

class CSizedDesktop {
public:
    CSizedDesktop(const wchar_t* name, const wchar_t* size) : m_name(name)
    {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, kSizes, name, REG_SZ, size, DWORD((wcslen(size) + 1) * sizeof(wchar_t)));
        m_desktop = ::CreateDesktopW(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    }
    ~CSizedDesktop()
    {
        ::CloseDesktop(m_desktop);
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSizes, m_name.c_str());
    }
    const std::wstring& Name() const { return m_name; }

private:
    static constexpr const wchar_t* kSizes = L"Software\\Wine\\Explorer\\Desktops";
    std::wstring m_name;
    HDESK m_desktop = nullptr;
};

}  // namespace edtest
