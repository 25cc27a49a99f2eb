#pragma once
// The small volume the test runner mounts for each run of a test program
// (scripts/wine-run.sh, OT_SMALL_VOLUME): a real disk of a few megabytes that
// a test fills, so that writes fail as they do on a full disk. Without it a
// test of a full disk fails and says how the volume is made.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/framework/KWTestFiles.h"

class CSmallVolume {
public:
    // A folder of the test's own on the volume, gone with the helper.
    CSmallVolume()
    {
        wchar_t root[MAX_PATH] = {};
        const DWORD length = ::GetEnvironmentVariableW(L"OT_SMALL_VOLUME", root, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return;
        m_filler = std::wstring(root) + L"filler.bin";
        m_folder = std::wstring(root) + L"t" + std::to_wstring(::GetCurrentProcessId()) + L"\\";
        if (!::CreateDirectoryW(m_folder.c_str(), nullptr))
            m_folder.clear();
    }
    ~CSmallVolume()
    {
        Free();
        if (!m_folder.empty())
            CKWTestTempFolder::RemoveTree(m_folder);
    }
    CSmallVolume(const CSmallVolume&) = delete;
    CSmallVolume& operator=(const CSmallVolume&) = delete;

    // False, with the test failed, when the runner mounted no volume.
    bool Ready() const
    {
        if (m_folder.empty())
            ADD_FAILURE() << "no small volume: scripts/wine-run.sh mounts one (a tmpfs, as root or with sudo) and "
                             "names it in OT_SMALL_VOLUME";
        return !m_folder.empty();
    }
    // With a trailing backslash.
    const std::wstring& Path() const { return m_folder; }

    // Fills the volume with a file of its own until room bytes (rounded to
    // the volume's pages) are left free; false when that cannot be done.
    bool LeaveRoom(uint64_t room)
    {
        Free();
        ULARGE_INTEGER available = {}, total = {}, free = {};
        if (!::GetDiskFreeSpaceExW(m_folder.c_str(), &available, &total, &free) || available.QuadPart < room)
            return false;
        HANDLE file = ::CreateFileW(m_filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const std::string block(1 << 16, 'f');
        bool ok = file != INVALID_HANDLE_VALUE;
        for (uint64_t left = available.QuadPart - room; ok && left > 0;) {
            const DWORD piece = left < block.size() ? DWORD(left) : DWORD(block.size());
            DWORD written = 0;
            ok = ::WriteFile(file, block.data(), piece, &written, nullptr) && written == piece;
            left -= piece;
        }
        if (file != INVALID_HANDLE_VALUE)
            ::CloseHandle(file);
        return ok;
    }

    // Takes the filling away: the volume's room is free again.
    void Free() const
    {
        if (!m_filler.empty())
            ::DeleteFileW(m_filler.c_str());
    }

private:
    std::wstring m_folder;
    std::wstring m_filler;
};
