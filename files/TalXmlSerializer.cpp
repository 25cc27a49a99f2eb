#include "files/TalXmlSerializer.h"

#include "files/Base64.h"
#include "files/TalPictureRelocation.h"
#include "files/XmlErrorDlg.h"
#include "files/XmlPreprocessFile.h"
#include "framework/KWPathUtils.h"
#include "framework/KWPictureProblem.h"
#include "framework/KWRasterLib.h"
#include "framework/KWSha256.h"
#include "framework/KWSystemInfo.h"
#include "framework/KWWriteFailureReason.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The string-table entry of the application's title.
const UINT kApplicationTitleString = 57344;

}  // namespace

CTalXmlSerializer::CTalXmlSerializer()
    : m_stream(std::make_unique<CXmlFile>()), m_templateFolder(GetModuleDirectory() + L"Data\\")
{
}

CTalXmlSerializer::~CTalXmlSerializer()
{
    DiscardStream();
}

bool CTalXmlSerializer::OpenStream(const CString& path)
{
    DiscardStream();
    if (path.IsEmpty())
        return false;
    CString folder = GetPathDirectory(path);
    if (folder.IsEmpty())
        folder = L".";
    wchar_t temp[MAX_PATH];
    if (!::GetTempFileNameW(folder, L"otx", 0, temp)) {
        FailSave(path, ::GetLastError(), KWWriteStep::Staged);
        return false;
    }
    if (!m_stream->OpenEmpty(temp, CXmlFile::kWrite)) {
        FailSave(path, ::GetLastError(), KWWriteStep::Staged);
        ::DeleteFileW(temp);
        return false;
    }
    m_targetPath = path;
    m_tempPath = temp;
    m_depth = 0;
    m_writtenPictures.clear();
    return true;
}

bool CTalXmlSerializer::CommitStream()
{
    if (m_tempPath.IsEmpty())
        return false;
    // Closed in every case, so that a file not to be kept can go.
    const bool written = m_stream->Close() && !m_stream->HasWriteError();
    // The stream keeps no error code: the file fell short of what was written.
    if (!written)
        FailSave(m_targetPath, 0, KWWriteStep::Staged);
    bool ok = written;
    // A file made read-only is not to be replaced (not every system refuses).
    const DWORD attributes = ::GetFileAttributesW(m_targetPath);
    if (ok && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        FailSave(m_targetPath, ERROR_ACCESS_DENIED, KWWriteStep::Target);
        ok = false;
    }
    if (ok && !::MoveFileExW(m_tempPath, m_targetPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        FailSave(m_targetPath, ::GetLastError(), KWWriteStep::Target);
        ok = false;
    }
    if (!ok)
        ::DeleteFileW(m_tempPath);
    m_tempPath.Empty();
    m_targetPath.Empty();
    return ok;
}

void CTalXmlSerializer::DiscardStream()
{
    m_stream->Close();
    if (!m_tempPath.IsEmpty())
        ::DeleteFileW(m_tempPath);
    m_tempPath.Empty();
    m_targetPath.Empty();
}

void CTalXmlSerializer::WriteHeader()
{
    GetStream() << "<?xml version='" << "1.0" << "' encoding='" << "utf-8" << "' ?>" << "\n\n";
}

void CTalXmlSerializer::BeginStartTag(const char* name)
{
    GetStream() << m_indentation.Get(m_depth) << "<" << name;
}

void CTalXmlSerializer::WriteAttribute(const char* name, const std::string& value)
{
    GetStream() << " " << name << "='" << value.c_str() << "'";
}

void CTalXmlSerializer::WriteTextAttribute(const char* name, const CString& value)
{
    WriteAttribute(name, XmlTextForm(value));
}

void CTalXmlSerializer::WriteIntAttribute(const char* name, int32_t value)
{
    WriteAttribute(name, XmlIntegerForm(value));
}

void CTalXmlSerializer::WriteRealAttribute(const char* name, double value)
{
    WriteAttribute(name, XmlRealForm(value));
}

void CTalXmlSerializer::WriteShortRealAttribute(const char* name, double value)
{
    WriteAttribute(name, XmlShortRealForm(value));
}

void CTalXmlSerializer::EndStartTag()
{
    GetStream() << ">" << "\n";
    m_depth = ClampXmlDepth(m_depth + 1);
}

void CTalXmlSerializer::WriteEndTag(const char* name)
{
    m_depth = ClampXmlDepth(m_depth - 1);
    GetStream() << m_indentation.Get(m_depth) << "</" << name << ">" << "\n";
}

std::string CTalXmlSerializer::PictureFormat(const CString& file, const CString& picture)
{
    uint8_t head[CXmlPreprocessFile::kTypeBytes] = {};
    DWORD count = 0;
    HANDLE bytes = file.IsEmpty() ? INVALID_HANDLE_VALUE : CTalPictureRelocation::OpenToRead(file);
    if (bytes != INVALID_HANDLE_VALUE) {
        if (!::ReadFile(bytes, head, sizeof head, &count, nullptr))
            count = 0;
        ::CloseHandle(bytes);
    }
    // The picture's own name, not that of a copy the store named.
    return CXmlPreprocessFile::WrittenFormat(head, count, XmlTextForm(GetPathExtension(picture)));
}

bool CTalXmlSerializer::WriteFileAsBase64(const CString& path)
{
    m_readBytes = 0;
    m_readShort = m_readDigested = false;
    // Opened as the check before it opens it: what passed the check is read.
    HANDLE file = path.IsEmpty() ? INVALID_HANDLE_VALUE : CTalPictureRelocation::OpenToRead(path);
    m_readError = file == INVALID_HANDLE_VALUE ? (path.IsEmpty() ? DWORD(ERROR_FILE_NOT_FOUND) : ::GetLastError()) : 0;
    LARGE_INTEGER length{};
    if (file == INVALID_HANDLE_VALUE || !::GetFileSizeEx(file, &length)) {
        m_readError = m_readError != 0 ? m_readError : ::GetLastError();
        if (file != INVALID_HANDLE_VALUE)
            ::CloseHandle(file);
        return false;
    }
    // Whole groups of three bytes per piece keep the text one run; the text
    // is made in place in the stream's room for it. The digest is made as
    // the bytes pass, for the picture to be known again in the file written.
    const DWORD kPiece = CXmlFile::kRunSize / 4 * 3;
    std::vector<uint8_t> bytes(kPiece);
    CBase64 coder;
    CKWSha256 digest;
    int64_t total = 0;
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file, bytes.data(), kPiece, &read, nullptr) || read == 0)
            break;
        total += read;
        digest.Add(bytes.data(), read);
        const int32_t text = static_cast<int32_t>(CBase64::EncodedLength(read));
        GetStream().RunWritten(coder.Encode(bytes.data(), GetStream().RunBuffer(text), static_cast<int32_t>(read)));
        if (read < kPiece)
            break;
    }
    ::CloseHandle(file);
    // A picture cut short would be stored as a broken one.
    m_readShort = total != length.QuadPart;
    m_readBytes = static_cast<uint64_t>(total);
    m_readDigested = digest.Finish(m_readDigest);
    return true;
}

void CTalXmlSerializer::NoteWrittenPicture(const char* element, int64_t start, uint32_t id, int32_t key)
{
    if (m_readDigested && !m_readShort && m_readBytes > 0)
        m_writtenPictures.push_back({id, key, element, start, m_readBytes, m_readDigest});
}

void CTalXmlSerializer::RecordWrittenPictures(const CString& path)
{
    const CKWRasterLib::FileStamp stamp = CKWRasterLib::StampOf(path);
    for (const WrittenPicture& written : m_writtenPictures) {
        CKWRasterLib::EmbeddedText text;
        if (m_savesCopy && g_rasterLib.GetEmbeddedText(written.id, text) && path.CompareNoCase(text.file.c_str()) != 0)
            continue;
        g_rasterLib.SetEmbeddedText(
            written.id, {path.GetString(), written.element, written.start, stamp, written.bytes, written.digest});
    }
    m_writtenPictures.clear();
}

bool CTalXmlSerializer::WriteImageElement(const char* name, int32_t& pictureId)
{
    uint32_t id = static_cast<uint32_t>(pictureId);
    // A file that can no longer be read is taken anew from the file its
    // bytes were read from; else the picture would be written without them.
    const CString own = g_rasterLib.GetImagePath(id);
    CKWPictureHold hold;
    if (!own.IsEmpty() && CTalPictureRelocation::ReadError(own) != 0) {
        if (const uint32_t restored = CXmlPreprocessFile::RestorePicture(id, hold)) {
            // Held until the template takes the new id, after this returns.
            m_restoredHolds.push_back(std::move(hold));
            id = restored;
            pictureId = static_cast<int32_t>(id);
        }
    }
    CString path = g_rasterLib.CopyImageFileIntoStore(id);
    if (path.IsEmpty()) {
        // No copy: the picture keeps its id and its own file is written.
        path = g_rasterLib.GetImagePath(id);
    } else {
        const int32_t copyId = static_cast<int32_t>(g_rasterLib.GetPictureId(path));
        if (copyId != pictureId)
            pictureId = copyId;
    }
    BeginStartTag(name);
    // The extension of the file name only; a dot in a folder name is no extension.
    WriteAttribute("FileFormat", PictureFormat(path, g_rasterLib.GetImagePath(id)));
    EndStartTag();
    // A template file keeps what can be read of its picture, none when its
    // file cannot be opened; a report keeps it whole or is not written.
    const int64_t start = GetStream().GetWrittenCount();
    const bool opened = !path.IsEmpty() && WriteFileAsBase64(path);
    if (opened)
        NoteWrittenPicture(name, start, static_cast<uint32_t>(pictureId));
    WriteEndTag(name);
    if (opened && WasReadShort() && m_refusesUnread) {
        FailSave(m_targetPath, CString(L"The picture file ") + path + L" could not be read in full.");
        return false;
    }
    if (!opened && !path.IsEmpty() && m_refusesUnread) {
        CString line;
        line.Format(L"The %hs picture file %ls cannot be read: %ls", name, path.GetString(),
                    KWReadFailureReason(GetReadError()).GetString());
        m_unreadLines.push_back(line);
        FailSave(m_targetPath, line);
        return false;
    }
    return true;
}

void CTalXmlSerializer::FailSave(const CString& path, const CString& reason)
{
    if (!m_failedPath.IsEmpty())
        return;
    m_failedPath = path;
    m_failedReason = reason;
}

void CTalXmlSerializer::FailSave(const CString& path, DWORD error, KWWriteStep step)
{
    // Told now, while what made the write fail is still there to be seen.
    if (m_failedPath.IsEmpty())
        FailSave(path, KWWriteFailureReason(path, error, step));
}

void CTalXmlSerializer::FailUnkeptPictures(const CString& path, DWORD error)
{
    FailSave(path, L"Its pictures " + KWUnkeptPictureText(error));
}

CString CTalXmlSerializer::GetSaveFailure() const
{
    if (m_failedPath.IsEmpty())
        return CString();
    CString text;
    text.Format(L"Cannot write the file \"%ls\".\n%ls", m_failedPath.GetString(), m_failedReason.GetString());
    return text;
}

DWORD CTalXmlSerializer::CopyPictureFile(const CString& source, const CString& target)
{
    return CTalPictureRelocation::CopyNewFile(source, target);
}

void CTalXmlSerializer::ShowErrors(const CString& heading, const std::vector<CString>& lines)
{
    CXmlErrorDlg dialog;
    dialog.SetHeading(heading);
    for (const CString& line : lines)
        dialog.AddLine(line);
    dialog.DoModal();
}

void CTalXmlSerializer::ShowMessage(const CString& text)
{
    // The application's title, when the program has one.
    wchar_t caption[256] = {};
    const bool titled = ::LoadStringW(::GetModuleHandleW(nullptr), kApplicationTitleString, caption, 256) > 0;
    ::MessageBoxW(::GetForegroundWindow(), text, titled ? caption : nullptr, MB_OK);
}
