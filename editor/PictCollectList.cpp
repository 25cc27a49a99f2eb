#include "editor/PictCollectList.h"

#include "editor/PictCollectBar.h"
#include "editor/PictCollectItems.h"
#include "framework/KWBrush.h"
#include "framework/KWColor.h"
#include "framework/KWDib.h"
#include "framework/KWFont.h"
#include "framework/KWGdipBitmap.h"
#include "framework/KWGraphics.h"
#include "platform/classlib/MessageMap.h"

#include <uxtheme.h>

BEGIN_MESSAGE_MAP(CPictCollectList, CKWItemsPanel)
    ON_WM_DROPFILES()
END_MESSAGE_MAP()

namespace {

const int kInset = 2;
const int kTextIndent = 6;
const double kFontSize = 12;
// GDI+ style bits of the current folder's name and of the others.
const int kCurrentStyle = 2;
const int kOtherStyle = 0;
const int kPushButtonPart = 1;
const int kPressedState = 3;
const int kNormalState = 1;

void FillRect(IKWGraphics& graphics, double x, double y, double width, double height, const CKWColor& color)
{
    graphics.BeginPath();
    graphics.AddRectangle(x, y, width, height);
    graphics.ClosePathFigure();
    graphics.FillPath(CKWBrush(color));
}

// The visual styles' push button, drawn by the theme library into pixels of
// its own and handed to the drawing interface; false without visual styles.
class CThemedButtonFace {
public:
    CThemedButtonFace()
    {
        m_module = ::LoadLibraryW(L"UxTheme.dll");
        if (!m_module)
            return;
        m_open = reinterpret_cast<OpenFn>(reinterpret_cast<void*>(::GetProcAddress(m_module, "OpenThemeData")));
        m_close = reinterpret_cast<CloseFn>(reinterpret_cast<void*>(::GetProcAddress(m_module, "CloseThemeData")));
        m_draw = reinterpret_cast<DrawFn>(
            reinterpret_cast<void*>(::GetProcAddress(m_module, "DrawThemeBackground")));
    }
    ~CThemedButtonFace()
    {
        if (m_module)
            ::FreeLibrary(m_module);
    }
    CThemedButtonFace(const CThemedButtonFace&) = delete;
    CThemedButtonFace& operator=(const CThemedButtonFace&) = delete;

    bool Draw(HWND window, IKWGraphics& graphics, const RECT& rect, int state, COLORREF background)
    {
        if (!m_open || !m_close || !m_draw)
            return false;
        HTHEME theme = m_open(window, L"BUTTON");
        if (!theme)
            return false;
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        BITMAPINFO info;
        void* bits = nullptr;
        HDC memory = ::CreateCompatibleDC(nullptr);
        HBITMAP face = width > 0 && height > 0 ? KWCreateTopDownDib(memory, width, height, info, &bits) : nullptr;
        bool drawn = false;
        if (face && bits) {
            HGDIOBJ old = ::SelectObject(memory, face);
            const RECT area = {0, 0, width, height};
            HBRUSH brush = ::CreateSolidBrush(background);
            ::FillRect(memory, &area, brush);
            ::DeleteObject(brush);
            drawn = SUCCEEDED(m_draw(theme, memory, kPushButtonPart, state, &area, nullptr));
            ::GdiFlush();
            if (drawn) {
                CKWGdipBitmap bitmap;
                bitmap.Wrap(width, height, width * 4, bits, CKWGdipBitmap::kPixelFormat32bppRGB);
                graphics.DrawImage(rect.left, rect.top, &bitmap, nullptr);
            }
            ::SelectObject(memory, old);
        }
        if (face)
            ::DeleteObject(face);
        ::DeleteDC(memory);
        m_close(theme);
        return drawn;
    }

private:
    typedef HTHEME(WINAPI* OpenFn)(HWND, LPCWSTR);
    typedef HRESULT(WINAPI* CloseFn)(HTHEME);
    typedef HRESULT(WINAPI* DrawFn)(HTHEME, HDC, int, int, const RECT*, const RECT*);
    HMODULE m_module = nullptr;
    OpenFn m_open = nullptr;
    CloseFn m_close = nullptr;
    DrawFn m_draw = nullptr;
};

CThemedButtonFace& ThemedButtonFace()
{
    static CThemedButtonFace s_face;
    return s_face;
}

const COLORREF kGalleryBackground = RGB(210, 210, 210);

}  // namespace

void DrawGalleryBackground(IKWGraphics& graphics, const RECT& clip)
{
    FillRect(graphics, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, CKWColor::FromColorRef(kGalleryBackground));
}

CPictCollectList::CPictCollectList(CPictCollectBar* owner) : m_owner(owner) {}

CPictCollectList::~CPictCollectList() = default;

CFlItem* CPictCollectList::GetFolder(int index)
{
    return IsItem(index) ? dynamic_cast<CFlItem*>(GetItem(index)) : nullptr;
}

bool CPictCollectList::FindFolder(const CString& path, int& index)
{
    for (int i = 0; i < GetItemCount(); ++i) {
        CFlItem* folder = GetFolder(i);
        if (folder && folder->GetPath() == path) {
            index = i;
            return true;
        }
    }
    index = -1;
    return false;
}

int CPictCollectList::GetCellWidth()
{
    RECT client = {};
    GetClientRect(&client);
    return client.right - client.left;
}

void CPictCollectList::DrawBackground(IKWGraphics& graphics, const RECT& clip)
{
    DrawGalleryBackground(graphics, clip);
}

void CPictCollectList::DrawItem(int index, IKWGraphics& graphics, const RECT& cell)
{
    CFlItem* folder = GetFolder(index);
    if (!folder)
        return;
    const bool current = index == GetCurrentIndex();
    RECT face = cell;
    ::InflateRect(&face, -kInset, -kInset);
    const double width = face.right - face.left;
    const double height = face.bottom - face.top;
    if (!ThemedButtonFace().Draw(m_hWnd, graphics, face, current ? kPressedState : kNormalState,
                                 kGalleryBackground)) {
        const CKWColor light = CKWColor::FromRgb(255, 255, 255);
        const CKWColor dark = CKWColor::FromRgb(128, 128, 128);
        FillRect(graphics, face.left, face.top, width, height, CKWColor::FromColorRef(::GetSysColor(COLOR_BTNFACE)));
        // Raised: light above and left; sunken for the current folder.
        FillRect(graphics, face.left, face.top, width, 1, current ? dark : light);
        FillRect(graphics, face.left, face.top, 1, height, current ? dark : light);
        FillRect(graphics, face.left, face.bottom - 1, width, 1, current ? light : dark);
        FillRect(graphics, face.right - 1, face.top, 1, height, current ? light : dark);
    }
    const CKWFont font(L"Arial", kFontSize, current ? kCurrentStyle : kOtherStyle);
    const CKWBrush brush(current ? CKWColor::FromRgb(32, 32, 255) : CKWColor::FromRgb(0, 0, 0));
    const CString name = folder->GetName();
    graphics.DrawString(face.left + kTextIndent, face.top, width - 2 * kTextIndent, height, name, -1, font, brush,
                        KWDRAWSTRING_VCENTER);
}

void CPictCollectList::InvalidateItems(int first, int second, bool invalidate, bool updateNow)
{
    CKWItemsPanel::InvalidateItems(first, second, invalidate, updateNow);
    if (CFlItem* folder = GetFolder(first))
        m_owner->ShowFolder(folder);
}

bool CPictCollectList::OnLButtonDown(int x, int y)
{
    ::SetFocus(m_owner->m_hWnd);
    return CKWItemsPanel::OnLButtonDown(x, y);
}

void CPictCollectList::OnDropFiles(HDROP drop)
{
    m_owner->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop));
}
