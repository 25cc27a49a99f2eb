// Speed of pasting formatted text: an RTF document of many formatting runs
// (bold, italic, colour and size changing by turns) is read, then pasted
// through the clipboard into a text panel being edited, as the program's
// "Paste" does; the times of both and the runs the text then holds are
// printed.
// Usage: rtf_bench [runs]
#include "bench/ElapsedSeconds.h"
#include "framework/KWIndexDecoder.h"
#include "framework/KWMemFile.h"
#include "text/KWClipboard.h"
#include "text/KWRtfReader.h"
#include "text/KWTextData.h"
#include "text/KWTextObject.h"
#include "text/KWTextPanel.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A laid-out text with a font table of its own, as the report's notes have.
class CBenchText : public CKWTextObject {
public:
    CKWIndexDecoder* GetFontTable() const override { return &m_table; }
    mutable CKWIndexDecoder m_table;
};

std::string MakeRtf(int runs)
{
    std::string rtf = "{\\rtf1\\ansi {\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fcharset0 Times;}}\n"
                      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\n";
    for (int i = 0; i < runs; ++i) {
        rtf += i % 2 ? "\\b0" : "\\b";
        rtf += i % 3 ? "\\i0" : "\\i";
        rtf += "\\f" + std::to_string(i % 2) + "\\cf" + std::to_string(1 + i % 2) + "\\fs" + std::to_string(20 + i % 4);
        rtf += " w";
        rtf += static_cast<char>('a' + i % 26);
        if (i % 10 == 9)
            rtf += "\\par\r\n";
    }
    return rtf + "}";
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 100000;
    std::string rtf = MakeRtf(runs);

    CKWRtfReader reader;
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    CKWMemFile file(&rtf[0], static_cast<int32_t>(rtf.size()));
    reader.Read(file);
    const double readSeconds = Seconds(start);
    std::printf("%d runs, %.1f KB of RTF: read in %.3f s (%u pieces, %u characters)\n", runs,
                static_cast<double>(rtf.size()) / 1024.0, readSeconds, static_cast<unsigned>(reader.GetPieces().size()),
                static_cast<unsigned>(reader.GetText().size()));

    // The formats alone, applied piece by piece to a plain text as a paste does.
    {
        CKWTextData plain;
        plain.SetText(reader.GetText().c_str(), static_cast<int>(reader.GetText().size()));
        ::QueryPerformanceCounter(&start);
        CKWTextData::RunCursor cursor;
        int pos = 0;
        for (const CKWRtfReader::Piece& piece : reader.GetPieces()) {
            CKWCharFormat request;
            request.m_count = CKWCharFormat::kMaskSize | CKWCharFormat::kMaskWholeStyle;
            request.m_size = static_cast<int16_t>(piece.state.size);
            request.m_style = static_cast<uint8_t>(piece.state.style & 0xFF);
            plain.SetCharFormatInRange(pos, pos + piece.count, request, cursor);
            pos += piece.count;
        }
        std::printf("formats applied to a plain text in %.3f s: %d runs\n", Seconds(start), plain.GetRunCount());
    }

    HWND host = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 400, 300,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    CKWTextPanel panel;
    const RECT rect = {0, 0, 400, 300};
    if (!panel.Create(WS_CHILD | WS_VISIBLE, rect, CWnd::FromHandle(host), 1159)) {
        std::printf("the text panel could not be made\n");
        return 1;
    }
    CBenchText text;
    panel.AttachTextObject(&text);
    panel.BeginEdit(&text);
    {
        CKWClipboard clipboard;
        if (!clipboard.Open(nullptr)) {
            std::printf("the clipboard could not be opened\n");
            return 1;
        }
        clipboard.Empty();
        clipboard.SetData(KWGetRtfClipboardFormat(), rtf.data(), static_cast<uint32_t>(rtf.size()));
        clipboard.Close();
    }
    ::QueryPerformanceCounter(&start);
    const bool pasted = panel.Paste();
    const double pasteSeconds = Seconds(start);
    std::printf("paste %s in %.3f s: the text holds %d characters in %d runs\n", pasted ? "done" : "FAILED",
                pasteSeconds, text.GetLength(), text.GetRunCount());
    ::QueryPerformanceCounter(&start);
    panel.RefreshText();
    std::printf("the pasted text laid out again in %.3f s\n", Seconds(start));
    panel.DestroyWindow();
    ::DestroyWindow(host);
    return pasted ? 0 : 1;
}
