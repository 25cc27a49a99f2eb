#pragma once
// The small volume the test runner mounts for each run of a test program
// (scripts/wine-run.sh, OT_SMALL_VOLUME): a real disk of a few megabytes that
// a test fills, so that a write fails as it does on a full disk. A test of a
// full disk needs it: without it the test fails and says how it is made.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/framework/KWTestFiles.h"

class CSmallVolume {
public:
    CSmallVolume()
    {
        wchar_t root[MAX_PATH] = {};
        const DWORD length = ::GetEnvironmentVariableW(L"OT_SMALL_VOLUME", root, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return;
        // A folder of this test's own on the volume, gone with the helper.
        for (unsigned n = ::GetTickCount() ^ ::GetCurrentProcessId();; ++n) {
            m_folder = std::wstring(root) + L"t" + std::to_wstring(n % 100000) + L"\\";
            if (::CreateDirectoryW(m_folder.c_str(), nullptr))
                break;
            if (::GetLastError() != ERROR_ALREADY_EXISTS) {
                m_folder.clear();
                return;
            }
        }
        m_filler = std::wstring(root) + L"filler.bin";
    }
    ~CSmallVolume()
    {
        Free();
        if (!m_folder.empty())
            CKWTestTempFolder::RemoveTree(m_folder);
    }
    CSmallVolume(const CSmallVolume&) = delete;
    CSmallVolume& operator=(const CSmallVolume&) = delete;

    // False, with the test failed and the reason given, when the runner
    // mounted no volume.
    bool Ready() const
    {
        if (!m_folder.empty())
            return true;
        ADD_FAILURE() << "no small volume: scripts/wine-run.sh mounts one (a tmpfs, as root or with sudo) and "
                         "names it in OT_SMALL_VOLUME";
        return false;
    }
    // This test's folder on the volume, with a trailing backslash.
    const std::wstring& Path() const { return m_folder; }

    // The bytes the volume has free.
    uint64_t FreeBytes() const
    {
        ULARGE_INTEGER available = {}, total = {}, free = {};
        if (m_folder.empty() || !::GetDiskFreeSpaceExW(m_folder.c_str(), &available, &total, &free))
            return 0;
        return available.QuadPart;
    }

    // Fills the volume with a file of its own until room bytes (rounded to
    // the volume's pages) are left free; false when that cannot be done.
    bool LeaveRoom(uint64_t room)
    {
        Free();
        const uint64_t available = FreeBytes();
        if (available < room)
            return false;
        HANDLE file = ::CreateFileW(m_filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        std::string block(1 << 16, 'f');
        uint64_t left = available - room;
        bool ok = true;
        while (ok && left > 0) {
            const DWORD piece = left < block.size() ? DWORD(left) : DWORD(block.size());
            DWORD written = 0;
            ok = ::WriteFile(file, block.data(), piece, &written, nullptr) && written == piece;
            left -= piece;
        }
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
