#pragma once
// CXmlErrorDlg: the dialog that lists the problems met while a file was
// loaded or saved, one message per line under a heading. The caller sets the
// heading and the lines, then shows it modally; OK closes it.
#include "appwindows/KWDialog.h"
#include "platform/classlib/String.h"

#include <vector>

class CXmlErrorDlg : public CKWDialog {
public:
    explicit CXmlErrorDlg(CWnd* parent = nullptr);

    void SetHeading(const CString& heading) { m_heading = heading; }
    const CString& GetHeading() const { return m_heading; }
    void AddLine(const CString& line) { m_lines.push_back(line); }
    const std::vector<CString>& GetLines() const { return m_lines; }

    BOOL OnInitDialog() override;

private:
    // Wide enough to scroll to the end of the longest line.
    void SetHorizontalExtent(HWND list);

    HWND m_list = nullptr;
    HWND m_label = nullptr;
    std::vector<CString> m_lines;
    CString m_heading;
};
