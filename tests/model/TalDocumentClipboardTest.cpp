// The report document's clipboard: what enables Paste, the copies of
// sections and pictures, and the paste of each kind of data, through the
// Windows clipboard.
#include "TalDocumentCommandSupport.h"

#include "framework/KWDropData.h"
#include "framework/KWRasterLib.h"
#include "model/TalCommandHistory.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalTextNote.h"
#include "document/TalClipboardData.h"
#include "text/KWClipboard.h"

using namespace taldoc;

namespace {

class TalDocumentClipboard : public TalCommandFixture {
protected:
    void SetUp() override
    {
        TalCommandFixture::SetUp();
        AddPictures(b.Get(), {L"C:\\Shots\\One.jpg", L"C:\\Shots\\Two.jpg"});
        b->GetTextNote()->SetText(L"Note of B");
        document->SetModifiedFlag(FALSE);
    }
    void TearDown() override
    {
        SetClipboard({});
        TalCommandFixture::TearDown();
    }
    // The bytes of a format on the clipboard now.
    std::string ClipboardBytes(UINT format)
    {
        CKWClipboard clipboard;
        EXPECT_TRUE(clipboard.Open(nullptr));
        std::string bytes(clipboard.GetDataSize(format), '\0');
        clipboard.GetData(format, &bytes[0], static_cast<uint32_t>(bytes.size()));
        return bytes;
    }
};

}  // namespace

TEST_F(TalDocumentClipboard, PasteIsEnabledByEachKindOfDataAlone)
{
    Select(a.Get());
    const UINT formats[] = {CF_TEXT, CF_UNICODETEXT, CF_DIB, CF_TIFF, TalObjectsClipboardFormat(),
                            TalPicturesClipboardFormat(), TalPictureFilesClipboardFormat()};
    for (UINT format : formats) {
        SetClipboard({{format, "data"}});
        EXPECT_TRUE(Enabled(ID_TAL_EDIT_PASTE)) << format;
        EXPECT_TRUE(Enabled(ID_TAL_PASTE_AS_SUBSECTION)) << format;
    }
    SetClipboardBitmap(4, 4);
    EXPECT_TRUE(Enabled(ID_TAL_EDIT_PASTE)) << "CF_BITMAP";

    SetClipboard({{::RegisterClipboardFormatW(L"Some Other Program"), "data"}});
    EXPECT_FALSE(Enabled(ID_TAL_EDIT_PASTE));
    EXPECT_FALSE(Enabled(ID_TAL_PASTE_AS_SUBSECTION));
}

TEST_F(TalDocumentClipboard, ACopiedSectionPastesAsASubsectionInOneStep)
{
    Select(b.Get());
    Command(ID_TAL_EDIT_COPY);
    ASSERT_TRUE(::IsClipboardFormatAvailable(TalObjectsClipboardFormat()));
    Select(a.Get());
    Command(ID_TAL_PASTE_AS_SUBSECTION);

    ASSERT_EQ(1, a->GetSubSectionCount());
    CKWRefPtr<CTalSection> copy = a->GetSubSection(0);
    EXPECT_STREQ(L"B", copy->GetName());
    EXPECT_NE(b->GetId(), copy->GetId()) << "a pasted section gets an id of its own";
    ASSERT_EQ(2, copy->GetPictureCount());
    EXPECT_STREQ(L"Two", copy->GetPicture(1)->GetTitle());
    EXPECT_EQ(b->GetPicture(1)->GetPictureId(), copy->GetPicture(1)->GetPictureId());
    EXPECT_EQ(CString(L"Note of B"), copy->GetTextNote()->GetText());
    EXPECT_EQ(copy.Get(), Current()) << "the pasted section is shown";
    EXPECT_EQ(1, History().GetGroupCount());
    EXPECT_TRUE(document->IsModified());

    Command(ID_TAL_EDIT_UNDO);
    EXPECT_EQ(0, a->GetSubSectionCount());
}

TEST_F(TalDocumentClipboard, CutPicturesGoToTheClipboardAndPastePicturesBeforeText)
{
    Select(b.Get());
    views->activePane = CTalDocumentViews::kPaneImages;
    views->selectedImages = {1};
    views->currentImage = 1;
    Command(ID_TAL_EDIT_CUT);
    ASSERT_EQ(1, b->GetPictureCount()) << "cut removes the picture";
    const std::string pictures = ClipboardBytes(TalPicturesClipboardFormat());
    ASSERT_FALSE(pictures.empty());

    // The pictures and a text together: only the pictures are pasted.
    SetClipboard({{TalPicturesClipboardFormat(), pictures}, {CF_UNICODETEXT, UnicodeBytes(L"T")}});
    views->activePane = CTalDocumentViews::kPaneTree;
    Select(a.Get());
    Command(ID_TAL_EDIT_PASTE);
    ASSERT_EQ(1, a->GetPictureCount());
    EXPECT_STREQ(L"Two", a->GetPicture(0)->GetTitle());
    EXPECT_EQ(2, heading->GetSubSectionCount()) << "no section named by the text";
}

TEST_F(TalDocumentClipboard, PastedTextNamesANewSection)
{
    Select(a.Get());
    SetClipboard({{CF_UNICODETEXT, UnicodeBytes(L"\r\n  Holiday\t")}});
    Command(ID_TAL_EDIT_PASTE);
    ASSERT_EQ(3, heading->GetSubSectionCount());
    EXPECT_STREQ(L"Holiday", heading->GetSubSection(1)->GetName()) << "after the current section";

    SetClipboard({{CF_UNICODETEXT, UnicodeBytes(L" \r\n ")}});
    Command(ID_TAL_EDIT_PASTE);
    EXPECT_EQ(3, heading->GetSubSectionCount()) << "blank text names nothing";
}

TEST_F(TalDocumentClipboard, ABitmapHandleBecomesAPictureOfItsSize)
{
    ASSERT_NE(nullptr, g_rasterLib.GetLibraryModule()) << "DAZiruraRuv.dll is not next to the test program";
    // The handle itself, read as a packed DIB, whatever the clipboard synthesises.
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 40, 30);
    ::ReleaseDC(nullptr, screen);
    std::vector<uint8_t> dib;
    ASSERT_TRUE(KWPackBitmapAsDib(bitmap, dib));
    ::DeleteObject(bitmap);
    KWRasterImagePtr image(g_rasterLib.RasterReadFromMemory(dib.data(), uint32_t(dib.size()), "DIB", 0, 0));
    ASSERT_TRUE(image);
    EXPECT_EQ(40u, image->width);
    EXPECT_EQ(30u, image->height);
    EXPECT_FALSE(KWPackBitmapAsDib(nullptr, dib));

    Select(a.Get());
    SetClipboardBitmap(40, 30);
    Command(ID_TAL_EDIT_PASTE);
    ASSERT_EQ(1, a->GetPictureCount());
    const int32_t id = a->GetPicture(0)->GetPictureId();
    EXPECT_EQ(CString(L"Picture-") + std::to_wstring(id).c_str(), a->GetPicture(0)->GetTitle());
    SIZE size = {};
    g_rasterLib.GetImageSize(uint32_t(id), size);
    EXPECT_EQ(40, size.cx);
    EXPECT_EQ(30, size.cy);
    EXPECT_EQ(1, History().GetGroupCount());
}

TEST_F(TalDocumentClipboard, ForeignBlocksUnderOurNamesPasteNothing)
{
    Select(a.Get());
    for (UINT format : {TalObjectsClipboardFormat(), TalPicturesClipboardFormat()}) {
        SetClipboard({{format, std::string("\x01\xFF\xFF\xFF\x7F", 5)}});
        Command(ID_TAL_EDIT_PASTE);
    }
    EXPECT_EQ(2, heading->GetSubSectionCount());
    EXPECT_EQ(0, a->GetPictureCount());
    EXPECT_FALSE(document->IsModified());
    // Paste As Subsection marks the report changed even when it pasted nothing.
    Command(ID_TAL_PASTE_AS_SUBSECTION);
    EXPECT_EQ(0, a->GetSubSectionCount());
    EXPECT_EQ(0, History().GetGroupCount());
    EXPECT_TRUE(document->IsModified());
}
