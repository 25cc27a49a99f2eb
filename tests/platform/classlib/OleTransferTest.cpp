// OLE data transfer: a data source with cached and delayed formats, the
// data object that reads it, and drag and drop of an own clipboard format
// between two windows, through the drop target's interface and through the
// OLE drag loop.
#include "DocTestSupport.h"

#include "platform/classlib/Archive.h"
#include "platform/classlib/MemFile.h"
#include "platform/classlib/OleDataObject.h"
#include "platform/classlib/OleDataSource.h"
#include "platform/classlib/OleDropSource.h"
#include "platform/classlib/OleDropTarget.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace doc_test;

namespace {

CLIPFORMAT OwnFormat() { return static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"ClassLib Test Object")); }

HGLOBAL TextBlock(LPCWSTR lpsz) {
    SIZE_T cb = (::lstrlenW(lpsz) + 1) * sizeof(wchar_t);
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, cb);
    std::memcpy(::GlobalLock(hGlobal), lpsz, cb);
    ::GlobalUnlock(hGlobal);
    return hGlobal;
}

std::wstring BlockText(HGLOBAL hGlobal) {
    if (hGlobal == nullptr)
        return L"<none>";
    std::wstring text(static_cast<const wchar_t*>(::GlobalLock(hGlobal)));
    ::GlobalUnlock(hGlobal);
    return text;
}

// A data source whose Unicode text and archive file are made when asked for.
class CTestDataSource : public COleDataSource {
public:
    CTestDataSource() { ++s_nLive; }
    ~CTestDataSource() override { --s_nLive; }
    BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal) override {
        ++m_nRenders;
        if (lpFormatEtc->cfFormat != CF_UNICODETEXT)
            return FALSE;
        *phGlobal = TextBlock(L"rendered");
        return TRUE;
    }
    BOOL OnRenderFileData(LPFORMATETC lpFormatEtc, CFile* pFile) override {
        if (lpFormatEtc->cfFormat != OwnFormat() + 0 || lpFormatEtc->lindex != 7)
            return FALSE;
        CArchive ar(pFile, CArchive::store);
        ar << CString(L"archived") << static_cast<DWORD>(42);
        ar.Close();
        return TRUE;
    }
    int m_nRenders = 0;
    static int s_nLive;
};
int CTestDataSource::s_nLive = 0;

// Accepts the own format: a move, a copy with Ctrl; logs every event.
class CTestDropTarget : public COleDropTarget {
public:
    std::vector<std::wstring> m_log;

    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override {
        m_log.push_back(L"enter " + std::to_wstring(point.x) + L"," + std::to_wstring(point.y));
        return Answer(pDataObject, dwKeyState);
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState, CPoint) override {
        if (m_log.empty() || m_log.back() != L"over")
            m_log.push_back(L"over");
        return Answer(pDataObject, dwKeyState);
    }
    void OnDragLeave(CWnd*) override { m_log.push_back(L"leave"); }
    BOOL OnDrop(CWnd*, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint) override {
        HGLOBAL hGlobal = pDataObject->GetGlobalData(OwnFormat());
        m_log.push_back(L"drop " + std::to_wstring(dropEffect) + L" " + BlockText(hGlobal));
        if (hGlobal != nullptr)
            ::GlobalFree(hGlobal);
        return TRUE;
    }

private:
    static DROPEFFECT Answer(COleDataObject* pDataObject, DWORD dwKeyState) {
        if (!pDataObject->IsDataAvailable(OwnFormat()))
            return DROPEFFECT_NONE;
        return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
};

// Drops after the loop has asked a few times; the drag starts at once.
class CQuickDropSource : public COleDropSource {
public:
    int m_nQueries = 0;
    SCODE QueryContinueDrag(BOOL, DWORD) override { return ++m_nQueries >= 3 ? DRAGDROP_S_DROP : S_OK; }
    BOOL OnBeginDrag(CWnd*) override {
        m_bDragStarted = TRUE;
        return TRUE;
    }
};

// An item of a server document that renders the own format itself.
class CTestDragItem : public COleServerItem {
public:
    explicit CTestDragItem(COleServerDoc* pDoc) : COleServerItem(pDoc, TRUE) {
        ++s_nLive;
        GetDataSource()->DelayRenderData(OwnFormat());
    }
    ~CTestDragItem() override { --s_nLive; }
    BOOL OnDraw(CDC*, CSize&) override { return TRUE; }
    BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal) override {
        if (lpFormatEtc->cfFormat != OwnFormat())
            return FALSE;
        *phGlobal = TextBlock(L"item payload");
        return TRUE;
    }
    static int s_nLive;
};
int CTestDragItem::s_nLive = 0;

class OleTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        // A class of its own: static controls are transparent to the mouse.
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"ClassLibDragWindow";
        ::RegisterClassW(&wc);
        m_source.CreateEx(0, L"ClassLibDragWindow", L"source", WS_POPUP | WS_VISIBLE, 40, 40, 200, 200, nullptr,
                          nullptr);
        m_target.CreateEx(0, L"ClassLibDragWindow", L"target", WS_POPUP | WS_VISIBLE, 300, 40, 200, 200, nullptr,
                          nullptr);
        ASSERT_NE(nullptr, m_target.m_hWnd);
    }
    void TearDown() override {
        m_dropTarget.Revoke();
        m_source.DestroyWindow();
        m_target.DestroyWindow();
        classlib_test::DrainMessages();
        AfxOleTerm();
        EXPECT_EQ(0, CTestDataSource::s_nLive) << "every data source released";
        EXPECT_EQ(0, CTestDragItem::s_nLive);
    }
    // The middle of the target window on the screen.
    POINT TargetPoint() {
        CRect rect;
        m_target.GetWindowRect(&rect);
        return POINT{rect.left + 100, rect.top + 60};
    }

    classlib_test::CTestApp app;
    CWnd m_source;
    CWnd m_target;
    CTestDropTarget m_dropTarget;
};

}  // namespace

TEST_F(OleTransferTest, CachedAndDelayedFormatsAreGivenAsCopies) {
    auto* pSource = new CTestDataSource;
    pSource->CacheGlobalData(OwnFormat(), TextBlock(L"cached"));
    pSource->DelayRenderData(CF_UNICODETEXT);
    FORMATETC fileFormat = {OwnFormat(), nullptr, DVASPECT_CONTENT, 7, TYMED_ISTREAM};
    pSource->DelayRenderFileData(OwnFormat(), &fileFormat);
    EXPECT_EQ(3, pSource->GetFormatCount()) << "one entry per format, aspect and index";

    COleDataObject data;
    data.Attach(pSource->GetDataObject(TRUE));
    EXPECT_TRUE(data.IsDataAvailable(OwnFormat()));
    EXPECT_TRUE(data.IsDataAvailable(CF_UNICODETEXT));
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
    FORMATETC iconFormat = {OwnFormat(), nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL};
    EXPECT_FALSE(data.IsDataAvailable(OwnFormat(), &iconFormat)) << "another aspect";

    HGLOBAL h1 = data.GetGlobalData(OwnFormat());
    HGLOBAL h2 = data.GetGlobalData(OwnFormat());
    EXPECT_EQ(L"cached", BlockText(h1));
    EXPECT_NE(h1, h2) << "each receiver gets its own block";
    ::GlobalFree(h1);
    ::GlobalFree(h2);
    HGLOBAL hText = data.GetGlobalData(CF_UNICODETEXT);
    EXPECT_EQ(L"rendered", BlockText(hText));
    ::GlobalFree(hText);
    EXPECT_EQ(1, pSource->m_nRenders);

    // The file format comes as a stream and is read back through an archive.
    FORMATETC askFile = {OwnFormat(), nullptr, DVASPECT_CONTENT, 7, TYMED_ISTREAM};
    CFile* pFile = data.GetFileData(OwnFormat(), &askFile);
    ASSERT_NE(nullptr, pFile);
    {
        CArchive ar(pFile, CArchive::load);
        CString strText;
        DWORD dwValue = 0;
        ar >> strText >> dwValue;
        EXPECT_STREQ(L"archived", strText);
        EXPECT_EQ(42u, dwValue);
    }
    delete pFile;

    std::vector<CLIPFORMAT> formats;
    data.BeginEnumFormats();
    FORMATETC formatEtc;
    while (data.GetNextFormat(&formatEtc))
        formats.push_back(formatEtc.cfFormat);
    EXPECT_EQ((std::vector<CLIPFORMAT>{OwnFormat(), CF_UNICODETEXT, OwnFormat()}), formats);

    // Caching the format again replaces the data.
    pSource->CacheGlobalData(OwnFormat(), TextBlock(L"replaced"));
    HGLOBAL hReplaced = data.GetGlobalData(OwnFormat());
    EXPECT_EQ(L"replaced", BlockText(hReplaced));
    ::GlobalFree(hReplaced);

    data.Release();
    EXPECT_EQ(1, CTestDataSource::s_nLive) << "the creator's reference is left";
    pSource->InternalRelease();
}

TEST_F(OleTransferTest, TheDropTargetsInterfaceDeliversTheOwnFormat) {
    auto* pSource = new CTestDataSource;
    pSource->CacheGlobalData(OwnFormat(), TextBlock(L"payload"));
    LPDATAOBJECT pData = pSource->GetDataObject(TRUE);
    ASSERT_TRUE(m_dropTarget.Register(&m_target));
    EXPECT_FALSE(m_dropTarget.Register(&m_source)) << "one window per target";
    LPDROPTARGET pTarget = m_dropTarget.GetDropTarget();
    POINT pt = TargetPoint();
    POINTL ptl = {pt.x, pt.y};

    DWORD dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(S_OK, pTarget->DragEnter(pData, MK_LBUTTON, ptl, &dwEffect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_MOVE), dwEffect);
    dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    pTarget->DragOver(MK_LBUTTON | MK_CONTROL, ptl, &dwEffect);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), dwEffect);
    dwEffect = DROPEFFECT_MOVE;
    pTarget->DragOver(MK_LBUTTON | MK_CONTROL, ptl, &dwEffect);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_MOVE), dwEffect) << "a copy the source does not allow becomes a move";
    dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(S_OK, pTarget->Drop(pData, MK_CONTROL, ptl, &dwEffect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), dwEffect);

    // A drag that leaves, and data the target does not take.
    dwEffect = DROPEFFECT_COPY;
    pTarget->DragEnter(pData, 0, ptl, &dwEffect);
    pTarget->DragLeave();
    auto* pOther = new CTestDataSource;
    pOther->CacheGlobalData(CF_UNICODETEXT, TextBlock(L"text"));
    LPDATAOBJECT pOtherData = pOther->GetDataObject(TRUE);
    dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    pTarget->DragEnter(pOtherData, 0, ptl, &dwEffect);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), dwEffect);
    dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    pTarget->Drop(pOtherData, 0, ptl, &dwEffect);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), dwEffect);

    std::wstring enter = L"enter 100,60";
    EXPECT_EQ((std::vector<std::wstring>{enter, L"over", L"drop 1 payload", enter, L"leave", enter, L"over",
                                         L"leave"}),
              m_dropTarget.m_log);
    pOtherData->Release();
    pOther->InternalRelease();
    pData->Release();
    pSource->InternalRelease();
}

TEST_F(OleTransferTest, TheOleDragLoopDropsOnTheWindowUnderTheCursor) {
    classlib_test::Watchdog watchdog(20000);
    ASSERT_TRUE(m_dropTarget.Register(&m_target));
    POINT pt = TargetPoint();
    ::SetCursorPos(pt.x, pt.y);
    ASSERT_EQ(m_target.m_hWnd, ::WindowFromPoint(pt));
    auto* pSource = new CTestDataSource;
    pSource->CacheGlobalData(OwnFormat(), TextBlock(L"dragged"));
    CQuickDropSource dropSource;
    DROPEFFECT dropEffect = pSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, &dropSource);
    pSource->InternalRelease();
    EXPECT_FALSE(watchdog.Fired());
    EXPECT_EQ(static_cast<DROPEFFECT>(DROPEFFECT_MOVE), dropEffect);
    ASSERT_FALSE(m_dropTarget.m_log.empty());
    EXPECT_EQ(L"enter 100,60", m_dropTarget.m_log.front());
    EXPECT_EQ(L"drop 2 dragged", m_dropTarget.m_log.back());
}

TEST_F(OleTransferTest, AServerItemDragsItsOwnFormat) {
    classlib_test::Watchdog watchdog(20000);
    ASSERT_TRUE(m_dropTarget.Register(&m_target));
    POINT pt = TargetPoint();
    ::SetCursorPos(pt.x, pt.y);
    // The drag starts from the window with the focus, which only an active window can take.
    ::SetForegroundWindow(m_source.m_hWnd);
    m_source.SetFocus();
    ASSERT_EQ(m_source.m_hWnd, ::GetFocus());
    classlib_test::DrainMessages();
    auto* pDoc = new CDocTestDoc;
    auto* pItem = new CTestDragItem(pDoc);
    CRect rectItem(0, 0, 50, 20);
    // Without a mouse button down the default drop source drops once the drag starts.
    DROPEFFECT dropEffect = pItem->DoDragDrop(&rectItem, CPoint(0, 0));
    EXPECT_FALSE(watchdog.Fired());
    EXPECT_EQ(static_cast<DROPEFFECT>(DROPEFFECT_MOVE), dropEffect);
    ASSERT_FALSE(m_dropTarget.m_log.empty());
    EXPECT_EQ(L"drop 2 item payload", m_dropTarget.m_log.back());
    EXPECT_EQ(1, CTestDragItem::s_nLive);
    pItem->ExternalRelease();
    EXPECT_EQ(0, CTestDragItem::s_nLive);
    delete pDoc;
    EXPECT_EQ(0, CDocTestDoc::s_nLive);
}
