#pragma once
// CTalLoadReport: the lines of a load's problem report. The archive's message
// texts are split into lines in one pass; the report keeps the first
// kMaxLines and ends with a line that counts the others, so that a file with
// a problem in every element costs neither time nor a dialog of endless lines.
#include "platform/classlib/String.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CTalLoadReport {
public:
    static const size_t kMaxLines = 1000;
    // The message of a file that holds no document or template at all.
    static const wchar_t kIncompatibleFormat[];

    void Add(const CString& line);
    // One line per line of the message: white space at the message's end and
    // at the start of each later line is dropped, and a carriage return
    // before a line feed; the last line is added also when empty.
    void AddMessage(const CString& message);
    // Lines that were counted elsewhere and are not shown either.
    void AddUnshown(int64_t count) { m_more += count; }
    // The lines shown, the count of the rest as the last one; the report is
    // empty afterwards.
    std::vector<CString> TakeLines();

private:
    std::vector<CString> m_lines;
    int64_t m_more = 0;
};
