#include "files/TalXmlSerializer.h"

#include "files/Base64.h"
#include "files/TalPictureRelocation.h"
#include "files/XmlErrorDlg.h"
#include "files/XmlPreprocessFile.h"
#include "framework/KWPathUtils.h"
#include "framework/KWPictureProblem.h"
#include "framework/KWRasterLib.h"
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
    int32_t count = 0;
    CXmlFile bytes;
    if (!file.IsEmpty() && bytes.Open(file, CXmlFile::kRead | CXmlFile::kBinary))
        count = std::max(bytes.Read(head, static_cast<int32_t>(sizeof head)), 0);
    // The picture's own name, not that of a copy the store named.
    return CXmlPreprocessFile::WrittenFormat(head, static_cast<size_t>(count), XmlTextForm(GetPathExtension(picture)));
}

bool CTalXmlSerializer::WriteFileAsBase64(const CString& path)
{
    CXmlFile file;
    m_readBytes = 0;
    if (path.IsEmpty() || !file.Open(path, CXmlFile::kRead | CXmlFile::kBinary))
        return false;
    const int64_t length = file.GetLength();
    // Whole groups of three bytes per piece keep the text one run; the text
    // is made in place in the stream's room for it.
    const int32_t kPiece = CXmlFile::kRunSize / 4 * 3;
    std::vector<uint8_t> bytes(kPiece);
    CBase64 coder;
    int64_t total = 0;
    for (;;) {
        const int32_t read = file.Read(bytes.data(), kPiece);
        if (read <= 0)
            break;
        total += read;
        const int32_t length = static_cast<int32_t>(CBase64::EncodedLength(read));
        GetStream().RunWritten(coder.Encode(bytes.data(), GetStream().RunBuffer(length), read));
        if (read < kPiece)
            break;
    }
    // A picture cut short would be stored as a broken one.
    m_readShort = total != length;
    m_readBytes = static_cast<uint64_t>(total);
    return true;
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
    const bool opened = !path.IsEmpty() && WriteFileAsBase64(path);
    WriteEndTag(name);
    if (opened && WasReadShort() && m_refusesUnread) {
        FailSave(m_targetPath, CString(L"The picture file ") + path + L" could not be read in full.");
        return false;
    }
    if (!opened && !path.IsEmpty() && m_refusesUnread) {
        CString line;
        line.Format(L"The %hs picture file %ls cannot be read: %ls", name, path.GetString(),
                    KWReadFailureReason(CTalPictureRelocation::ReadError(path)).GetString());
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
