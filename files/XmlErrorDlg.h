#pragma once
// CXmlErrorDlg: the dialog that lists the problems met while a file was
// loaded or saved, one message per line under a heading. The caller sets the
// heading and the lines, then shows it modally; OK closes it. A message
// longer than the list is wide wraps onto as many rows as it needs, so that
// it reads whole without sideways scrolling.
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

protected:
    // The list's rows: each message's height wrapped to the list's width,
    // drawn as the list box draws its own.
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    DECLARE_MESSAGE_MAP()

private:
    // The message of a row of the list; empty past the last.
    CString LineAt(UINT index) const;
    // The text's rectangle inside a row of the list.
    CRect TextRect(const RECT& row) const;

    HWND m_list = nullptr;
    HWND m_label = nullptr;
    std::vector<CString> m_lines;
    CString m_heading;
};
