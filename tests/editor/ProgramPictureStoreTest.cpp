// A day's work on one report, as a user does it: a report of 50 pictures
// opened (Ctrl+O, its name typed) and closed (Ctrl+F4) 30 times. The picture
// store gives back what each closed report held, and the report windows leave
// no drop-target registration behind.
#include "ProcessHandles.h"
#include "ProgramRun.h"
#include "ProgramStore.h"
#include "SectionsReport.h"
#include "UserInput.h"

#include "tests/framework/KWTestFiles.h"
#include "tests/support/TestJpegs.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using edtest::CProgramRun;

namespace {

constexpr int kFileNameCombo = 0x47C;
constexpr int kViewId = 0xE900;
constexpr int kTreeId = 1126;
constexpr int kSections = 5;
constexpr int kPicturesPerSection = 10;
constexpr int kCycles = 30;

// Sections of distinct photographs, written into the folder.
std::vector<edtest::ReportSection> MakePhotographs(const std::wstring& folder)
{
    std::vector<edtest::ReportSection> sections;
    for (int s = 0; s < kSections; ++s) {
        edtest::ReportSection section{L"Part " + std::to_wstring(s + 1), {}};
        for (int p = 0; p < kPicturesPerSection; ++p) {
            const uint32_t seed = uint32_t(s * kPicturesPerSection + p + 1);
            const std::wstring path = folder + L"photo" + std::to_wstring(seed) + L".jpg";
            WriteFileBytes(path, testpictures::EncodeJpeg(testpictures::PhotoPixels(320, 240, seed), 320, 240));
            section.pictures.push_back(path);
        }
        sections.push_back(section);
    }
    return sections;
}

// The report's section tree once the report window shows it whole; null while none does.
HWND ShownTree(const CProgramRun& program)
{
    const std::vector<HWND> frames = program.ReportFrames();
    if (frames.size() != 1 || !::IsWindowVisible(frames.front()) || program.FindDialog())
        return nullptr;
    HWND tree = CProgramRun::FindById(CProgramRun::FindById(frames.front(), kViewId), kTreeId);
    return tree && ::SendMessageW(tree, TVM_GETCOUNT, 0, 0) == 1 + kSections ? tree : nullptr;
}

// True once the program has worked off what it was sent: it answers.
bool Answers(const CProgramRun& program)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(program.Main(), WM_NULL, 0, 0, SMTO_NORMAL, 15000, &result) != 0;
}

}  // namespace

TEST(ProgramPictureStore, ThirtyOpensAndClosesOfAReportLeaveTheStoreAndTheHandlesAsTheFirstClose)
{
    CKWTestTempFolder folder(L"otstore");
    const std::wstring report = folder.Path() + L"Day.otd";
    ASSERT_TRUE(WriteFileBytes(report, edtest::SectionsReportXml(MakePhotographs(folder.Path()), true)));
    const std::map<std::wstring, uint64_t> before = edtest::StoreListing();
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    // The first open is the shell's: the report named on the command line.
    ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
    ASSERT_TRUE(edtest::WaitFor([&] { return ShownTree(program) != nullptr; }));
    const std::wstring prefix = edtest::NewFilesPrefix(before);
    ASSERT_FALSE(prefix.empty()) << "the report's pictures were not put into the store";
    const edtest::StoreFiles open = edtest::StoreFilesOf(prefix);
    EXPECT_GE(open.count, size_t(kSections * kPicturesPerSection));

    edtest::StoreFiles firstClose;
    edtest::ProcessHandles handlesAtFirstClose;
    for (int cycle = 1; cycle <= kCycles; ++cycle) {
        if (cycle > 1) {
            ::SetForegroundWindow(program.Main());
            ASSERT_TRUE(edtest::ReadyForKeys(program)) << program.Shows();
            edtest::PressChord(VK_CONTROL, 'O');
            HWND dialog = program.WaitForDialogWith(kFileNameCombo);
            ASSERT_NE(nullptr, dialog) << "cycle " << cycle;
            ASSERT_TRUE(edtest::AnswerFileDialogByKeys(dialog, report)) << "cycle " << cycle;
            ASSERT_TRUE(edtest::WaitFor([&] { return ShownTree(program) != nullptr; })) << "cycle " << cycle;
            EXPECT_EQ(open, edtest::StoreFilesOf(prefix)) << "cycle " << cycle << ": an open writes what the first wrote";
        }
        ::SetForegroundWindow(program.Main());
        ASSERT_TRUE(edtest::ReadyForKeys(program)) << program.Shows();
        edtest::PressChord(VK_CONTROL, VK_F4);
        ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().empty(); })) << "cycle " << cycle;
        ASSERT_TRUE(Answers(program));
        if (cycle == 1) {
            // The pictures that only the report held are gone once it closed.
            EXPECT_TRUE(edtest::WaitFor([&] {
                return edtest::StoreFilesOf(prefix).count + kSections * kPicturesPerSection <= open.count;
            }));
            firstClose = edtest::StoreFilesOf(prefix);
            handlesAtFirstClose = edtest::CountProcessHandles(::GetProcessId(program.Process()));
            ASSERT_GT(handlesAtFirstClose.all, 0);
        }
    }
    // The store holds what it held after the first close: the pictures of the
    // page templates the program keeps for the whole run, nothing of the report.
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::StoreFilesOf(prefix) == firstClose; }));
    const edtest::StoreFiles lastClose = edtest::StoreFilesOf(prefix);
    EXPECT_EQ(firstClose.count, lastClose.count);
    EXPECT_EQ(firstClose.bytes, lastClose.bytes);
    // Each report window registers drop targets: one revoked after its window
    // went leaves a section behind, for every window and cycle. Registry keys
    // are apart: Wine's file dialog keeps one open for each file chosen in it.
    const edtest::ProcessHandles handles = edtest::CountProcessHandles(::GetProcessId(program.Process()));
    EXPECT_LE(handles.sections, handlesAtFirstClose.sections);
    EXPECT_LE(handles.files, handlesAtFirstClose.files);
    EXPECT_LE(handles.Others(), handlesAtFirstClose.Others() + 2) << "other handles grew with the cycles";
    std::printf("store after the first close: %u files, %llu bytes; after the last: %u files, %llu bytes\n"
                "handles after the first close: %d (%d sections, %d files, %d keys); after the last: %d (%d, %d, %d)\n",
                unsigned(firstClose.count), (unsigned long long)firstClose.bytes, unsigned(lastClose.count),
                (unsigned long long)lastClose.bytes, handlesAtFirstClose.all, handlesAtFirstClose.sections,
                handlesAtFirstClose.files, handlesAtFirstClose.keys, handles.all, handles.sections, handles.files,
                handles.keys);
    EXPECT_TRUE(program.CloseWithoutSaving());
    EXPECT_TRUE(edtest::StoreFilesOf(prefix).count == 0) << "the program's end empties its part of the store";
}
