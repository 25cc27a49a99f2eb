#pragma once
// CXmlUtf8Copy: a document or template file written in UTF-16 (either byte
// order, with or without its byte order mark) is read through a UTF-8 copy
// of it in the temporary folder, so that the image pre-pass, which reads the
// raw bytes for its markers, and the parser read the same text, line for
// line. Any other file is read where it is. The copy goes with the object.
#include "platform/classlib/String.h"

class CXmlUtf8Copy {
public:
    // What the user is told when a UTF-16 file cannot be copied.
    static const wchar_t kFailedMessage[];

    explicit CXmlUtf8Copy(const wchar_t* path);
    ~CXmlUtf8Copy();
    CXmlUtf8Copy(const CXmlUtf8Copy&) = delete;
    CXmlUtf8Copy& operator=(const CXmlUtf8Copy&) = delete;

    // The file to read: the copy, or the file itself.
    const CString& GetReadPath() const { return m_readPath; }
    // The file is written in UTF-16 and is read through the copy; the copy's
    // declaration still names UTF-16, which its reader must pass over.
    bool IsCopy() const { return m_copied; }
    // The file is written in UTF-16 but no copy could be made: its text is
    // not valid UTF-16, or the copy could not be written.
    bool HasFailed() const { return m_failed; }

private:
    bool Copy(const wchar_t* path, bool bigEndian, bool skipMark);

    CString m_readPath;
    CString m_copyPath;
    bool m_copied = false;
    bool m_failed = false;
};
