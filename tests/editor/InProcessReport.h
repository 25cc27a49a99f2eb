#pragma once
// The program's windows in the test's own process: the main window of the
// test application with one new report (from the default report template),
// its report window, view and section tree, and folders of JPEG pictures.
#include "DropData.h"
#include "TestApplication.h"

#include "editor/TalDocFrame.h"
#include "editor/TalMainFrame.h"
#include "editor/TalView.h"
#include "document/TalDocument.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/platform/classlib/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace edtest {

class InProcessReport : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Handles messages for the time (the view's hover ticks come as messages).
    static void PumpFor(DWORD milliseconds);
    // The reports open, in the order of the document manager.
    static std::vector<CTalDocument*> Reports();
    // A JPEG of the size, written at the path.
    static void WriteJpeg(const std::wstring& path, int width, int height);
    // A link named name inside the folder that leads back to target (a
    // junction, as the file system shows it).
    static bool MakeLinkBack(const std::wstring& folder, const wchar_t* name, const wchar_t* target);
    // Holds the left Ctrl and Shift keys in the thread's key state.
    static void SetKeys(bool ctrl, bool shift) { classlib_test::SetKeys(ctrl, shift); }

    CTestApplication& app = TestApplication();
    CTalMainFrame* main = nullptr;
    CTalDocument* document = nullptr;
    CTalDocFrame* report = nullptr;
    CTalView* view = nullptr;
    CKWTestTempFolder folder{L"gal"};
};

}  // namespace edtest
