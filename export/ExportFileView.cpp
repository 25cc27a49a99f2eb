#include "export/ExportFileView.h"

namespace {

// Views of more than this leave too little of a 32-bit address space.
const uint64_t kMaxView = uint64_t(512) << 20;

}  // namespace

CExportFileView::CExportFileView(const wchar_t* path)
{
    if (!path || !*path)
        return;
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER size;
    HANDLE mapping = nullptr;
    if (::GetFileSizeEx(file, &size) && size.QuadPart > 0 && uint64_t(size.QuadPart) <= kMaxView)
        mapping = ::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    // The view keeps the file mapped after both handles are closed.
    ::CloseHandle(file);
    if (!mapping)
        return;
    m_data = static_cast<const uint8_t*>(::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    ::CloseHandle(mapping);
    if (m_data)
        m_size = static_cast<size_t>(size.QuadPart);
}

CExportFileView::~CExportFileView()
{
    if (m_data)
        ::UnmapViewOfFile(m_data);
}
