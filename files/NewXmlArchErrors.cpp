// The archive's errors, warnings and log file.
#include "files/NewXmlArch.h"

#include "framework/KWPathUtils.h"

#include <windows.h>

#include <ctime>

namespace {

const wchar_t* const kErrorTexts[] = {
    nullptr,
    L"The parser is terminated.",
    L"Can't create object.",
    L"Can't allocate memory block.",
    L"Can't load parser's library.",
    L"Initialization error.",
    L"Can't open file.",
    L"Can't process command.",
    L"Parsing error occures.",
    L"Type mismatch.",
    L"This file contains a duplicate of an element that can exist only once. Quillmark has ignored the "
    L"duplicate element.",
    L"This file contains an element that exists not on it's place. Quillmark has ignored the missplaced "
    L"element.",
    L"Required attribute is missing",
    L"An unknown error occures.",
};

const wchar_t kLogExtension[] = L".xlog";

}  // namespace

const wchar_t* CNewXmlArch::GetErrorText(int32_t code)
{
    if (code < kErrTerminated || code > kErrUnknown)
        return nullptr;
    return kErrorTexts[code];
}

int32_t CNewXmlArch::SetError(int32_t code)
{
    if (code < kErrNone || code > kErrUnknown)
        code = kErrUnknown;
    if (code == kErrNone) {
        m_error = kErrNone;
        return kErrNone;
    }
    Error(GetErrorText(code));
    m_error = code;
    return code;
}

void CNewXmlArch::SetWarning(int32_t code)
{
    if (const wchar_t* text = GetErrorText(code))
        Warning(text);
}

void CNewXmlArch::Stop()
{
    m_error = kErrTerminated;
    SetWarning(kErrTerminated);
    StopParser();
}

int32_t CNewXmlArch::Error(const wchar_t* text)
{
    if (!text)
        return kErrNone;
    Record(m_errors, m_errorCount, L"Error", text);
    m_error = kErrUnknown;
    return kErrUnknown;
}

void CNewXmlArch::Warning(const wchar_t* text)
{
    if (text)
        Record(m_warnings, m_warningCount, L"Warning", text);
}

void CNewXmlArch::Record(CString& target, int32_t& count, const wchar_t* label, const wchar_t* text)
{
    const bool kept = count < kMaxRecordedMessages;
    if (kept)
        ++count;
    else if (m_unrecorded < INT32_MAX)
        ++m_unrecorded;
    if (!kept && !IsLogOpen())
        return;
    const int32_t line = GetLineNumber();
    // The error label spells "Line", the warning label "line".
    const wchar_t* lineWord = label[0] == L'E' ? L"Line" : L"line";
    CString shown;
    CString logged;
    if (line < 1) {
        shown.Format(L"%ls: %ls%ls", label, text, L"\r\n");
        logged.Format(L"%ls: %ls%ls", label, text, L"\n");
    } else {
        shown.Format(L"%ls [%ls %d]: %ls%ls", label, lineWord, line, text, L"\r\n");
        logged.Format(L"%ls [%ls %d]: %ls%ls", label, lineWord, line, text, L"\n");
    }
    if (kept)
        target += shown;
    if (IsLogOpen())
        *m_log << logged;
}

CString CNewXmlArch::MakeLogName(const wchar_t* name)
{
    CString logName(name ? name : L"");
    // Only the file-name part loses its extension: a dot in a folder name stays.
    int start = FindLastPathSeparator(logName, -1) + 1;
    int dot = logName.ReverseFind(L'.');
    if (dot > start)
        logName = logName.Left(dot);
    logName += kLogExtension;
    return logName;
}

bool CNewXmlArch::OpenLog(const wchar_t* name)
{
    CloseLog();
    CString base(name ? name : L"");
    if (base.IsEmpty())
        base = m_path;
    if (base.IsEmpty()) {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        if (const std::tm* t = std::localtime(&now))
            local = *t;
        base.Format(L"%2d_%d_%d_h%d_m%d_s%d", (local.tm_year + 1900) % 100, local.tm_mon + 1, local.tm_mday,
                    local.tm_hour, local.tm_min, local.tm_sec);
    }
    m_logPath = MakeLogName(base);
    auto log = std::make_unique<CXmlFile>();
    if (log->Open(m_logPath, CXmlFile::kWrite))
        m_log = std::move(log);
    else
        m_logPath.Empty();
    return IsLogOpen();
}

void CNewXmlArch::CloseLog()
{
    if (!m_log)
        return;
    CString path = m_logPath;
    const int64_t length = m_log->GetLength();
    m_log->Close();
    m_log.reset();
    m_logPath.Empty();
    if (length == 0 && !path.IsEmpty())
        ::DeleteFileW(path);
}
