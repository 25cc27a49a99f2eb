// A picture of too many pixels added to a section in the real program, as a
// user adds it with "Add Image": a PNG of 16000 x 16000 pixels in a few
// hundred kilobytes beside a sound photograph. One warning names its file and
// its size, the image panel shows the placeholder in its place and the
// photograph as it is, and the program's memory stays where it was.
#include "ProgramRealInput.h"
#include "ProgramRun.h"

#include "tests/framework/KWTestFiles.h"
#include "tests/support/HugePictures.h"
#include "tests/support/PrivateBytes.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/WindowPixels.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>

using edtest::CProgramRun;

namespace {

constexpr UINT kAddImage = 1151;
constexpr uint32_t kHugeSide = 16000;

// The placeholder picture as the program's resources hold it (a bitmap of 24
// bits, rows bottom up), as screen colours, top row first.
test_support::Pixels Placeholder()
{
    test_support::Pixels pixels;
    HMODULE self = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(222), L"QUARTZ");
    const uint8_t* bytes = found ? static_cast<const uint8_t*>(::LockResource(::LoadResource(self, found))) : nullptr;
    if (!bytes || ::SizeofResource(self, found) < 54)
        return pixels;
    int32_t width = 0, height = 0;
    uint32_t offset = 0;
    uint16_t bits = 0;
    std::memcpy(&offset, bytes + 10, 4);
    std::memcpy(&width, bytes + 18, 4);
    std::memcpy(&height, bytes + 22, 4);
    std::memcpy(&bits, bytes + 28, 2);
    if (bits != 24 || width <= 0 || height <= 0)
        return pixels;
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    pixels.width = width;
    pixels.height = height;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = bytes + offset + stride * size_t(height - 1 - y);
        for (int32_t x = 0; x < width; ++x)
            pixels.values.push_back(RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]));
    }
    return pixels;
}

// True when the picture stands in the capture pixel for pixel somewhere.
bool Shows(const test_support::Pixels& capture, const test_support::Pixels& picture)
{
    for (int top = 0; top + picture.height <= capture.height; ++top) {
        for (int left = 0; left + picture.width <= capture.width; ++left) {
            bool same = true;
            for (int y = 0; y < picture.height && same; ++y)
                for (int x = 0; x < picture.width && same; ++x)
                    same = capture.At(left + x, top + y) == picture.At(x, y);
            if (same)
                return true;
        }
    }
    return false;
}

}  // namespace

TEST(ProgramHugePicture, OneWarningNamesItsFileAndSizeThePlaceholderShowsAndMemoryStaysBounded)
{
    CKWTestTempFolder folder(L"huge");
    const std::string png = testpictures::HugeGreyPng(kHugeSide, kHugeSide);
    ASSERT_LT(png.size(), size_t(1) << 20);
    folder.Write(L"huge.png", png);
    folder.Write(L"photo.jpg", testpictures::EncodeJpeg(testpictures::PhotoPixels(200, 150, 4), 200, 150));
    const test_support::Pixels placeholder = Placeholder();
    ASSERT_GT(placeholder.width, 0) << "the placeholder is in the program's resources";

    edtest::SetStartPrefs(3, L"", false);
    edtest::SetPrefText(L"AddPicturePath", folder.Path());
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    HWND list = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] { return (list = program.ReportPictureList()) != nullptr; }));
    ::ShowWindow(program.Main(), SW_MAXIMIZE);
    size_t peakAtStart = 0;
    const size_t atStart = test_support::PrivateBytes(&peakAtStart, program.Process());
    ASSERT_GT(atStart, 0u);

    program.PostCommand(kAddImage);
    HWND chooser = program.WaitForDialog();
    ASSERT_NE(nullptr, chooser);
    CProgramRun::AnswerFileDialog(chooser, L"\"huge.png\" \"photo.jpg\"");

    // One warning: the huge picture's file and size, the photograph not named.
    HWND warning = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        warning = program.FindDialog();
        const std::wstring said = warning && warning != chooser ? CProgramRun::DialogText(warning) : std::wstring();
        return !said.empty() && said.find(L"Reading pictures...") == std::wstring::npos &&
               said.find(L"Checking pictures...") == std::wstring::npos;
    }, 60000));
    const std::wstring text = CProgramRun::DialogText(warning);
    const std::wstring line = folder.Path() + L"huge.png is too large to show: 16000 x 16000 pixels.";
    EXPECT_NE(std::wstring::npos, text.find(line)) << testing::PrintToString(text);
    EXPECT_EQ(text.find(L"huge.png"), text.rfind(L"huge.png")) << "named once";
    EXPECT_EQ(std::wstring::npos, text.find(L"photo.jpg"));
    ::PostMessageW(warning, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));

    // Both pictures in the panel, the huge one as the placeholder.
    ASSERT_TRUE(edtest::WaitFor([&] {
        DWORD_PTR count = 0;
        return ::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 5000, &count) && count == 2;
    }));
    // A click on the panel's empty part leaves no picture selected, so that
    // each shows as it is.
    ::SetForegroundWindow(program.Main());
    RECT listRect;
    ::GetClientRect(list, &listRect);
    edtest::ApproachAndClick(edtest::OnScreen(list, POINT{listRect.right - 40, listRect.bottom - 40}));
    ::SendMessageW(program.Main(), WM_NULL, 0, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return Shows(test_support::Capture(list, false), placeholder); }))
        << "the placeholder is not in the image panel";
    test_support::WriteWindowScreenshot(program.Main(), L"editor_huge_picture");
    EXPECT_FALSE(program.FindDialog()) << "no second warning";

    // Nothing near the picture's pixels (a gigabyte) was ever held.
    size_t peak = 0;
    test_support::PrivateBytes(&peak, program.Process());
    std::printf("[ info ] the program's memory: %u MB at the start, at most %u MB\n", unsigned(atStart >> 20),
                unsigned(peak >> 20));
    EXPECT_LT(peak, std::max(peakAtStart, atStart + (size_t(64) << 20)));
    EXPECT_TRUE(program.CloseWithoutSaving());
}
