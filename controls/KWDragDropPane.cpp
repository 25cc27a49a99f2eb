#include "controls/KWDragDropPane.h"

#include "framework/KWClipFormats.h"
#include "framework/KWDragInfo.h"
#include "framework/KWDropData.h"
#include "platform/classlib/Wnd.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace {

const CLIPFORMAT kImageFormats[] = {CF_DIB, CF_BITMAP, CF_TIFF};
const CLIPFORMAT kTextFormats[] = {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT};

// The ANSI code page of the locale that CF_LOCALE names, else the user's.
UINT CodePageOf(COleDataObject* data)
{
    LCID locale = ::GetUserDefaultLCID();
    if (data->IsDataAvailable(CF_LOCALE)) {
        CKWLockedDropBlock block(data, CF_LOCALE);
        if (block.Bytes() && block.Size() >= sizeof(uint16_t)) {
            uint16_t language = 0;
            std::memcpy(&language, block.Bytes(), sizeof(language));
            locale = MAKELCID(language, SORT_DEFAULT);
        }
    }
    wchar_t digits[8] = {};
    if (::GetLocaleInfoW(locale, LOCALE_IDEFAULTANSICODEPAGE, digits, 8) <= 0)
        return CP_ACP;
    const UINT codePage = static_cast<UINT>(std::wcstoul(digits, nullptr, 10));
    return codePage ? codePage : CP_ACP;
}

// The text of a block, up to its first terminator or its end.
CString ReadText(COleDataObject* data, CLIPFORMAT format)
{
    CKWLockedDropBlock block(data, format);
    if (!block.Bytes())
        return CString();
    if (format == CF_UNICODETEXT) {
        const auto* text = reinterpret_cast<const wchar_t*>(block.Bytes());
        const size_t limit = block.Size() / sizeof(wchar_t);
        return CString(text, static_cast<int>(std::find(text, text + limit, L'\0') - text));
    }
    if (format != CF_TEXT)
        return CString();
    const auto* text = reinterpret_cast<const char*>(block.Bytes());
    const size_t bytes = std::find(text, text + block.Size(), '\0') - text;
    if (bytes == 0 || bytes > 0x7FFFFFFF)
        return CString();
    const UINT codePage = CodePageOf(data);
    const int count = ::MultiByteToWideChar(codePage, 0, text, static_cast<int>(bytes), nullptr, 0);
    if (count <= 0)
        return CString();
    std::vector<wchar_t> wide(static_cast<size_t>(count));
    ::MultiByteToWideChar(codePage, 0, text, static_cast<int>(bytes), wide.data(), count);
    return CString(wide.data(), count);
}

}  // namespace

CKWDragDropPane::CKWDragDropPane() = default;

CKWDragDropPane::~CKWDragDropPane()
{
    m_dropTarget.Revoke();
}

template <typename Result, typename Call>
Result CKWDragDropPane::Forward(bool& flag, Call call)
{
    if (!m_dropHandler || flag)
        return Result();
    flag = true;
    const Result result = call(*m_dropHandler);
    flag = false;
    return result;
}

void CKWDragDropPane::BeginDrag(const CPoint& start)
{
    if (!m_dragSourceHandler || m_inDragStart)
        return;
    m_inDragStart = true;
    m_dragSourceHandler->BeginDrag(start);
    m_inDragStart = false;
}

void CKWDragDropPane::RegisterDropTarget(CWnd* window)
{
    if (window)
        m_dropTarget.Register(window);
}

void CKWDragDropPane::RevokeDropTarget()
{
    m_dropTarget.Revoke();
}

bool CKWDragDropPane::OnOwnDragEnter(const CPoint& point, KWDragInfo* info, const uint8_t* data, size_t size,
                                     int reserved)
{
    return Forward<bool>(m_inEvent, [&](CKWDragDropPane& h) {
        return h.OnOwnDragEnter(point, info, data, size, reserved);
    });
}

void CKWDragDropPane::OnOwnDragOver(KWDragInfo* info, const CPoint& point)
{
    Forward<int>(m_inEvent, [&](CKWDragDropPane& h) {
        h.OnOwnDragOver(info, point);
        return 0;
    });
}

void CKWDragDropPane::OnOwnDragLeave()
{
    Forward<int>(m_inEvent, [&](CKWDragDropPane& h) {
        h.OnOwnDragLeave();
        return 0;
    });
}

bool CKWDragDropPane::OnOwnDrop(const CPoint& point, KWDragInfo* info, const uint8_t* data, size_t size,
                                int reserved)
{
    return Forward<bool>(m_inEvent,
                         [&](CKWDragDropPane& h) { return h.OnOwnDrop(point, info, data, size, reserved); });
}

int CKWDragDropPane::OnFilesDragEnter(const CPoint& point, const std::vector<CString>& paths)
{
    return Forward<int>(m_inFileEvent, [&](CKWDragDropPane& h) { return h.OnFilesDragEnter(point, paths); });
}

int CKWDragDropPane::OnFilesDragEvent(int count)
{
    return Forward<int>(m_inFileEvent, [&](CKWDragDropPane& h) { return h.OnFilesDragEvent(count); });
}

int CKWDragDropPane::OnFilesDragOver(const std::vector<CString>& paths, const CPoint& point)
{
    return Forward<int>(m_inFileEvent, [&](CKWDragDropPane& h) { return h.OnFilesDragOver(paths, point); });
}

int CKWDragDropPane::OnFilesDrop(const CPoint& point, const std::vector<CString>& paths)
{
    return Forward<int>(m_inFileEvent, [&](CKWDragDropPane& h) { return h.OnFilesDrop(point, paths); });
}

int CKWDragDropPane::OnTextDrop(const CPoint& point, const CString& text)
{
    return Forward<int>(m_inEvent, [&](CKWDragDropPane& h) { return h.OnTextDrop(point, text); });
}

int CKWDragDropPane::OnBitmapDrop(COleDataObject* data, CLIPFORMAT format, const CPoint& point)
{
    return Forward<int>(m_inEvent, [&](CKWDragDropPane& h) { return h.OnBitmapDrop(data, format, point); });
}

DROPEFFECT CKWDragDropPane::OnBitmapDragEnter(COleDataObject* data, CLIPFORMAT format, const CPoint& point)
{
    return Forward<DROPEFFECT>(m_inEvent,
                               [&](CKWDragDropPane& h) { return h.OnBitmapDragEnter(data, format, point); });
}

DROPEFFECT CKWDragDropPane::OnTextDragEnter(COleDataObject* data, CLIPFORMAT format, const CPoint& point)
{
    return Forward<DROPEFFECT>(m_inEvent,
                               [&](CKWDragDropPane& h) { return h.OnTextDragEnter(data, format, point); });
}

DROPEFFECT CKWDragDropPane::OnBitmapDragOver(COleDataObject* data, CLIPFORMAT format, const CPoint& point)
{
    return Forward<DROPEFFECT>(m_inEvent,
                               [&](CKWDragDropPane& h) { return h.OnBitmapDragOver(data, format, point); });
}

DROPEFFECT CKWDragDropPane::OnTextDragOver(COleDataObject* data, CLIPFORMAT format, const CPoint& point)
{
    return Forward<DROPEFFECT>(m_inEvent,
                               [&](CKWDragDropPane& h) { return h.OnTextDragOver(data, format, point); });
}

int CKWDragDropPane::DropText(COleDataObject* data, CLIPFORMAT format, const CPoint& point)
{
    const CString text = ReadText(data, format);
    return text.IsEmpty() ? 0 : OnTextDrop(point, text);
}

CLIPFORMAT CKWDragDropPane::FirstImageFormat(COleDataObject* data)
{
    for (CLIPFORMAT format : kImageFormats) {
        if (data->IsDataAvailable(format))
            return format;
    }
    return 0;
}

CLIPFORMAT CKWDragDropPane::FirstTextFormat(COleDataObject* data)
{
    for (CLIPFORMAT format : kTextFormats) {
        if (data->IsDataAvailable(format))
            return format;
    }
    return 0;
}

DROPEFFECT CKWDragDropPane::OnDragEnter(CWnd*, COleDataObject* data, DWORD keyState, CPoint point)
{
    if (!data)
        return DROPEFFECT_NONE;
    KWDragInfo info;
    std::vector<uint8_t> objects;
    const KWAppDropData own = KWReadAppDropData(data, info, objects);
    if (own == KWAppDropData::kRead) {
        const bool taken = OnOwnDragEnter(point, &info, objects.data(), objects.size(), 0);
        m_rememberedEffect = taken ? kTargetMove : DROPEFFECT_MOVE;
        return info.IsCopy() || (keyState & MK_CONTROL) ? DROPEFFECT_COPY : m_rememberedEffect;
    }
    if (own == KWAppDropData::kBroken)
        return DROPEFFECT_NONE;
    if (data->IsDataAvailable(CF_HDROP)) {
        std::vector<CString> paths;
        KWReadDroppedFiles(data, paths);
        OnFilesDragEnter(point, paths);
        OnFilesDragEvent(static_cast<int>(paths.size()));
        return DROPEFFECT_NONE;
    }
    if (const CLIPFORMAT format = FirstImageFormat(data))
        return OnBitmapDragEnter(data, format, point);
    if (const CLIPFORMAT format = FirstTextFormat(data))
        return OnTextDragEnter(data, format, point);
    return DROPEFFECT_NONE;
}

DROPEFFECT CKWDragDropPane::OnDragOver(CWnd*, COleDataObject* data, DWORD keyState, CPoint point)
{
    const DROPEFFECT ctrlOrRemembered = (keyState & MK_CONTROL) ? DROPEFFECT_COPY : m_rememberedEffect;
    if (!data) {
        OnOwnDragOver(nullptr, point);
        return ctrlOrRemembered;
    }
    if (data->IsDataAvailable(g_cfAppObject)) {
        KWDragInfo info;
        std::vector<uint8_t> objects;
        const bool hasRecord = KWReadAppDropData(data, info, objects) == KWAppDropData::kRead;
        OnOwnDragOver(hasRecord ? &info : nullptr, point);
        return hasRecord && info.IsCopy() ? DROPEFFECT_COPY : ctrlOrRemembered;
    }
    if (data->IsDataAvailable(CF_HDROP)) {
        // The paths are not read while moving.
        OnFilesDragOver(std::vector<CString>(), point);
        return DROPEFFECT_COPY;
    }
    if (const CLIPFORMAT format = FirstImageFormat(data))
        return OnBitmapDragOver(data, format, point);
    if (const CLIPFORMAT format = FirstTextFormat(data))
        return OnTextDragOver(data, format, point);
    OnOwnDragOver(nullptr, point);
    return ctrlOrRemembered;
}

void CKWDragDropPane::OnDragLeave(CWnd*)
{
    OnOwnDragLeave();
    m_rememberedEffect = DROPEFFECT_NONE;
}

DROPEFFECT CKWDragDropPane::OnDrop(CWnd*, COleDataObject* data, DROPEFFECT dropEffect, DROPEFFECT, CPoint point)
{
    if (!data)
        return dropEffect;
    KWDragInfo info;
    std::vector<uint8_t> objects;
    const KWAppDropData own = KWReadAppDropData(data, info, objects);
    if (own == KWAppDropData::kRead) {
        OnOwnDrop(point, &info, objects.data(), objects.size(), 0);
    } else if (own == KWAppDropData::kAbsent && data->IsDataAvailable(CF_HDROP)) {
        std::vector<CString> paths;
        KWReadDroppedFiles(data, paths);
        OnFilesDrop(point, paths);
    } else if (const CLIPFORMAT image = own == KWAppDropData::kAbsent ? FirstImageFormat(data) : 0) {
        OnBitmapDrop(data, image, point);
    } else if (const CLIPFORMAT text = own == KWAppDropData::kAbsent ? FirstTextFormat(data) : 0) {
        DropText(data, text, point);
    }
    m_rememberedEffect = DROPEFFECT_NONE;
    return dropEffect;
}
