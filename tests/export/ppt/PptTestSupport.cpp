#include "tests/export/ppt/PptTestSupport.h"

#include <windows.h>

#include <cstring>
#include <sstream>

IStream* NewMemoryStream()
{
    IStream* stream = nullptr;
    ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    return stream;
}

std::vector<uint8_t> StreamBytes(IStream* stream)
{
    std::vector<uint8_t> bytes;
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    ULARGE_INTEGER here, end;
    stream->Seek(zero, STREAM_SEEK_CUR, &here);
    stream->Seek(zero, STREAM_SEEK_END, &end);
    bytes.resize(static_cast<size_t>(end.QuadPart));
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    if (!bytes.empty())
        stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    LARGE_INTEGER back;
    back.QuadPart = static_cast<LONGLONG>(here.QuadPart);
    stream->Seek(back, STREAM_SEEK_SET, nullptr);
    return bytes;
}

namespace {

// Wraps a memory stream; writes fail once limit bytes were accepted.
class LimitedStream : public IStream {
public:
    LimitedStream(IStream* inner, uint32_t limit) : m_inner(inner), m_limit(limit) {}
    ~LimitedStream() { m_inner->Release(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (riid == IID_IUnknown || riid == IID_IStream || riid == IID_ISequentialStream) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_count; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG count = --m_count;
        if (count == 0)
            delete this;
        return count;
    }
    HRESULT STDMETHODCALLTYPE Read(void* bytes, ULONG count, ULONG* read) override
    {
        return m_inner->Read(bytes, count, read);
    }
    HRESULT STDMETHODCALLTYPE Write(const void* bytes, ULONG count, ULONG* written) override
    {
        if (m_accepted + count > m_limit) {
            if (written)
                *written = 0;
            return STG_E_MEDIUMFULL;
        }
        m_accepted += count;
        return m_inner->Write(bytes, count, written);
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override
    {
        return m_inner->Seek(move, origin, position);
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override { return m_inner->SetSize(size); }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                     ULARGE_INTEGER* written) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override { return m_inner->Stat(stat, flags); }
    HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override { return E_NOTIMPL; }

private:
    IStream* m_inner;
    uint32_t m_limit;
    uint32_t m_accepted = 0;
    ULONG m_count = 1;
};

}  // namespace

IStream* NewLimitedStream(uint32_t limit)
{
    return new LimitedStream(NewMemoryStream(), limit);
}

uint16_t U16At(const std::vector<uint8_t>& bytes, size_t offset)
{
    if (offset + 2 > bytes.size())
        return 0;
    return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset)
{
    if (offset + 4 > bytes.size())
        return 0;
    return static_cast<uint32_t>(bytes[offset]) | (static_cast<uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<uint32_t>(bytes[offset + 2]) << 16) | (static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

const PptRecord* PptRecord::Find(uint16_t wanted) const
{
    for (const PptRecord& child : children) {
        if (child.type == wanted)
            return &child;
        if (const PptRecord* found = child.Find(wanted))
            return found;
    }
    return nullptr;
}

void PptRecord::FindAll(uint16_t wanted, std::vector<const PptRecord*>& out) const
{
    for (const PptRecord& child : children) {
        if (child.type == wanted)
            out.push_back(&child);
        child.FindAll(wanted, out);
    }
}

std::vector<const PptRecord*> PptRecord::Children(uint16_t wanted) const
{
    std::vector<const PptRecord*> out;
    for (const PptRecord& child : children) {
        if (child.type == wanted)
            out.push_back(&child);
    }
    return out;
}

bool ParseRecords(const std::vector<uint8_t>& bytes, uint32_t start, uint32_t end, std::vector<PptRecord>& out,
                  std::string& error)
{
    uint32_t position = start;
    while (position < end) {
        if (static_cast<uint64_t>(position) + 8 > end) {
            std::ostringstream text;
            text << "header at " << position << " runs past " << end;
            error = text.str();
            return false;
        }
        PptRecord record;
        record.offset = position;
        const uint16_t versionInstance = U16At(bytes, position);
        record.version = versionInstance & 0xF;
        record.instance = versionInstance >> 4;
        record.type = U16At(bytes, position + 2);
        record.length = U32At(bytes, position + 4);
        if (static_cast<uint64_t>(position) + 8 + record.length > end) {
            std::ostringstream text;
            text << "record type " << record.type << " at " << position << " of length " << record.length
                 << " runs past " << end;
            error = text.str();
            return false;
        }
        if (record.IsContainer() && !ParseRecords(bytes, record.Body(), record.End(), record.children, error))
            return false;
        position = record.End();
        out.push_back(std::move(record));
    }
    return true;
}

bool ParseTree(const std::vector<uint8_t>& bytes, PptRecord& root, std::string& error)
{
    root = PptRecord();
    root.version = 0xF;
    root.length = static_cast<uint32_t>(bytes.size());
    return ParseRecords(bytes, 0, static_cast<uint32_t>(bytes.size()), root.children, error);
}

CompoundFile ReadCompoundFile(const std::wstring& path)
{
    CompoundFile file;
    IStorage* storage = nullptr;
    if (FAILED(::StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &storage)))
        return file;
    file.opened = true;
    STATSTG stat;
    if (SUCCEEDED(storage->Stat(&stat, STATFLAG_NONAME)))
        file.classId = stat.clsid;
    IEnumSTATSTG* elements = nullptr;
    if (SUCCEEDED(storage->EnumElements(0, nullptr, 0, &elements))) {
        STATSTG element;
        while (elements->Next(1, &element, nullptr) == S_OK) {
            if (element.type == STGTY_STREAM) {
                IStream* stream = nullptr;
                if (SUCCEEDED(storage->OpenStream(element.pwcsName, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                                  &stream))) {
                    file.streams[element.pwcsName] = StreamBytes(stream);
                    stream->Release();
                }
            }
            ::CoTaskMemFree(element.pwcsName);
        }
        elements->Release();
    }
    storage->Release();
    return file;
}
