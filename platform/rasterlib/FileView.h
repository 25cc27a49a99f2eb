// A whole file seen as one block of memory through a read-only view of it, for
// a walk over its bytes that needs no copy of them. Only a file on a local
// disk is mapped: the pages of a file on a share or a removable disk could
// vanish under the walk, which would fault rather than fail a read. Header
// only, so that the exports map their files as the library does.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace rasterlib {

// True when the open file lies on a fixed, local disk. Asked of the handle
// rather than of its drive: the drive's type takes the system's mount manager
// a millisecond a file, this a few microseconds.
inline bool IsOnLocalDisk(HANDLE file)
{
    struct DeviceInformation {
        ULONG deviceType;
        ULONG characteristics;
    };
    typedef LONG(NTAPI * QueryVolumeFn)(HANDLE, void* status, void* information, ULONG length, int kind);
    constexpr int kFileFsDeviceInformation = 4;
    constexpr ULONG kDeviceDisk = 0x07, kDeviceDiskFileSystem = 0x08;
    constexpr ULONG kRemovableMedia = 0x01, kRemoteDevice = 0x10;
    static const QueryVolumeFn query = reinterpret_cast<QueryVolumeFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryVolumeInformationFile")));
    DeviceInformation device = {};
    ULONG_PTR status[2] = {};
    if (!query || query(file, status, &device, sizeof device, kFileFsDeviceInformation) < 0)
        return false;
    return (device.deviceType == kDeviceDisk || device.deviceType == kDeviceDiskFileSystem) &&
           !(device.characteristics & (kRemovableMedia | kRemoteDevice));
}

class FileView {
public:
    FileView() = default;
    ~FileView() { Release(); }
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;

    // Maps size bytes of the open file (its whole length). False, with nothing
    // mapped, for a file elsewhere than on a local disk or when a 32-bit
    // process finds no room for the view. The file's share mode decides
    // whether anyone may change the bytes while they are mapped.
    bool Map(HANDLE file, uint64_t size)
    {
        Release();
        if (size == 0 || size > SIZE_MAX || !IsOnLocalDisk(file))
            return false;
        m_mapping = ::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (!m_mapping)
            return false;
        m_view = ::MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, size_t(size));
        if (!m_view)
            Release();
        return m_view != nullptr;
    }
    const uint8_t* Data() const { return static_cast<const uint8_t*>(m_view); }
    void Release()
    {
        if (m_view)
            ::UnmapViewOfFile(m_view);
        if (m_mapping)
            ::CloseHandle(m_mapping);
        m_view = nullptr;
        m_mapping = nullptr;
    }

private:
    HANDLE m_mapping = nullptr;
    const void* m_view = nullptr;
};

}  // namespace rasterlib
