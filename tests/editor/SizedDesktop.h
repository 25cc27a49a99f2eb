#pragma once
// A desktop of a size of its own for the program under test: Wine shows a
// desktop named in its settings as a virtual desktop of that size (a window
// on the test display), so that a program started on it meets a screen of
// that size whatever the display's. A thread that works on it finds the
// program's windows and photographs its screen.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace edtest {

class CSizedDesktop {
public:
    CSizedDesktop(const wchar_t* name, int width, int height) : m_name(name)
    {
        const std::wstring size = std::to_wstring(width) + L"x" + std::to_wstring(height);
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, kSizes, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_sizes, nullptr) ==
            ERROR_SUCCESS)
            ::RegSetValueExW(m_sizes, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(size.c_str()),
                             DWORD((size.size() + 1) * sizeof(wchar_t)));
        m_desktop = ::CreateDesktopW(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    }
    ~CSizedDesktop()
    {
        if (m_desktop)
            ::CloseDesktop(m_desktop);
        if (m_sizes) {
            ::RegDeleteValueW(m_sizes, m_name.c_str());
            ::RegCloseKey(m_sizes);
        }
    }
    CSizedDesktop(const CSizedDesktop&) = delete;
    CSizedDesktop& operator=(const CSizedDesktop&) = delete;

    const std::wstring& Name() const { return m_name; }
    // The work done on a thread of the desktop; false when it could not join it.
    bool Run(const std::function<void()>& work)
    {
        bool joined = false;
        std::thread([&] {
            joined = m_desktop && ::SetThreadDesktop(m_desktop);
            if (joined)
                work();
        }).join();
        return joined;
    }

private:
    static constexpr const wchar_t* kSizes = L"Software\\Wine\\Explorer\\Desktops";
    std::wstring m_name;
    HKEY m_sizes = nullptr;
    HDESK m_desktop = nullptr;
};

}  // namespace edtest
