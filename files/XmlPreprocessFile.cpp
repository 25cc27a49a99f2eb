#include "files/XmlPreprocessFile.h"

#include "files/Base64.h"
#include "files/XmlUtf8Copy.h"
#include "files/XmlValueForms.h"
#include "framework/KWPathUtils.h"
#include "framework/KWProgressInterface.h"
#include "framework/KWRasterLib.h"
#include "framework/KWWriteBehind.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

const char kImagesElement[] = "Images";

const char kFileFormatAttribute[] = "FileFormat";
const char kPictureTypeAttribute[] = "SavePicType";
const char kCountAttribute[] = "Count";

// What a document's pre-pass tells the user while it reads the pictures and
// the templates' pictures.
const wchar_t kImagesMessage[] = L"Preprocessing images...";
const wchar_t kTemplatesMessage[] = L"Loading templates...";

// Read as the document's elements read it, so that the pass and the parse
// agree on how the pictures are stored.
bool FindNumber(const CXmlPreprocessFile::StartTag& tag, const char* name, int32_t& number)
{
    std::string value;
    if (!tag.Find(name, CXmlPreprocessFile::kMaxNumberLength, value))
        return false;
    number = ReadXmlInteger(value.data(), value.size());
    return true;
}

// The format the element's text is read under.
std::string FindFormat(const CXmlPreprocessFile::StartTag& tag)
{
    std::string claim;
    const bool known = tag.Find(kFileFormatAttribute, CXmlPreprocessFile::kMaxFormatLength, claim);
    return XmlPictureReadFormat(known, claim);
}

// Bytes of no image type known are stored under this extension.
const char kUnknownExtension[] = "dat";

struct ImageType {
    const char* canonical;
    const char* others[3];
    const char* magic;
    size_t magicLength;
};

const ImageType kImageTypes[] = {
    {"jpg", {"jpeg", "jpe", nullptr}, "\xFF\xD8\xFF", 3},
    {"png", {nullptr}, "\x89PNG\r\n\x1A\n", 8},
    {"gif", {nullptr}, "GIF8", 4},
    {"bmp", {"dib", nullptr}, "BM", 2},
    {"tif", {"tiff", nullptr}, "II*\0", 4},
    {"tif", {"tiff", nullptr}, "MM\0*", 4},
    {"ico", {nullptr}, "\0\0\1\0", 4},
};

bool SameNoCase(const std::string& a, const char* b)
{
    if (a.size() != std::strlen(b))
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i])
            return false;
    }
    return true;
}

bool Names(const ImageType& type, const std::string& extension)
{
    if (SameNoCase(extension, type.canonical))
        return true;
    for (const char* other : type.others) {
        if (other && SameNoCase(extension, other))
            return true;
    }
    return false;
}

}  // namespace

std::string CXmlPreprocessFile::StoredExtension(const uint8_t* bytes, size_t count, const std::string& claimed)
{
    for (const ImageType& type : kImageTypes) {
        if (count >= type.magicLength && std::memcmp(bytes, type.magic, type.magicLength) == 0)
            return Names(type, claimed) ? claimed : type.canonical;
    }
    for (const ImageType& type : kImageTypes) {
        if (Names(type, claimed))
            return claimed;
    }
    return kUnknownExtension;
}

std::string CXmlPreprocessFile::WrittenFormat(const uint8_t* bytes, size_t count, const std::string& extension)
{
    const std::string stored = StoredExtension(bytes, count, extension);
    return stored == kUnknownExtension ? std::string() : stored;
}

CXmlPreprocessFile::CXmlPreprocessFile(const wchar_t* path)
    : m_window(new char[kWindowSize + 1]), m_path(path ? path : L"")
{
    if (path)
        Open(path, kRead | kBinary);
}

CXmlPreprocessFile::~CXmlPreprocessFile() = default;

void CXmlPreprocessFile::Consumed(int64_t bytes, CKWProgressInterface* progress)
{
    m_sinceProgress += bytes;
    for (; progress && m_sinceProgress >= kProgressBytes; m_sinceProgress -= kProgressBytes)
        progress->Advance();
}

bool CXmlPreprocessFile::Ensure(int32_t need)
{
    if (m_end - m_position >= need)
        return true;
    if (m_atEnd)
        return false;
    // What is left moves to the front; the rest of the window is filled.
    const int32_t kept = m_end - m_position;
    std::memmove(m_window.get(), m_window.get() + m_position, static_cast<size_t>(kept));
    m_windowStart += m_position;
    m_position = 0;
    m_end = kept;
    while (m_end < kWindowSize) {
        const int32_t read = Read(m_window.get() + m_end, kWindowSize - m_end);
        if (read <= 0) {
            m_atEnd = true;
            break;
        }
        m_end += read;
    }
    return m_end - m_position >= need;
}

namespace {

// Decoded bytes go to the store file in writes of this size: large enough
// that their count costs little, small enough that the writing thread finds
// them still in the processor's cache.
const size_t kStoreBlock = 128 * 1024;
// Blocks hold a store write and the bytes of one more piece of text.
const size_t kBlockCapacity = 2 * kStoreBlock + 8;
// Blocks in flight between the decoding and the writing thread.
const int kBlockCount = 8;

}  // namespace

// A store file as the writing thread sees it.
struct CXmlPreprocessFile::StoredFile {
    HANDLE file = INVALID_HANDLE_VALUE;
    std::wstring path;
    bool failed = false;  // set by the writing thread, with the system's error
    DWORD error = 0;
    int32_t pictureId = 0;
    // Where its bytes came from, named once they are all written: the
    // element and the offset of its text, and the bytes it gave.
    std::wstring origin;
    std::string element;
    int64_t textStart = 0;
    uint64_t bytes = 0;
    // The digest of the bytes, made as they are written or compared
    // (digested: it was made); the hasher goes once the file is closed.
    std::unique_ptr<CKWSha256> hasher;
    bool digested = false;
    CKWSha256::Digest digest{};
};

// Where the decoded bytes of a block go, a piece of at least kStoreBlock
// bytes at a time (the last piece may be shorter).
class CXmlPreprocessFile::DecodedSink {
public:
    virtual ~DecodedSink() = default;
    // A buffer of kBlockCapacity bytes.
    virtual uint8_t* TakeBlock() = 0;
    // Takes the block back with its first count bytes; false: stop decoding.
    virtual bool Put(uint8_t* block, size_t count) = 0;
    // Takes the block back unused.
    virtual void Drop(uint8_t* block) = 0;
};

namespace {

// One decoded picture written into the picture store while it is decoded:
// the file is made once the first bytes show the image type and its blocks
// are written by the writing thread, so that memory stays flat whatever the
// picture's size; a picture whose data proves unusable leaves no file.
class CStoreFile : public CXmlPreprocessFile::DecodedSink {
public:
    CStoreFile(const char* claimed, CKWWriteBehind& writer) : m_claimed(claimed), m_writer(writer) {}
    ~CStoreFile() override { Discard(); }
    CStoreFile(const CStoreFile&) = delete;
    CStoreFile& operator=(const CStoreFile&) = delete;

    uint8_t* TakeBlock() override { return m_writer.TakeBlock(); }
    void Drop(uint8_t* block) override { m_writer.Queue(block, 0, nullptr); }
    // Queues the block (which the writer then owns). When no file could be
    // made the rest of the text is read and let go: the element is the
    // pass's, with nothing kept, as the parser could keep nothing of it either.
    bool Put(uint8_t* block, size_t count) override
    {
        if (!m_refused && !m_stored && count > 0 && !Create(block, count)) {
            m_refused = true;
            m_error = ::GetLastError();
        }
        if (m_refused) {
            m_writer.Queue(block, 0, nullptr);
            return true;
        }
        std::shared_ptr<CXmlPreprocessFile::StoredFile> stored = m_stored;
        if (stored)
            stored->bytes += count;
        m_writer.Queue(block, count, [stored](const uint8_t* bytes, size_t size) {
            if (stored->failed)
                return false;
            // Made by the writing thread, while the text is decoded on.
            stored->hasher->Add(bytes, size);
            DWORD written = 0;
            const BOOL wrote = ::WriteFile(stored->file, bytes, static_cast<DWORD>(size), &written, nullptr);
            if (!wrote || written != size) {
                stored->failed = true;
                stored->error = wrote ? 0 : ::GetLastError();
            }
            return !stored->failed;
        });
        return true;
    }
    // The file with its picture id, closed once written; none when nothing
    // was written. Whether the writing succeeded is known after the
    // writer's Finish.
    std::shared_ptr<CXmlPreprocessFile::StoredFile> Commit()
    {
        std::shared_ptr<CXmlPreprocessFile::StoredFile> stored = std::move(m_stored);
        if (!stored)
            return stored;
        stored->pictureId = static_cast<int32_t>(g_rasterLib.GetPictureId(stored->path.c_str()));
        Close(stored, false);
        return stored;
    }
    void Discard()
    {
        if (m_stored)
            Close(std::move(m_stored), true);
    }
    // The store made no file for the bytes, and the system's error.
    bool WasRefused() const { return m_refused; }
    DWORD GetError() const { return m_error; }

private:
    void Close(std::shared_ptr<CXmlPreprocessFile::StoredFile> stored, bool discard)
    {
        m_writer.Queue([stored, discard] {
            if (!::CloseHandle(stored->file) && !stored->failed) {
                stored->failed = true;
                stored->error = ::GetLastError();
            }
            stored->file = INVALID_HANDLE_VALUE;
            stored->digested = !stored->failed && stored->hasher->Finish(stored->digest);
            stored->hasher.reset();
            if (discard || stored->failed)
                ::DeleteFileW(stored->path.c_str());
            return discard || !stored->failed;
        });
    }

    bool Create(const uint8_t* head, size_t count)
    {
        const std::string extension = CXmlPreprocessFile::StoredExtension(head, count, m_claimed);
        auto stored = std::make_shared<CXmlPreprocessFile::StoredFile>();
        stored->file = g_rasterLib.CreateStoreFile(extension.c_str(), stored->path);
        if (stored->file == INVALID_HANDLE_VALUE)
            return false;
        stored->hasher = std::make_unique<CKWSha256>();
        m_stored = std::move(stored);
        return true;
    }

    std::string m_claimed;
    CKWWriteBehind& m_writer;
    std::shared_ptr<CXmlPreprocessFile::StoredFile> m_stored;
    bool m_refused = false;
    DWORD m_error = 0;
};

// Compares the decoded bytes with a file the store holds: the same bytes,
// to the last one, let the file stand for the block.
class CHeldFileComparer : public CXmlPreprocessFile::DecodedSink {
public:
    explicit CHeldFileComparer(const std::wstring& path)
        : m_buffer(new uint8_t[kBlockCapacity]), m_file(::CreateFileW(path.c_str(), GENERIC_READ,
                                                                      FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                                                                      nullptr))
    {
    }
    ~CHeldFileComparer() override
    {
        if (m_file != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_file);
    }
    CHeldFileComparer(const CHeldFileComparer&) = delete;
    CHeldFileComparer& operator=(const CHeldFileComparer&) = delete;

    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }
    uint8_t* TakeBlock() override { return m_buffer.get(); }
    void Drop(uint8_t*) override {}
    bool Put(uint8_t* block, size_t count) override
    {
        m_same = m_same && Matches(block, count);
        m_digest.Add(block, count);
        return m_same;
    }
    // The digest of the bytes compared.
    bool Digest(CKWSha256::Digest& digest) { return m_digest.Finish(digest); }
    // True when every byte matched and the file has no more.
    bool IsSame()
    {
        uint8_t more = 0;
        DWORD read = 0;
        return m_same && ::ReadFile(m_file, &more, 1, &read, nullptr) && read == 0;
    }

private:
    bool Matches(const uint8_t* block, size_t count)
    {
        if (m_onDisk.size() < count)
            m_onDisk.resize(count);
        DWORD read = 0;
        return ::ReadFile(m_file, m_onDisk.data(), static_cast<DWORD>(count), &read, nullptr) && read == count &&
               std::memcmp(m_onDisk.data(), block, count) == 0;
    }

    std::unique_ptr<uint8_t[]> m_buffer;
    std::vector<uint8_t> m_onDisk;
    HANDLE m_file;
    bool m_same = true;
    CKWSha256 m_digest;
};

// Runs of digits shorter than this are not worth a jump of the parser.
const int32_t kLeastDigitRun = 64 * 1024;

}  // namespace

void CXmlPreprocessFile::Rewind(int64_t offset)
{
    Seek(offset);
    m_windowStart = offset;
    m_position = m_end = 0;
    m_atEnd = false;
}

CXmlPreprocessFile::DecodedText CXmlPreprocessFile::DecodeText(const char* endMarker, CBase64::CDecoder& decoder,
                                                               DecodedSink& sink, CKWProgressInterface* progress,
                                                               XmlDigitRuns& runs)
{
    DecodedText result;
    uint8_t* block = sink.TakeBlock();
    size_t used = 0;
    bool any = false;
    bool inCData = false;
    // The run of digits being read: its file offset, -1 outside one.
    int64_t runStart = -1;
    auto endRun = [&] {
        const int64_t at = m_windowStart + m_position;
        if (runStart >= 0 && at - runStart >= kLeastDigitRun)
            runs.push_back({runStart, at});
        runStart = -1;
    };
    for (;;) {
        if (m_position == m_end && !Ensure(1))
            break;
        const char* from = m_window.get() + m_position;
        const int32_t room = static_cast<int32_t>((kBlockCapacity - used) / 3 * 4) - 4;
        const int32_t available = std::min(m_end - m_position, room);
        int32_t consumed = 0;
        if (available > 0)
            used += static_cast<size_t>(decoder.FeedDigits(from, available, block + used, consumed));
        if (consumed > 0 && runStart < 0)
            runStart = m_windowStart + m_position;
        Skip(consumed, progress);
        if (used >= kStoreBlock) {
            any = true;
            const bool taken = sink.Put(block, used);
            block = sink.TakeBlock();
            used = 0;
            if (!taken)
                break;
        }
        if (m_position == m_end)
            continue;
        const char next = m_window[m_position];
        if (CBase64::IsDigit(next))
            continue;  // the block was full
        endRun();
        if (IsXmlBlank(next)) {
            Skip(1, progress);
        } else if (next == CBase64::kPadding) {
            decoder.Pad();
            Skip(1, progress);
        } else if (inCData) {
            // Inside a section only its end may stand beside the digits.
            if (!StandsAt(kCDataEnd))
                break;
            inCData = false;
            Skip(static_cast<int32_t>(sizeof kCDataEnd - 1), progress);
        } else if (next == '<' && StandsAt(kCDataStart)) {
            inCData = true;
            Skip(static_cast<int32_t>(sizeof kCDataStart - 1), progress);
        } else {
            // Only the element's own end tag ends the text; a reference, a
            // comment, an element or any other character leaves it to the
            // parser.
            result.ended = next == '<' && StandsAt(endMarker);
            break;
        }
    }
    if (!result.ended && inCData)
        SkipPast(kCDataEnd, progress);  // the pass reads on past the section
    if (result.ended) {
        used += static_cast<size_t>(decoder.Finish(block + used));
        if (any || used > 0) {
            result.put = sink.Put(block, used);
            return result;
        }
    }
    sink.Drop(block);
    return result;
}

std::wstring CXmlPreprocessFile::OriginAt(int64_t offset) const
{
    return m_path.empty() ? std::wstring() : m_path + L"|" + std::to_wstring(offset);
}

int32_t CXmlPreprocessFile::ReuseHeldPicture(const char* endMarker, CKWProgressInterface* progress,
                                             XmlDigitRuns* digitRuns)
{
    const int64_t start = m_windowStart + m_position;
    const std::wstring origin = OriginAt(start);
    std::wstring path;
    const uint32_t id = origin.empty() ? 0 : g_rasterLib.FindHeldByOrigin(origin, path);
    if (id == 0)
        return 0;
    // Held from here on, so that the file stays while it is compared.
    CKWPictureHold hold(static_cast<int32_t>(id));
    CHeldFileComparer held(path);
    CBase64::CDecoder decoder;
    // The progress moves once, with the element's whole text, when the file is taken.
    const int64_t sinceProgress = m_sinceProgress;
    bool same = false;
    XmlDigitRuns runs;
    if (held.IsOpen()) {
        const DecodedText text = DecodeText(endMarker, decoder, held, nullptr, runs);
        same = text.ended && text.put && held.IsSame();
    }
    m_sinceProgress = sinceProgress;
    if (!same) {
        // The document changed at this place since: the text is decoded anew.
        Rewind(start);
        return 0;
    }
    Consumed(m_windowStart + m_position - start, progress);
    if (digitRuns)
        digitRuns->insert(digitRuns->end(), runs.begin(), runs.end());
    m_holds.push_back(std::move(hold));
    // Its text stands here in the file as it is now.
    auto taken = std::make_shared<StoredFile>();
    taken->pictureId = static_cast<int32_t>(id);
    taken->element.assign(endMarker + 2, std::strlen(endMarker) - 3);
    taken->textStart = start;
    taken->bytes = CKWRasterLib::StampOf(path.c_str()).size;
    taken->digested = held.Digest(taken->digest);
    m_taken.push_back(taken);
    return static_cast<int32_t>(id);
}

XmlPrepassPicture CXmlPreprocessFile::DecodeBlock(const char* endMarker, const char* format,
                                                  CKWProgressInterface* progress, XmlDigitRuns* digitRuns)
{
    XmlPrepassPicture result;
    // The line end after the start tag (and any blank) is no data.
    for (;;) {
        if (m_position == m_end && !Ensure(1))
            return result;  // the file ends inside the data: the parser says so
        if (!IsXmlBlank(m_window[m_position]))
            break;
        Skip(1, progress);
    }
    // A picture read from this very place before whose file is still held
    // is taken again, not written a second time.
    if (const int32_t reused = ReuseHeldPicture(endMarker, progress, digitRuns)) {
        result.taken = true;
        result.pictureId = reused;
        return result;
    }
    const int64_t textStart = m_windowStart + m_position;
    CBase64::CDecoder decoder;
    CStoreFile store(format, *m_writer);
    XmlDigitRuns runs;
    // Every byte of the text passes the position once, from here to the end tag.
    std::unique_ptr<CKWSha256> digest;
    if (m_digestTexts)
        digest = std::make_unique<CKWSha256>();
    m_textDigest = digest.get();
    const DecodedText text = DecodeText(endMarker, decoder, store, progress, runs);
    m_textDigest = nullptr;
    if (!text.ended)
        return result;
    result.taken = true;
    result.textStart = textStart;
    result.textEnd = m_windowStart + m_position;
    // Whether the store keeps the bytes is known only once the writing
    // thread is done (a full disk fails a write of a file it made), so every
    // text taken gets its digest.
    result.digested = digest && digest->Finish(result.textDigest);
    if (digitRuns)
        digitRuns->insert(digitRuns->end(), runs.begin(), runs.end());
    if (store.WasRefused()) {
        result.unkept = true;
        result.storeError = store.GetError();
        return result;
    }
    if (!text.put)
        return result;
    std::shared_ptr<StoredFile> stored = store.Commit();
    if (!stored)
        return result;
    stored->origin = OriginAt(textStart);
    stored->element.assign(endMarker + 2, std::strlen(endMarker) - 3);
    stored->textStart = textStart;
    m_holds.emplace_back(stored->pictureId);
    m_stored.push_back(stored);
    result.pictureId = stored->pictureId;
    return result;
}

bool CXmlPreprocessFile::Scan(Images& found, CKWProgressInterface* progress)
{
    found = Images();
    if (!IsOpen())
        return false;
    if (progress)
        progress->BeginStage(static_cast<int>(GetLength() / kProgressBytes + 1));
    // The texts of the pictures are known to stand where they were read
    // only while the file is as it was before the pass.
    const std::wstring recorded = m_recordedFile.empty() ? m_path : m_recordedFile;
    const CKWRasterLib::FileStamp stamp = CKWRasterLib::StampOf(recorded.c_str());
    CKWWriteBehind writer(kBlockCapacity, kBlockCount);
    m_writer = &writer;
    m_stored.clear();
    m_taken.clear();
    m_holds.clear();
    Seek(0);
    m_windowStart = 0;
    m_position = m_end = 0;
    m_atEnd = false;
    m_sinceProgress = 0;
    bool imagesFound = false;
    // The pass names its stages to the user; the templates' stage begins at
    // their first picture, or with the end of the pictures.
    bool templatesNamed = false;
    auto nameTemplatesStage = [&] {
        if (progress && !templatesNamed)
            progress->SetMessage(kTemplatesMessage);
        templatesNamed = true;
    };
    for (;;) {
        if (m_position == m_end && !Ensure(1))
            break;
        const char* from = m_window.get() + m_position;
        const char* open = static_cast<const char*>(std::memchr(from, '<', static_cast<size_t>(m_end - m_position)));
        if (!open) {
            Consumed(m_end - m_position, progress);
            m_position = m_end;
            continue;
        }
        Consumed(static_cast<int32_t>(open - from), progress);
        m_position = static_cast<int32_t>(open - m_window.get());
        if (SkipMarkup(progress))
            continue;
        // An end tag, or a tag the parser does not read either (it says
        // why), is passed over from where the walk stopped.
        StartTag tag;
        if (!ReadStartTag(tag, progress))
            continue;
        XmlPictureKind kind = kXmlImage;
        if (tag.name == kImagesElement) {
            if (!imagesFound && FindNumber(tag, kPictureTypeAttribute, found.pictureType)) {
                imagesFound = true;
                FindNumber(tag, kCountAttribute, found.count);
                if (progress && found.pictureType == 0 && !templatesNamed)
                    progress->SetMessage(kImagesMessage);
            }
        } else if (FindXmlPictureKind(tag.name.data(), tag.name.size(), kind)) {
            // Every start tag counts, so that the parser's n-th is the pass's.
            std::vector<XmlPrepassPicture>& list = found.pictures.byKind[kind];
            list.push_back(XmlPrepassPicture());
            const size_t index = list.size() - 1;
            if (kind != kXmlImage)
                nameTemplatesStage();
            const bool wanted = kind != kXmlImage || (imagesFound && found.pictureType == 0);
            if (wanted && !tag.empty) {
                const std::string format = FindFormat(tag);
                // The data follows the start tag; the pass goes on at its end.
                const std::string endMarker = "</" + tag.name + ">";
                list[index] = DecodeBlock(endMarker.c_str(), format.c_str(), progress, &found.digitRuns);
            }
        }
    }
    nameTemplatesStage();
    writer.Finish();
    m_writer = nullptr;
    const bool unchanged = stamp.present && CKWRasterLib::StampOf(recorded.c_str()) == stamp;
    for (const std::shared_ptr<StoredFile>& stored : m_stored) {
        if (stored->failed || stored->origin.empty())
            continue;
        g_rasterLib.SetPictureOrigin(static_cast<uint32_t>(stored->pictureId), stored->origin);
        m_taken.push_back(stored);
    }
    for (const std::shared_ptr<StoredFile>& taken : m_taken) {
        if (unchanged && !recorded.empty() && taken->digested)
            g_rasterLib.SetEmbeddedText(
                static_cast<uint32_t>(taken->pictureId),
                {recorded, taken->element, taken->textStart, stamp, taken->bytes, taken->digest});
    }
    m_taken.clear();
    ForgetFailedFiles(found);
    found.holds = std::move(m_holds);
    m_holds.clear();
    if (progress)
        progress->Update();
    return true;
}

uint32_t CXmlPreprocessFile::RestorePicture(uint32_t id, CKWPictureHold& hold)
{
    CKWRasterLib::EmbeddedText text;
    if (!g_rasterLib.GetEmbeddedText(id, text) || !(CKWRasterLib::StampOf(text.file.c_str()) == text.stamp))
        return 0;
    // A file written in UTF-16 is read through a UTF-8 copy, as its load read it.
    const CXmlUtf8Copy utf8(text.file.c_str());
    CXmlPreprocessFile file(utf8.GetReadPath());
    if (utf8.HasFailed() || !file.IsOpen())
        return 0;
    CKWWriteBehind writer(kBlockCapacity, kBlockCount);
    file.m_writer = &writer;
    file.Rewind(text.textStart);
    const std::string endMarker = "</" + text.element + ">";
    const std::string extension = XmlTextForm(GetPathExtension(g_rasterLib.GetImagePath(id)));
    const XmlPrepassPicture picture = file.DecodeBlock(endMarker.c_str(), extension.c_str(), nullptr, nullptr);
    writer.Finish();
    file.m_writer = nullptr;
    // A new file whose writing failed, or that holds other bytes than those
    // read or written there (a file rewritten at the same size and time, a
    // digit changed in place), goes with the pass's hold of it.
    const bool stored = !file.m_stored.empty();
    const std::vector<std::shared_ptr<StoredFile>>& made = stored ? file.m_stored : file.m_taken;
    if (picture.pictureId == 0 || file.m_holds.empty() || made.empty() || made.back()->failed ||
        made.back()->bytes != text.bytes || !made.back()->digested || made.back()->digest != text.digest)
        return 0;
    const uint32_t restored = static_cast<uint32_t>(picture.pictureId);
    hold = std::move(file.m_holds.back());
    if (stored)
        g_rasterLib.SetPictureOrigin(restored, file.m_stored.back()->origin);
    g_rasterLib.SetEmbeddedText(restored, text);
    // Still the user's picture to what names it.
    bool embedded = false;
    const CString source = g_rasterLib.GetPictureSource(id, &embedded);
    if (!source.IsEmpty())
        g_rasterLib.SetPictureSource(restored, source, embedded);
    const CString emptyName = g_rasterLib.GetEmptySourceName(id);
    if (!emptyName.IsEmpty())
        g_rasterLib.SetEmptySourceName(restored, emptyName);
    return restored;
}

void CXmlPreprocessFile::ForgetFailedFiles(Images& found)
{
    for (const std::shared_ptr<StoredFile>& stored : m_stored) {
        if (!stored->failed)
            continue;
        for (std::vector<XmlPrepassPicture>& list : found.pictures.byKind) {
            for (XmlPrepassPicture& picture : list) {
                if (picture.pictureId != stored->pictureId)
                    continue;
                picture.pictureId = 0;
                picture.unkept = true;
                picture.storeError = stored->error;
            }
        }
    }
    m_stored.clear();
}

XmlPrepassPicture CXmlPreprocessFile::StorePicture(const uint8_t* bytes, size_t count, const std::string& claimed)
{
    XmlPrepassPicture stored;
    if (!bytes || count == 0 || count > UINT32_MAX)
        return stored;
    const std::string extension = StoredExtension(bytes, count, claimed);
    stored.pictureId = static_cast<int32_t>(
        g_rasterLib.AddImageFromMemory(bytes, static_cast<uint32_t>(count), extension.c_str()));
    if (stored.pictureId == 0) {
        stored.unkept = true;
        stored.storeError = ::GetLastError();
    }
    return stored;
}
