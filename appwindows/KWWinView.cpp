#include "appwindows/KWWinView.h"

#include "platform/classlib/OleClientItem.h"

#include "framework/KWClipFormats.h"
#include "framework/KWDib.h"
#include "framework/KWDragInfo.h"
#include "framework/KWDropData.h"
#include "framework/KWGdiPlusDraw.h"
#include "appwindows/KWAccessors.h"
#include "appwindows/KWBaseApplication.h"
#include "appwindows/KWDocument.h"
#include "appwindows/KWPrintPreviewView.h"
#include "appwindows/KWPrintIFace.h"
#include "appwindows/KWWinBasePageFrame.h"
#include "appwindows/KWWinSrvrItem.h"
#include "appwindows/KWWinWheelWnd.h"
#include "platform/classlib/CmdUI.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/PreviewDC.h"
#include "platform/classlib/PrintInfo.h"
#include "platform/classlib/ScrollBar.h"

#include <shlobj.h>

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNCREATE(CKWWinView, CView)

BEGIN_MESSAGE_MAP(CKWWinView, CView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_SIZE()
    ON_WM_MOUSEWHEEL()
    ON_WM_MBUTTONDOWN()
    ON_WM_PAINT()
    ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_PREVIEW, OnUpdateFilePrintPreview)
END_MESSAGE_MAP()

namespace {

// The scan code of the left Shift key.
const UINT kLeftShiftScanCode = 0x2A;

CKWDoublePoint ToDouble(const CPoint& point)
{
    return CKWDoublePoint{static_cast<double>(point.x), static_cast<double>(point.y)};
}

bool KeyDown(int key) { return ::GetKeyState(key) < 0; }

bool IsHorizontalScrollBar(HWND window)
{
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    return window && ::lstrcmpiW(className, L"ScrollBar") == 0 && (::GetWindowLongW(window, GWL_STYLE) & SBS_VERT) == 0;
}

}  // namespace

// ---- The drop target ---------------------------------------------------------

DROPEFFECT CKWWinView::CDropTarget::OnDragEnter(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    return m_view->OnDragEnter(pDataObject, dwKeyState, point);
}

DROPEFFECT CKWWinView::CDropTarget::OnDragOver(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    return m_view->OnDragOver(pDataObject, dwKeyState, point);
}

BOOL CKWWinView::CDropTarget::OnDrop(CWnd*, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point)
{
    return m_view->OnDrop(pDataObject, dropEffect, point);
}

void CKWWinView::CDropTarget::OnDragLeave(CWnd*) { m_view->OnDragLeave(); }

// ---- The view ----------------------------------------------------------------

CKWWinView::CKWWinView()
    : m_leftShiftDown(false), m_trackingLeave(false), m_dropEffect(DROPEFFECT_NONE), m_pageFrame(nullptr)
{
    m_dropTarget.m_view = this;
    m_updateRegion.CreateRectRgn(0, 0, 0, 0);
}

CKWWinView::~CKWWinView() { m_dropTarget.Revoke(); }

void CKWWinView::OnDestroy()
{
    // While the window still exists: OLE keeps the target by its window.
    m_dropTarget.Revoke();
    CView::OnDestroy();
}

int CKWWinView::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    // Without OLE the view still works; it only takes no drops.
    m_dropTarget.Register(this);
    return 0;
}

CKWPrintIFace* CKWWinView::GetPrintIFace()
{
    CKWDocument* document = GetKWDocument();
    return document ? document->GetPrintIFace() : nullptr;
}

bool CKWWinView::OnLButtonDown(const CPoint&)
{
    if (::GetCapture() != m_hWnd)
        SetCapture();
    return false;
}

bool CKWWinView::OnLButtonUp(const CPoint&)
{
    IsDraggingSelection();
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    return false;
}

uint32_t CKWWinView::GetModifierFlags()
{
    uint32_t flags = 0;
    if (KeyDown(VK_SHIFT))
        flags |= m_leftShiftDown ? KWMOD_LEFT_SHIFT : KWMOD_OTHER_SHIFT;
    if (KeyDown(VK_CONTROL))
        flags |= KWMOD_CTRL;
    if (KeyDown(VK_MENU))
        flags |= KWMOD_ALT;
    m_leftShiftDown = false;
    return flags;
}

CKWDocument* CKWWinView::GetKWDocument() { return DYNAMIC_DOWNCAST(CKWDocument, GetDocument()); }

CScrollBar* CKWWinView::GetVertScrollBar() { return m_pageFrame ? m_pageFrame->GetVertScrollBar() : nullptr; }

CScrollBar* CKWWinView::GetHorzScrollBar() { return m_pageFrame ? m_pageFrame->GetHorzScrollBar() : nullptr; }

void CKWWinView::OnSizeView(UINT type, int cx, int cy)
{
    OnSizeBuffer(cx, cy);
    RecalcScrolling();
}

void CKWWinView::ScrollWindowBy(const CRect& rect, int dx, int dy)
{
    ::ScrollWindowEx(m_hWnd, dx, dy, &rect, &rect, nullptr, nullptr, 0);
}

CKWWinSrvrItem* CKWWinView::CreateDragItem() { return GetDragItem(); }

bool CKWWinView::GetUpdateRects(std::vector<CKWDoubleRect>& rects, CKWDoubleRect& bounds)
{
    rects.clear();
    bounds = CKWDoubleRect();
    const DWORD size = ::GetRegionData(m_updateRegion, 0, nullptr);
    if (size < sizeof(RGNDATAHEADER))
        return false;
    std::vector<uint8_t> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (::GetRegionData(m_updateRegion, size, data) == 0)
        return false;
    const RECT* rect = reinterpret_cast<const RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
        rects.emplace_back(rect[i].left, rect[i].top, rect[i].right, rect[i].bottom);
    const RECT& box = data->rdh.rcBound;
    bounds = CKWDoubleRect(box.left, box.top, box.right, box.bottom);
    return !rects.empty();
}

HRGN CKWWinView::GetUpdateRegion() { return m_updateRegion; }

// ---- Messages ----------------------------------------------------------------

void CKWWinView::OnKeyDown(UINT nChar, UINT, UINT nFlags)
{
    if (nChar == VK_SHIFT && (nFlags & 0xFF) == kLeftShiftScanCode)
        m_leftShiftDown = true;
    OnKeyDown(CKWKeyRecord::FromMessage(nChar));
}

void CKWWinView::OnKeyUp(UINT nChar, UINT, UINT nFlags)
{
    if (nChar == VK_SHIFT && (nFlags & 0xFF) == kLeftShiftScanCode)
        m_leftShiftDown = false;
    OnKeyUp(CKWKeyRecord::FromMessage(nChar));
}

void CKWWinView::OnLButtonDown(UINT, CPoint point) { OnLButtonDown(static_cast<const CPoint&>(point)); }

void CKWWinView::OnLButtonDblClk(UINT, CPoint point) { OnLButtonDblClk(static_cast<const CPoint&>(point)); }

void CKWWinView::OnLButtonUp(UINT, CPoint point) { OnLButtonUp(static_cast<const CPoint&>(point)); }

void CKWWinView::OnRButtonDown(UINT, CPoint point) { OnRButtonDown(static_cast<const CPoint&>(point)); }

void CKWWinView::OnMouseMove(UINT, CPoint point)
{
    if (::GetCapture() == m_hWnd)
        m_trackingLeave = true;
    if (!m_trackingLeave) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        if (::TrackMouseEvent(&track))
            m_trackingLeave = true;
    }
    CPoint screen = point;
    ClientToScreen(&screen);
    if (::WindowFromPoint(screen) != m_hWnd)
        BeginDrag(point);
    OnMouseMove(static_cast<const CPoint&>(point));
}

void CKWWinView::OnMouseLeave() { m_trackingLeave = false; }

bool CKWWinView::OfferToOtherScrollBar(CScrollBar* pScrollBar, CScrollBar* own)
{
    if (!pScrollBar || !pScrollBar->m_hWnd || pScrollBar == own || (own && pScrollBar->m_hWnd == own->m_hWnd))
        return false;
    return SendChildNotifyLastMsg() != FALSE;
}

void CKWWinView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (OfferToOtherScrollBar(pScrollBar, GetHorzScrollBar()))
        return;
    OnScroll(MAKEWORD(nSBCode, 0xFF), nPos);
}

void CKWWinView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (OfferToOtherScrollBar(pScrollBar, GetVertScrollBar()))
        return;
    OnScroll(MAKEWORD(0xFF, nSBCode), nPos);
}

void CKWWinView::OnSize(UINT nType, int cx, int cy)
{
    Default();
    OnSizeView(nType, cx, cy);
}

BOOL CKWWinView::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (nFlags & MK_CONTROL) {
        Default();
        return TRUE;
    }
    const bool horizontal = (nFlags & MK_SHIFT) != 0 || IsHorizontalScrollBar(::WindowFromPoint(pt));
    // An arithmetic shift: a notch towards the user (-120) gives -2.
    ScrollLines(horizontal, static_cast<int>(zDelta) >> GetWheelShift());
    Default();
    return TRUE;
}

void CKWWinView::OnMButtonDown(UINT nFlags, CPoint)
{
    if (nFlags == MK_MBUTTON)
        StartAutoScroll(this, true, true);
    else
        Default();
}

void CKWWinView::OnPaint()
{
    const int kind = ::GetUpdateRgn(m_hWnd, m_updateRegion, FALSE);
    if (kind == ERROR || kind == NULLREGION) {
        CRect client;
        GetClientRect(&client);
        ::SetRectRgn(m_updateRegion, client.left, client.top, client.right, client.bottom);
    }
    CPaintDC dc(this);
    OnPrepareDC(&dc, nullptr);
    dc.SelectClipRgn(&m_updateRegion);
    OnDraw(&dc);
}

void CKWWinView::OnUpdateFilePrintPreview(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

void CKWWinView::OnFilePrintPreview()
{
    CKWBaseApplication* app = KWGetApp();
    CFrameWnd* frame = KWGetActiveFrame();
    if (app && frame) {
        app->OnPrintPreviewFrame(frame, false);
        app->PrintPreviewHook(frame, false);
        app->SetStatusBarTexts(L"", L"", nullptr);
    }
    // A preview that did not start gives back what was put away for it (the
    // gallery, the frame's state), as a closed one does.
    if (!::DoPrintPreview(this))
        TellPreviewEnded();
}

void CKWWinView::TellPreviewEnded()
{
    CKWBaseApplication* app = KWGetApp();
    CFrameWnd* frame = KWGetActiveFrame();
    if (app && frame) {
        app->OnPrintPreviewFrame(frame, true);
        app->PrintPreviewHook(frame, true);
        app->OnPrintPreviewEnded();
    }
}

void CKWWinView::OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CPreviewView* pView)
{
    CView::OnEndPrintPreview(pDC, pInfo, point, pView);
    TellPreviewEnded();
}

void CKWWinView::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    CKWGdiPlusDraw graphics(pDC);
    Paint(&graphics, client);
}

// ---- Printing ----------------------------------------------------------------

void CKWWinView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnPrepareDC(pDC, pInfo);
    if (!pInfo)
        return;
    if (CKWPrintIFace* printIFace = GetPrintIFace())
        printIFace->OnPrepareDC(pDC, pInfo);
}

BOOL CKWWinView::OnPreparePrinting(CPrintInfo* pInfo)
{
    if (CKWPrintIFace* printIFace = GetPrintIFace())
        printIFace->OnPreparePrinting(pInfo);
    // The class library has no embedded document objects to prepare.
    if (!DoPreparePrinting(pInfo))
        return FALSE;
    UpdateWindow();
    return TRUE;
}

void CKWWinView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnBeginPrinting(pDC, pInfo);
    CKWPrintIFace* printIFace = GetPrintIFace();
    if (printIFace && pInfo && pInfo->m_pPD)
        printIFace->OnBeginPrinting(pDC, pInfo, pInfo->m_pPD);
}

void CKWWinView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    CKWPrintIFace* printIFace = GetPrintIFace();
    if (printIFace && !printIFace->PreparePage(pDC, pInfo))
        return;
    if (pInfo && pInfo->m_bPreview) {
        PrintPreviewPage(pDC, pInfo);
        return;
    }
    CKWGdiPlusDraw graphics(pDC);
    graphics.SetFixedDpi(pDC->GetDeviceCaps(LOGPIXELSY));
    graphics.SetUseFixedDpi(true);
    graphics.SetPreview(pInfo && pInfo->m_bPreview);
    const int page = pInfo ? static_cast<int>(pInfo->m_nCurPage) : 1;
    BeginPrintPage(&graphics, page);
    PrintPage(&graphics, page);
    EndPrintPage();
}

void CKWWinView::PrintPreviewPage(CDC* pDC, CPrintInfo* pInfo)
{
    // The printer's measures: the preview's context asks the printer.
    const int dpi = pDC->GetDeviceCaps(LOGPIXELSY);
    const int width = pDC->GetDeviceCaps(HORZRES);
    const int height = pDC->GetDeviceCaps(VERTRES);
    if (dpi <= 0 || width <= 0 || height <= 0)
        return;
    // Drawn at the size the preview shows it, the page is shown pixel for
    // pixel: no scaling of the screen's thins out its pictures and lines.
    // Without that size, at kPreviewDpi; never finer than the printer.
    double scaleX = std::min(1.0, static_cast<double>(kPreviewDpi) / dpi);
    double scaleY = scaleX;
    if (const auto* preview = dynamic_cast<const CPreviewDC*>(pDC)) {
        const CSize shown = preview->GetShownSize();
        if (shown.cx > 0 && shown.cy > 0) {
            scaleX = std::min(1.0, static_cast<double>(shown.cx) / width);
            scaleY = std::min(1.0, static_cast<double>(shown.cy) / height);
        }
    }
    const int cx = std::max(1, static_cast<int>(std::lround(width * scaleX)));
    const int cy = std::max(1, static_cast<int>(std::lround(height * scaleY)));
    BITMAPINFO info;
    void* bits = nullptr;
    HDC memory = ::CreateCompatibleDC(nullptr);
    HBITMAP page = KWCreateTopDownDib(memory, cx, cy, info, &bits);
    if (page) {
        HGDIOBJ old = ::SelectObject(memory, page);
        ::PatBlt(memory, 0, 0, cx, cy, WHITENESS);
        {
            CKWGdiPlusDraw graphics(memory);
            graphics.SetFixedDpi(dpi);
            graphics.SetUseFixedDpi(true);
            graphics.SetPreview(true);
            graphics.Scale(static_cast<double>(cx) / width, static_cast<double>(cy) / height);
            const int number = static_cast<int>(pInfo->m_nCurPage);
            BeginPrintPage(&graphics, number);
            PrintPage(&graphics, number);
            EndPrintPage();
        }
        ::GdiFlush();
        // The page is shown smaller still on the screen: averaged, not
        // thinned out pixel by pixel (the screen's default, which breaks
        // photographs into noise and drops thin lines).
        ::SetStretchBltMode(pDC->m_hDC, HALFTONE);
        ::SetBrushOrgEx(pDC->m_hDC, 0, 0, nullptr);
        ::StretchDIBits(pDC->m_hDC, 0, 0, width, height, 0, 0, cx, cy, bits, &info, DIB_RGB_COLORS, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteObject(page);
    }
    if (memory)
        ::DeleteDC(memory);
}

void CKWWinView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnEndPrinting(pDC, pInfo);
    if (CKWPrintIFace* printIFace = GetPrintIFace())
        printIFace->OnEndPrinting(pDC, pInfo);
}

// ---- Drags -------------------------------------------------------------------

void CKWWinView::BeginDrag(const CPoint& point)
{
    if (!CanBeginDrag())
        return;
    KWDragInfo info;
    info.Clear();
    if (!PrepareDragData(point, info))
        return;
    CKWWinSrvrItem* item = CreateDragItem();
    if (!item)
        return;
    item->SetDragInfo(info);
    const DROPEFFECT effect = item->DoDragDrop(point);
    item->InternalRelease();
    const DROPEFFECT kMovedByTarget = DROPEFFECT_MOVE | 8;
    if ((effect & kMovedByTarget) == kMovedByTarget)
        OnDragMoved();
}

bool CKWWinView::ReadDropString(KWDropCursor& cursor, CString& text)
{
    text.Empty();
    const wchar_t* start = cursor.position;
    const wchar_t* stop = start;
    while (stop < cursor.end && *stop != 0)
        ++stop;
    if (stop >= cursor.end || stop == start) {
        // The empty string ends the list; a string without its end is not one.
        cursor.position = cursor.end;
        return false;
    }
    text = CString(start, static_cast<int>(stop - start));
    cursor.position = stop + 1;
    return true;
}

bool CKWWinView::CanDropFiles(COleDataObject* data, const CPoint& point)
{
    CKWLockedDropBlock block(data, CF_HDROP);
    std::vector<wchar_t> converted;
    KWDropCursor cursor;
    if (!KWOpenDroppedFileList(block.Bytes(), block.Size(), converted, cursor.position, cursor.end))
        return false;
    bool accepted = false;
    CString path;
    while (ReadDropString(cursor, path)) {
        if (AcceptsFile(path))
            accepted = true;
    }
    return accepted;
}

DROPEFFECT CKWWinView::OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point)
{
    m_dropEffect = DROPEFFECT_COPY;
    const CKWDoublePoint at = ToDouble(point);
    KWDragInfo info;
    std::vector<uint8_t> objectData;
    switch (KWReadAppDropData(data, info, objectData)) {
    case KWAppDropData::kRead:
        m_dropEffect = OnDragEnterData(&info, &objectData, at) ? (DROPEFFECT_MOVE | 8) : DROPEFFECT_MOVE;
        return info.IsCopy() || (keyState & MK_CONTROL) ? DROPEFFECT_COPY : m_dropEffect;
    case KWAppDropData::kBroken:
        m_dropEffect = DROPEFFECT_NONE;
        return DROPEFFECT_NONE;
    case KWAppDropData::kAbsent:
        break;
    }
    bool accepted = true;
    if (data->IsDataAvailable(CF_HDROP)) {
        accepted = CanDropFiles(data, point);
    } else if (COleClientItem::CanCreateFromData(data)) {
        accepted = OnDragEnterObject(data, at);
    } else if (data->IsDataAvailable(CF_ENHMETAFILE) || data->IsDataAvailable(CF_METAFILEPICT)) {
        // The metafile formats come as their own media: the one that can be had is offered.
        FORMATETC enhanced = {CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
        FORMATETC picture = {CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT};
        if (data->IsDataAvailable(CF_ENHMETAFILE, &enhanced))
            accepted = OnDragEnterMetafile(data, CF_ENHMETAFILE, at);
        else if (data->IsDataAvailable(CF_METAFILEPICT, &picture))
            accepted = OnDragEnterMetafile(data, CF_METAFILEPICT, at);
        else
            accepted = false;
    } else {
        const CLIPFORMAT images[] = {CF_DIB, CF_BITMAP, CF_TIFF};
        const CLIPFORMAT texts[] = {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT};
        bool found = false;
        for (CLIPFORMAT format : images) {
            if (!found && data->IsDataAvailable(format)) {
                accepted = OnDragEnterImage(data, format, at);
                found = true;
            }
        }
        for (CLIPFORMAT format : texts) {
            if (!found && data->IsDataAvailable(format)) {
                accepted = OnDragEnterText(data, format, at);
                found = true;
            }
        }
        if (!found) {
            accepted = false;
            OnDragEnterOther(data, at);
        }
    }
    if (!accepted)
        m_dropEffect = DROPEFFECT_NONE;
    return m_dropEffect;
}

DROPEFFECT CKWWinView::OnDragOver(COleDataObject* data, DWORD keyState, CPoint point)
{
    const CKWDoublePoint at = ToDouble(point);
    KWDragInfo info;
    std::vector<uint8_t> objectData;
    switch (KWReadAppDropData(data, info, objectData)) {
    case KWAppDropData::kRead:
        OnDragOverData(&info, at);
        return info.IsCopy() || (keyState & MK_CONTROL) ? DROPEFFECT_COPY : m_dropEffect;
    case KWAppDropData::kBroken:
        return DROPEFFECT_NONE;
    case KWAppDropData::kAbsent:
        break;
    }
    OnDragOverData(nullptr, at);
    // Ctrl makes a copy of what the view takes, never takes what it refused.
    if (m_dropEffect == DROPEFFECT_NONE)
        return DROPEFFECT_NONE;
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : m_dropEffect;
}

void CKWWinView::OnDragLeave()
{
    OnDragLeaveData();
    m_dropEffect = DROPEFFECT_NONE;
}

BOOL CKWWinView::OnDrop(COleDataObject* data, DROPEFFECT dropEffect, CPoint point)
{
    const CKWDoublePoint at = ToDouble(point);
    KWDragInfo info;
    std::vector<uint8_t> objectData;
    switch (KWReadAppDropData(data, info, objectData)) {
    case KWAppDropData::kRead: {
        const bool plainMove = (dropEffect & DROPEFFECT_COPY) == 0 && (dropEffect & ~(DROPEFFECT_MOVE | 8)) == 0 &&
                               !info.IsCopy();
        OnDropData(&info, &objectData, at, !plainMove);
        return TRUE;
    }
    case KWAppDropData::kBroken:
        return FALSE;
    case KWAppDropData::kAbsent:
        break;
    }
    OnDropData(nullptr, nullptr, at, true);
    OnDropExternal(data);
    return TRUE;
}
