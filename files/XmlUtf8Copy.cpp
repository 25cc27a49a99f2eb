#include "files/XmlUtf8Copy.h"

#include "files/XmlValueForms.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace {

const DWORD kChunkBytes = 1024 * 1024;

class CHandle {
public:
    explicit CHandle(HANDLE handle) : m_handle(handle) {}
    ~CHandle()
    {
        if (IsValid())
            ::CloseHandle(m_handle);
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }
    bool Close()
    {
        const bool closed = ::CloseHandle(m_handle) != 0;
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

}  // namespace

const wchar_t CXmlUtf8Copy::kFailedMessage[] =
    L"The file is written in UTF-16, and it cannot be read: its text is not valid UTF-16, or no UTF-8 copy of it "
    L"could be written to the temporary folder.";

CXmlUtf8Copy::CXmlUtf8Copy(const wchar_t* path) : m_readPath(path ? path : L"")
{
    CHandle file(::CreateFileW(m_readPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid())
        return;
    uint8_t head[4] = {};
    DWORD read = 0;
    if (!::ReadFile(file.Get(), head, sizeof head, &read, nullptr) || read < 2)
        return;
    file.Close();
    // The byte order mark, else "<?" as UTF-16 (the declaration XML files open with).
    const bool littleMark = head[0] == 0xFF && head[1] == 0xFE;
    const bool bigMark = head[0] == 0xFE && head[1] == 0xFF;
    const bool little = read == 4 && head[0] == '<' && head[1] == 0 && head[2] == '?' && head[3] == 0;
    const bool big = read == 4 && head[0] == 0 && head[1] == '<' && head[2] == 0 && head[3] == '?';
    if (!littleMark && !bigMark && !little && !big)
        return;
    if (Copy(path, bigMark || big, littleMark || bigMark)) {
        m_readPath = m_copyPath;
        m_copied = true;
    } else {
        m_failed = true;
    }
}

CXmlUtf8Copy::~CXmlUtf8Copy()
{
    if (!m_copyPath.IsEmpty())
        ::DeleteFileW(m_copyPath);
}

bool CXmlUtf8Copy::Copy(const wchar_t* path, bool bigEndian, bool skipMark)
{
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t name[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length > MAX_PATH || !::GetTempFileNameW(folder, L"otx", 0, name))
        return false;
    m_copyPath = name;
    CHandle source(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    CHandle target(::CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!source.IsValid() || !target.IsValid())
        return false;
    // Room for what a chunk leaves: an odd byte and a high surrogate.
    std::vector<uint8_t> bytes(kChunkBytes + 4);
    std::vector<wchar_t> units;
    std::vector<char> utf8;
    size_t carried = 0;  // bytes of the last chunk that begin the next
    bool first = true;
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(source.Get(), bytes.data() + carried, kChunkBytes, &read, nullptr))
            return false;
        const size_t held = carried + read;
        if (read == 0) {
            // A byte or a high surrogate left alone at the end is no text.
            return held == 0 && target.Close();
        }
        size_t count = held / 2;
        units.resize(count);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t a = bytes[2 * i], b = bytes[2 * i + 1];
            units[i] = static_cast<wchar_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
        }
        size_t start = 0;
        if (first && count > 0) {
            start = skipMark ? 1 : 0;
            first = false;
        }
        // A surrogate pair cut by the chunk's end waits for its second half.
        size_t end = count;
        if (end > start && IsHighSurrogate(units[end - 1]))
            --end;
        if (end > start) {
            const int wide = static_cast<int>(end - start);
            const int needed =
                ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, units.data() + start, wide, nullptr, 0, nullptr, nullptr);
            if (needed <= 0)
                return false;
            utf8.resize(static_cast<size_t>(needed));
            ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, units.data() + start, wide, utf8.data(), needed, nullptr,
                                  nullptr);
            DWORD written = 0;
            if (!::WriteFile(target.Get(), utf8.data(), static_cast<DWORD>(needed), &written, nullptr) ||
                written != static_cast<DWORD>(needed))
                return false;
        }
        // What was not converted moves to the front.
        const size_t keptFrom = 2 * end;
        carried = held - keptFrom;
        for (size_t i = 0; i < carried; ++i)
            bytes[i] = bytes[keptFrom + i];
    }
}
