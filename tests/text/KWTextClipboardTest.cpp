// Copy and paste through the real Windows clipboard.
#include "text/KWClipboard.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/text/PanelTestSupport.h"

namespace {

std::wstring ClipboardUnicode()
{
    CKWClipboard clipboard;
    CString text;
    if (!clipboard.Open(nullptr) || !clipboard.GetUnicodeText(text))
        return L"<none>";
    return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

void PutOnClipboard(UINT format, const std::string& bytes)
{
    CKWClipboard clipboard;
    ASSERT_TRUE(clipboard.Open(nullptr));
    clipboard.Empty();
    ASSERT_TRUE(clipboard.SetData(format, bytes.data(), static_cast<uint32_t>(bytes.size())));
}

CKWCharFormat Request(uint32_t mask)
{
    CKWCharFormat request;
    request.m_count = mask;
    return request;
}

}  // namespace

TEST(TextClipboard, PlainTextAndEmptySelections)
{
    PanelWindow window;
    TableText text;
    SetNote(text, L"a\nb");
    window.Edit(text);

    PutOnClipboard(CF_UNICODETEXT, std::string("k\0e\0\0\0", 6));
    window.Panel().SetSel(1, 1, true);
    EXPECT_FALSE(window.Panel().Copy());  // an empty selection leaves the clipboard
    EXPECT_EQ(ClipboardUnicode(), L"ke");

    window.Panel().SetSel(0, -1, true);
    ASSERT_TRUE(window.Panel().Copy());
    EXPECT_EQ(ClipboardUnicode(), L"a\r\nb");
    {
        CKWClipboard clipboard;
        ASSERT_TRUE(clipboard.Open(nullptr));
        CString ansi;
        int charset = -1;
        ASSERT_TRUE(clipboard.GetAnsiText(ansi, charset));
        EXPECT_STREQ(ansi.GetString(), L"a\r\nb");
        EXPECT_TRUE(clipboard.IsFormatAvailable(KWGetRtfClipboardFormat()));
    }

    // Plain text pasted back keeps only the line feed.
    PutOnClipboard(CF_UNICODETEXT, std::string("a\0\r\0\n\0b\0\0\0", 10));
    window.Panel().SetSel(0, -1, true);
    window.Key(VK_DELETE);
    ASSERT_TRUE(window.Panel().Paste());
    EXPECT_STREQ(text.GetText().GetString(), L"a\nb");
    EXPECT_EQ(window.Selection(), std::make_pair(3, 3));

    text.SetReadOnly(true);
    EXPECT_FALSE(window.Panel().CanPaste());
    EXPECT_FALSE(window.Panel().Paste());
    EXPECT_STREQ(text.GetText().GetString(), L"a\nb");
}

TEST(TextClipboard, RtfCarriesFormatsFromPanelToPanel)
{
    PanelWindow source;
    TableText from;
    SetNote(from, L"Big bold \u041f\u0440\u0438\u0432\u0435\u0442 x2 plain");
    CKWCharFormat big = Request(CKWCharFormat::kMaskSize | CKWCharFormat::kMaskColor | CKWCharFormat::kBold);
    big.m_size = 18;
    big.m_style = CKWCharFormat::kBold;
    big.m_color = CKWColor::FromRgb(200, 10, 20);
    from.SetCharFormatInRange(0, 9, big);
    CKWCharFormat cyrillic = Request(CKWCharFormat::kMaskFont | CKWCharFormat::kMaskCharSet |
                                     CKWCharFormat::kItalic | CKWCharFormat::kUnderline);
    cyrillic.m_fontIndex = from.m_table.FindOrAdd(L"Courier New");
    cyrillic.m_charSet = RUSSIAN_CHARSET;
    cyrillic.m_style = CKWCharFormat::kItalic | CKWCharFormat::kUnderline;
    from.SetCharFormatInRange(9, 15, cyrillic);
    CKWCharFormat super = Request(CKWCharFormat::kMaskVertical | CKWCharFormat::kMaskColor);
    super.m_vertical = CKWCharFormat::kSuperscript;
    super.m_color = CKWColor::FromRgb(0, 0, 255);
    from.SetCharFormatInRange(17, 18, super);
    source.Edit(from);
    source.Panel().SetSel(0, -1, true);
    ASSERT_TRUE(source.Panel().Copy());

    PanelWindow target;
    TableText to;
    SetNote(to, L"");
    target.Edit(to);
    ASSERT_TRUE(target.Panel().Paste());
    ASSERT_STREQ(to.GetText().GetString(), from.GetText().GetString());
    for (int p = 0; p < from.GetLength(); ++p) {
        const CKWCharFormat& a = from.LocateRun(p);
        const CKWCharFormat& b = to.LocateRun(p);
        EXPECT_EQ(a.m_size, b.m_size) << p;
        EXPECT_EQ(a.m_style, b.m_style) << p;
        EXPECT_EQ(a.m_vertical, b.m_vertical) << p;
        EXPECT_EQ(a.m_charSet, b.m_charSet) << p;
        EXPECT_EQ(a.GetColorRef(), b.GetColorRef()) << p;
        EXPECT_EQ(a.GetFont(&from.m_table).GetName(), b.GetFont(&to.m_table).GetName()) << p;
    }
    EXPECT_EQ(target.Selection(), std::make_pair(from.GetLength(), from.GetLength()));
}

TEST(TextClipboard, RtfWithoutAColourEntryKeepsTheColour)
{
    PanelWindow window;
    TableText text;
    SetNote(text, L"ab");
    CKWCharFormat red = Request(CKWCharFormat::kMaskColor);
    red.m_color = CKWColor::FromRgb(255, 0, 0);
    text.SetCharFormatInRange(0, 2, red);
    window.Edit(text);
    window.Panel().SetSel(2, 2, true);
    PutOnClipboard(KWGetRtfClipboardFormat(), "{\\rtf1{\\colortbl;\\red0\\green255\\blue0;}\\cf5 x}");
    ASSERT_TRUE(window.Panel().Paste());
    EXPECT_STREQ(text.GetText().GetString(), L"abx");
    EXPECT_EQ(text.LocateRun(2).GetColorRef(), 0x0000FFu);
}

TEST(TextClipboard, ClipboardBlocksAreReadWithinTheirSize)
{
    {
        CKWClipboard clipboard;
        ASSERT_TRUE(clipboard.Open(nullptr));
        clipboard.Empty();
        // A block is read within its own size: nothing after it is copied.
        const UINT privateFormat = ::RegisterClipboardFormatW(L"KWTextTestBytes");
        const std::string unterminated(64, 'x');
        ASSERT_TRUE(clipboard.SetData(privateFormat, unterminated.data(), 64));
        EXPECT_EQ(clipboard.GetDataSize(privateFormat), 64u);
        std::string buffer(100, '\xEE');
        uint32_t copied = 0;
        ASSERT_TRUE(clipboard.GetData(privateFormat, &buffer[0], 100, &copied));
        EXPECT_EQ(copied, 64u);
        EXPECT_EQ(buffer, unterminated + std::string(36, '\xEE'));
        // The same bytes as Unicode text: 32 characters at most (Wine ends
        // the text formats' blocks with a zero of its own, Windows does not).
        ASSERT_TRUE(clipboard.SetData(CF_UNICODETEXT, unterminated.data(), 64));
        CString text;
        ASSERT_TRUE(clipboard.GetUnicodeText(text));
        EXPECT_GE(text.GetLength(), 31);
        EXPECT_LE(text.GetLength(), 32);
        EXPECT_EQ(std::wstring(text.GetString(), static_cast<size_t>(text.GetLength())),
                  std::wstring(static_cast<size_t>(text.GetLength()), L'\x7878'));

        clipboard.Empty();
        const LCID russian = 1049;
        ASSERT_TRUE(clipboard.SetData(CF_TEXT, "\xC0", 2));
        ASSERT_TRUE(clipboard.SetData(CF_LOCALE, &russian, sizeof russian));
        int charset = 0;
        ASSERT_TRUE(clipboard.GetAnsiText(text, charset));
        EXPECT_STREQ(text.GetString(), L"\u0410");
        EXPECT_EQ(charset, RUSSIAN_CHARSET);
    }
    // Data cannot be set on a clipboard that is not open.
    EXPECT_FALSE(CKWClipboard().SetData(CF_UNICODETEXT, L"x", 4));

    // Text put in a character set's code page carries a locale of it.
    CKWClipboard clipboard;
    ASSERT_TRUE(clipboard.Open(nullptr));
    clipboard.Empty();
    ASSERT_TRUE(clipboard.SetAnsiText(CString(L"\u0416"), RUSSIAN_CHARSET));
    char bytes[4] = {0};
    uint32_t copied = 0;
    ASSERT_TRUE(clipboard.GetData(CF_TEXT, bytes, sizeof bytes, &copied));
    EXPECT_EQ(std::string(bytes, copied), std::string("\xC6\0", 2));
    CString text;
    int charset = 0;
    ASSERT_TRUE(clipboard.GetAnsiText(text, charset));
    EXPECT_STREQ(text.GetString(), L"\u0416");
}
