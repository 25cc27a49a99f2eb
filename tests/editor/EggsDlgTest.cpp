// The team dialog in the test's own process: the picture drawn at its own
// size, row for row, and nothing for a picture that does not decode.
#include "editor/EggsDlg.h"
#include "framework/KWRasterImage.h"
#include "platform/classlib/WinApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

// Looks at the dialog once it shows, then closes it. With padded rows the
// decoded picture is handed over with 12 bytes after each row, as a decoder
// that aligns its rows would give it.
class CLookedAtEggsDlg : public CEggsDlg {
public:
    using CEggsDlg::CEggsDlg;

    bool padRows = false;

    CRect client;
    int mismatches = -1;
    int picturePixels = 0;

    BOOL OnInitDialog() override
    {
        const BOOL result = CEggsDlg::OnInitDialog();
        SetTimer(1, 20);
        return result;
    }

protected:
    KWRasterImage* DecodePicture() override
    {
        KWRasterImage* image = CEggsDlg::DecodePicture();
        if (!image || !padRows)
            return image;
        KWRasterImage* padded = KWAllocRasterImage(image->width, image->height, image->width * 4 + 12);
        for (uint32_t y = 0; y < image->height; ++y) {
            uint8_t* row = padded->Pixels() + size_t(y) * padded->stride;
            std::memcpy(row, image->Pixels() + size_t(y) * image->stride, image->width * 4);
            std::memset(row + image->width * 4, 0x5A, 12);
        }
        KWFreeRasterImage(image);
        return padded;
    }

    afx_msg void OnTimer(UINT_PTR)
    {
        KillTimer(1);
        UpdateWindow();
        GetClientRect(&client);
        HDC dc = ::GetDC(m_hWnd);
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        mismatches = 0;
        // Every ninth pixel of every third row: a wrong row stride shifts
        // each row a little further than the one before.
        for (int y = 0; y < client.Height(); y += 3) {
            for (int x = 0; x < client.Width(); x += 9) {
                const COLORREF shown = ::GetPixel(dc, x, y);
                if (const KWRasterImage* image = GetRasterImage()) {
                    const uint8_t* pixel = image->Pixels() + size_t(y) * image->stride + size_t(x) * 4;
                    ++picturePixels;
                    if (std::abs(int(GetRValue(shown)) - pixel[2]) > 12 ||
                        std::abs(int(GetGValue(shown)) - pixel[1]) > 12 ||
                        std::abs(int(GetBValue(shown)) - pixel[0]) > 12)
                        ++mismatches;
                } else if (shown != face) {
                    ++mismatches;
                }
            }
        }
        ::ReleaseDC(m_hWnd, dc);
        EndDialog(IDCANCEL);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLookedAtEggsDlg, CEggsDlg)
    ON_WM_TIMER()
END_MESSAGE_MAP()

}  // namespace

TEST(CEggsDlg, DrawsTheOddWidthPictureRowForRowAndNothingForAnUndecodableOne)
{
    CLookedAtEggsDlg team;
    team.padRows = true;
    team.DoModal();
    EXPECT_EQ(CRect(0, 0, 241, 161), team.client);
    EXPECT_GT(team.picturePixels, 1000);
    EXPECT_EQ(0, team.mismatches);

    const char notAPicture[] = "\xFF\xD8\xFF\xE0 not a picture";
    CLookedAtEggsDlg broken(nullptr, notAPicture, sizeof(notAPicture));
    broken.DoModal();
    EXPECT_EQ(nullptr, broken.GetRasterImage());
    EXPECT_EQ(0, broken.mismatches) << "nothing drawn";
    // The template's own size (160 by 100 dialog units).
    CRect units(0, 0, 160, 100);
    HWND probe = ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(251), nullptr, nullptr, 0);
    ASSERT_NE(nullptr, probe);
    ::MapDialogRect(probe, &units);
    ::DestroyWindow(probe);
    EXPECT_EQ(units, broken.client);
}
