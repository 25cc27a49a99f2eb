#pragma once
// CNewXmlArch: an XML file of this system, written by hand through the
// archive's output operations or read through libxml2's push parser, whose
// elements the archive dispatches through a tag table. Problems are collected
// as numbered errors and text messages (with the parser's line) and, when the
// archive has a log, also written to a ".xlog" file.
#include "files/XmlDigitRun.h"
#include "files/XmlFile.h"
#include "files/XmlValueForms.h"
#include "platform/classlib/String.h"

#include <cstdint>
#include <memory>

class CKWProgressInterface;
class CNewParamCell;
class CNewSaxInterface;
class CTagTable;

class CNewXmlArch {
public:
    enum : int32_t { kModeNone = -1, kModeWrite = 0, kModeRead = 1 };
    enum : int32_t {
        kErrNone = 0,
        kErrTerminated = 1,
        kErrCreateObject = 2,
        kErrMemory = 3,
        kErrLoadLibrary = 4,
        kErrInitialization = 5,
        kErrOpenFile = 6,
        kErrCommand = 7,
        kErrParsing = 8,
        kErrTypeMismatch = 9,
        kErrDuplicate = 10,
        kErrMisplaced = 11,
        kErrAttributeMissing = 12,
        kErrUnknown = 13,
    };
    // The file is read in blocks and handed to the parser in pieces; a stop
    // asked for by a handler halts the parser at once, inside its piece.
    static const int32_t kReadSize = 256 * 1024;
    static const int32_t kFeedSize = 16 * 1024;
    static const int32_t kFirstSliceSize = 8;
    // A start tag with more attributes ends the parse with an error.
    static const int32_t kMaxAttributes = 1000;
    // The progress advances once per this many bytes of the file.
    static const int32_t kProgressBytes = 64 * 1024;
    // Messages kept in each text; a report shows no more than these, later
    // ones are only counted (and logged), so that a file with a problem in
    // every element costs no unbounded memory.
    static const int32_t kMaxRecordedMessages = 1000;

    // The text of an error code; null for 0 and codes outside 1..13.
    static const wchar_t* GetErrorText(int32_t code);

    // Opens the file when a path is given.
    CNewXmlArch(const wchar_t* path = nullptr, int32_t mode = kModeNone, bool log = false);
    virtual ~CNewXmlArch();
    CNewXmlArch(const CNewXmlArch&) = delete;
    CNewXmlArch& operator=(const CNewXmlArch&) = delete;

    // Output. Indentation stands only at the start of a line: the pending
    // indentation is the depth's TABs once after a line feed, else empty.
    virtual const char* GetIndent();
    virtual const char* GetDepthIndent();
    virtual void StartTag(const wchar_t* name);
    // Attributes: " name='value'" with the value in its type's form
    // (XmlValueForm); nothing without a name.
    template <class T>
    void WriteAttr(const wchar_t* name, const T& value)
    {
        WriteAttrText(name, XmlValueForm(value));
    }
    // Bytes as one Base64 run; nothing without data.
    void WriteAttr(const wchar_t* name, const void* data, int32_t length);
    virtual void CloseStartTag();
    // Values, after the pending indentation.
    template <class T>
    void WriteValue(const T& value)
    {
        WriteOut(GetIndent());
        WriteOut(XmlValueForm(value));
    }
    void WriteValue(const void* data, int32_t length);
    virtual void EndEmptyElement();
    virtual void EndTag(const wchar_t* name);
    // One element with its value on one line; nothing without a name.
    template <class T>
    void WriteElement(const wchar_t* name, const T& value)
    {
        WriteElementText(name, XmlValueForm(value));
    }
    void WriteElement(const wchar_t* name, const void* data, int32_t length);
    virtual void LineFeed();

    // Input and state.
    bool Open(const wchar_t* path, int32_t mode, bool log);
    // Only while reading; gives the table this archive.
    void SetTagTable(CTagTable* table);
    // Runs of the file (in file order) known to hold only Base64 digits: the
    // text of a skipped element that stands in one is passed over unread.
    void SetDigitRuns(const XmlDigitRuns& runs) { m_digitRuns = runs; }
    // The file is a UTF-8 copy of one written in another encoding, which its
    // declaration still names: the declaration's encoding is passed over.
    void SetUtf8Copy(bool copy) { m_utf8Copy = copy; }
    // Feeds the file to the parser and closes the archive; the error code.
    int32_t Parse(CKWProgressInterface* progress = nullptr);
    void StopParser();
    void Close();

    bool IsOpen() const { return m_stream && m_stream->IsOpen(); }
    bool IsLoading() const { return m_mode == kModeRead; }
    bool IsSaving() const { return m_mode == kModeWrite; }
    bool IsParsing() const { return m_sax != nullptr; }
    const CString& GetPath() const { return m_path; }
    int32_t GetError() const { return m_error; }
    const CString& GetErrors() const { return m_errors; }
    const CString& GetWarnings() const { return m_warnings; }
    // The messages past kMaxRecordedMessages that the texts do not hold.
    int32_t GetUnrecordedCount() const { return m_unrecorded; }
    CString GetPublicId() const;
    CString GetSystemId() const;
    int32_t GetLineNumber() const;
    int32_t GetColumnNumber() const;
    // The element stack's depth while parsing, else the writer's depth.
    int32_t GetDepth() const;

    // For handlers: the element's current cell; skipping an element from
    // now to its end tag.
    CNewParamCell* GetParams(const wchar_t* name) const;
    bool SkipElement(const CString& name);

    // Errors and warnings. Codes outside 0..13 become 13; 0 clears the code.
    int32_t SetError(int32_t code);
    void SetWarning(int32_t code);
    // Error 1 and the warning "The parser is terminated."; a parse in
    // progress stops at once.
    void Stop();
    // Records the text with the parser's line; 13, or 0 for no text.
    int32_t Error(const wchar_t* text);
    void Warning(const wchar_t* text);
    // An empty name takes the archive's file name, or one made of the time;
    // the extension becomes ".xlog".
    bool OpenLog(const wchar_t* name);
    // A log that received nothing is deleted.
    void CloseLog();
    bool IsLogOpen() const { return m_log && m_log->IsOpen(); }
    const CString& GetLogPath() const { return m_logPath; }
    // The name a log for that file gets.
    static CString MakeLogName(const wchar_t* name);

private:
    void Record(CString& target, int32_t& count, const wchar_t* label, const wchar_t* text);
    void WriteOut(const std::string& text);
    void WriteOut(const char* text);
    void WriteAttrText(const wchar_t* name, const std::string& value);
    void WriteElementText(const wchar_t* name, const std::string& value);
    // Feeds the file until the end, an error, or a stop.
    void FeedParser(CKWProgressInterface* progress);

    CXmlIndentation m_indentation;
    bool m_pendingIndent = false;
    int32_t m_error = kErrNone;
    CString m_errors;
    CString m_warnings;
    int32_t m_errorCount = 0;
    int32_t m_warningCount = 0;
    int32_t m_unrecorded = 0;
    int32_t m_mode = kModeNone;
    std::unique_ptr<CNewSaxInterface> m_sax;
    CTagTable* m_table = nullptr;
    CString m_path;
    std::unique_ptr<CXmlFile> m_stream;
    std::unique_ptr<CXmlFile> m_log;
    CString m_logPath;
    bool m_logFlag = false;
    int32_t m_depth = 0;
    XmlDigitRuns m_digitRuns;
    bool m_utf8Copy = false;
};
