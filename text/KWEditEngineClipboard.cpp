// CKWEditEngine: copy and paste through the Windows clipboard as RTF,
// Unicode text and ANSI text.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "framework/KWCodePage.h"
#include "framework/KWIndexDecoder.h"
#include "framework/KWMemFile.h"
#include "framework/KWTextUtils.h"
#include "text/KWClipboard.h"
#include "text/KWEditEngine.h"
#include "text/KWRtfCommon.h"
#include "text/KWRtfReader.h"
#include "text/KWRtfWriter.h"
#include "text/KWTextObject.h"

namespace {

// Style flags of a run and the RTF bits that stand for them.
const struct {
    uint8_t flag;
    uint32_t rtf;
} kStyleBits[] = {
    {CKWCharFormat::kBold, KWRTF_BOLD},           {CKWCharFormat::kItalic, KWRTF_ITALIC},
    {CKWCharFormat::kUnderline, KWRTF_UNDERLINE}, {CKWCharFormat::kStrikeout, KWRTF_STRIKEOUT},
    {CKWCharFormat::kOutline, KWRTF_OUTLINE},     {CKWCharFormat::kShadow, KWRTF_SHADOW},
};

uint32_t RtfStyleOf(const CKWCharFormat& run)
{
    uint32_t style = 0;
    for (const auto& bit : kStyleBits) {
        if (run.m_style & bit.flag)
            style |= bit.rtf;
    }
    if (run.m_vertical == CKWCharFormat::kSuperscript)
        style |= KWRTF_SUPERSCRIPT;
    else if (run.m_vertical == CKWCharFormat::kSubscript)
        style |= KWRTF_SUBSCRIPT;
    return style;
}

uint8_t StyleOfRtf(uint32_t style)
{
    uint8_t flags = 0;
    for (const auto& bit : kStyleBits) {
        if (style & bit.rtf)
            flags |= bit.flag;
    }
    return flags;
}

// The colour as 0x00BBGGRR.
uint32_t RtfColorOf(const CKWColor& color)
{
    uint32_t bytes = 0;
    if (color.GetKind() == CKWColor::KindRgb || color.GetKind() == CKWColor::KindArgb)
        bytes = color.GetValue();
    else if (color.GetKind() == CKWColor::KindCmyk)
        bytes = color.CmykToRgb();
    else
        return 0;
    const uint32_t r = (bytes >> 8) & 0xFF, g = (bytes >> 16) & 0xFF, b = (bytes >> 24) & 0xFF;
    return r | (g << 8) | (b << 16);
}

std::string ToAnsi(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string out(static_cast<size_t>(std::max(size, 0)), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size, nullptr,
                              nullptr);
    return out;
}

std::wstring FromAnsi(const std::string& text)
{
    CString wide;
    MultiByteToString(wide, text.c_str(), static_cast<int>(text.size()), CP_ACP);
    return std::wstring(wide.GetString(), static_cast<size_t>(wide.GetLength()));
}

}  // namespace

void CKWEditEngine::PutRtf(CKWClipboard& clipboard, int start, int end) const
{
    CKWRtfWriter writer;
    const CKWIndexDecoder* table = m_text->GetFontTable();
    int index = 0, runEnd = 0;
    for (int pos = start; pos < end;) {
        const CKWCharFormat& run = m_text->LocateRun(pos, &index, &runEnd);
        int to = std::min(runEnd, end);
        if (to <= pos)
            to = end;
        writer.AddPiece(to - pos, run.m_size, RtfStyleOf(run), ToAnsi(run.GetFont(table).GetName()).c_str(),
                        run.m_charSet, 0, RtfColorOf(run.m_color));
        pos = to;
    }
    const CString text = m_text->GetTextRange(start, end);
    writer.SetText(text.GetString(), text.GetLength());
    CKWMemFile file;
    void* data = nullptr;
    int32_t size = 0;
    if (writer.Write(file) && file.GetMemoryBlock(data, size))
        clipboard.SetData(KWGetRtfClipboardFormat(), data, static_cast<uint32_t>(size));
}

bool CKWEditEngine::Copy()
{
    if (!m_text || m_end.pos <= m_start.pos)
        return false;
    CKWClipboard clipboard;
    if (!clipboard.Open(GetClipboardOwner()))
        return false;
    clipboard.Empty();
    PutRtf(clipboard, m_start.pos, m_end.pos);
    CString plain = m_text->GetTextRange(m_start.pos, m_end.pos);
    InsertBeforeChar(plain, L'\n', L'\r');
    clipboard.SetUnicodeText(plain);
    clipboard.SetAnsiText(plain, m_text->LocateRun(m_start.pos).m_charSet);
    clipboard.Close();
    return true;
}

bool CKWEditEngine::Cut()
{
    if (!Copy())
        return false;
    Clear();
    return true;
}

bool CKWEditEngine::CanPaste() const
{
    if (!m_text || m_text->IsReadOnly())
        return false;
    return ::IsClipboardFormatAvailable(KWGetRtfClipboardFormat()) || ::IsClipboardFormatAvailable(CF_UNICODETEXT) ||
           ::IsClipboardFormatAvailable(CF_TEXT);
}

bool CKWEditEngine::Paste()
{
    if (!m_text || m_text->IsReadOnly())
        return false;
    CKWClipboard clipboard;
    if (!clipboard.Open(GetClipboardOwner()))
        return false;
    if (clipboard.IsFormatAvailable(KWGetRtfClipboardFormat()) && PasteRtf(clipboard))
        return true;
    CString text;
    if (clipboard.IsFormatAvailable(CF_UNICODETEXT) && clipboard.GetUnicodeText(text)) {
        clipboard.Close();
        PastePlain(text, -1);
        return true;
    }
    int charset = 0;
    if (clipboard.IsFormatAvailable(CF_TEXT) && clipboard.GetAnsiText(text, charset)) {
        clipboard.Close();
        PastePlain(text, charset);
        return true;
    }
    return false;
}

bool CKWEditEngine::PasteRtf(CKWClipboard& clipboard)
{
    const UINT format = KWGetRtfClipboardFormat();
    const uint32_t size = clipboard.GetDataSize(format);
    std::vector<char> bytes(std::max<uint32_t>(size, 1));
    uint32_t copied = 0;
    if (!clipboard.GetData(format, bytes.data(), size, &copied))
        return false;
    clipboard.Close();
    CKWMemFile file(bytes.data(), static_cast<int32_t>(copied));
    CKWRtfReader reader;
    reader.Read(file);
    if (reader.GetText().empty())
        return false;  // nothing readable: the plain text is tried
    InsertRtf(reader);
    return true;
}

void CKWEditEngine::InsertRtf(const CKWRtfReader& reader)
{
    const std::wstring& text = reader.GetText();
    const int length = static_cast<int>(text.size());
    BeginTextChange();
    const int start = m_start.pos;
    const int end = m_end.pos;
    m_text->ReplaceText(text.c_str(), length, start, end);
    m_modified |= 1;
    CKWIndexDecoder* table = m_text->GetFontTable();
    // The pieces follow each other: each one's runs are found from the last
    // one's, and each font is looked up in the table once.
    CKWTextData::RunCursor cursor;
    std::map<const CKWRtfReader::Font*, uint32_t> fontIndices;
    int pos = start;
    for (const CKWRtfReader::Piece& piece : reader.GetPieces()) {
        if (piece.count > 0 && piece.state.mask != 0) {
            CKWCharFormat request;
            request.m_count = CKWCharFormat::kMaskSize | CKWCharFormat::kMaskWholeStyle | CKWCharFormat::kMaskVertical;
            request.m_size = static_cast<int16_t>(piece.state.size);
            if (const CKWRtfReader::Font* font = reader.FindFont(piece.state.font)) {
                if (table) {
                    auto known = fontIndices.find(font);
                    if (known == fontIndices.end())
                        known = fontIndices.emplace(font, table->FindOrAdd(FromAnsi(font->name))).first;
                    request.m_fontIndex = known->second;
                    request.m_count |= CKWCharFormat::kMaskFont;
                }
                request.m_charSet = static_cast<uint8_t>(font->charset);
                request.m_count |= CKWCharFormat::kMaskCharSet;
            }
            if (const CKWRtfReader::Color* color = reader.FindColor(piece.state.color)) {
                request.m_color = CKWColor::FromRgb(color->value & 0xFF, (color->value >> 8) & 0xFF,
                                                    (color->value >> 16) & 0xFF);
                request.m_count |= CKWCharFormat::kMaskColor;
            }
            request.m_style = StyleOfRtf(piece.state.style);
            request.m_vertical = (piece.state.style & KWRTF_SUPERSCRIPT) ? CKWCharFormat::kSuperscript
                                 : (piece.state.style & KWRTF_SUBSCRIPT) ? CKWCharFormat::kSubscript
                                                                         : CKWCharFormat::kNormal;
            m_text->SetCharFormatInRange(pos, pos + piece.count, request, cursor);
        }
        pos += piece.count;
    }
    EndTextChange(start, m_start.line, end, length);
}

void CKWEditEngine::PastePlain(CString& text, int charset)
{
    RemoveCharFromString(text, L'\r');
    if (charset >= 0) {
        UseOwnFormat();
        m_ownFormat.m_charSet = static_cast<uint8_t>(charset);
        m_ownMask |= CKWCharFormat::kMaskCharSet;
    }
    ReplaceSelection(text.GetString(), text.GetLength());
}
