#include "docking/toolbars/QMXPMnemonicLabel.h"

#include "platform/classlib/GdiObject.h"

#include <algorithm>

CQMXPMnemonicLabel::CQMXPMnemonicLabel(CDC* pDC, const CString& strText) : m_iMnemonic(Parse(strText, m_strShown)) {
    const int nLength = m_strShown.GetLength();
    m_edges.assign(nLength, 0);
    m_advances.assign(nLength, 0);
    SIZE size{};
    if (nLength == 0 ||
        !::GetTextExtentExPointW(pDC->m_hAttribDC, m_strShown, nLength, 0, nullptr, m_edges.data(), &size))
        return;
    for (int i = 0; i < nLength; ++i)
        m_advances[i] = CellRight(i) - CellLeft(i);
}

int CQMXPMnemonicLabel::Parse(const CString& strText, CString& strShown) {
    strShown.Empty();
    int iMnemonic = -1;
    const int nLength = strText.GetLength();
    for (int i = 0; i < nLength; ++i) {
        if (strText[i] == L'&') {
            if (i + 1 >= nLength)
                continue;
            if (strText[i + 1] != L'&') {
                if (iMnemonic < 0)
                    iMnemonic = strShown.GetLength();
                continue;
            }
            ++i;
        }
        strShown += strText[i];
    }
    return iMnemonic < strShown.GetLength() ? iMnemonic : -1;
}

void CQMXPMnemonicLabel::Draw(CDC* pDC, const CRect& rect, UINT nFormat) {
    TEXTMETRICW tm{};
    pDC->GetTextMetrics(&tm);
    int x = rect.left;
    if (nFormat & DT_RIGHT)
        x = rect.right - GetWidth();
    else if (nFormat & DT_CENTER)
        x = (rect.left + rect.right - GetWidth()) / 2;
    const int y = (nFormat & DT_VCENTER) ? rect.top + rect.Height() / 2 - tm.tmHeight / 2 : rect.top;
    pDC->ExtTextOut(x, y, ETO_CLIPPED, &rect, m_strShown, Advances());
    if (m_iMnemonic < 0)
        return;
    // The line leaves the cell's last column open, as the system's does.
    const int yLine = y + tm.tmAscent + 1;
    const int xFrom = std::max<int>(x + CellLeft(m_iMnemonic), rect.left);
    const int xTo = std::min<int>(x + CellRight(m_iMnemonic) - 1, rect.right);
    if (xFrom >= xTo || yLine < rect.top || yLine >= rect.bottom)
        return;
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, pDC->GetTextColor());
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->MoveTo(xFrom, yLine);
    pDC->LineTo(xTo, yLine);
    pDC->SelectObject(pOldPen);
}
