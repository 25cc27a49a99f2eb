// Two copies of the program for one user share the picture store's folder.
// Pictures copied in one and pasted in the other stay with both, whichever
// copy closes its report or ends first; a killed copy's files go at the next
// start while a running copy keeps its own; and a report saved as an archive
// goes on with its own pictures when the archive is moved away.
#include "ProgramMenus.h"
#include "ProgramPreview.h"
#include "ProgramRealInput.h"
#include "ProgramRun.h"
#include "ProgramStore.h"
#include "SectionsReport.h"
#include "SizedDesktop.h"
#include "UserInput.h"

#include "files/Base64.h"
#include "resources/ReportPropDialogs.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/KeepForReaders.h"
#include "tests/support/SmallVolume.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/WindowPixels.h"
#include "tests/support/WindowScreenshot.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

using edtest::CProgramRun;

namespace {

constexpr int kViewId = 0xE900;
constexpr int kTreeId = 1126;
constexpr int kFileNameCombo = 0x47C;
constexpr int kSheetTab = 0x3020;
constexpr int kLoadErrorList = 1174;
constexpr int kWizardPicture = 1029;
constexpr int kWizardNext = 0x3024;
constexpr int kWizardFinish = 0x3025;
constexpr UINT kDocumentProperties = 32795;
constexpr UINT kGeneratePdf = 32837;
constexpr int kPictures = 6;

// Distinct photographs in the folder, as one section.
edtest::ReportSection Photographs(const std::wstring& folder, const wchar_t* name, uint32_t firstSeed)
{
    edtest::ReportSection section{name, {}};
    for (int i = 0; i < kPictures; ++i) {
        const uint32_t seed = firstSeed + uint32_t(i);
        const std::wstring path = folder + name + std::to_wstring(seed) + L".jpg";
        WriteFileBytes(path, testpictures::EncodeJpeg(testpictures::PhotoPixels(200, 150, seed), 200, 150));
        section.pictures.push_back(path);
    }
    return section;
}

std::vector<std::string> SortedBytes(const std::vector<std::wstring>& paths)
{
    std::vector<std::string> bytes;
    for (const std::wstring& path : paths)
        bytes.push_back(ReadFileBytes(path));
    std::sort(bytes.begin(), bytes.end());
    return bytes;
}

// A report of the photographs, with them inside, named after them in the
// folder; their bytes, sorted, in sources. The programs then start with no
// report of their own and generate without asking the options.
std::wstring PhotoReport(const std::wstring& folder, const wchar_t* name, uint32_t firstSeed,
                         std::vector<std::string>& sources)
{
    edtest::SetStartPrefs(3, L"", false);
    const edtest::ReportSection photos = Photographs(folder, name, firstSeed);
    sources = SortedBytes(photos.pictures);
    const std::wstring report = folder + name + L".otd";
    return WriteFileBytes(report, edtest::SectionsReportXml({photos}, true)) ? report : std::wstring();
}

// Puts back at its end what a test changed of the programs' world.
struct Restore {
    std::function<void()> undo;
    ~Restore() { undo(); }
};

std::wstring Widen(const std::string& utf8)
{
    std::wstring out(size_t(::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0)), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &out[0], int(out.size()));
    out.pop_back();
    return out;
}

// The bytes of every picture a saved report carries, read as a reader of the
// format does: decoded from the file, or from the file it names (a name of
// two parts lies beside the report). Sorted.
std::vector<std::string> SavedPictures(const std::wstring& report)
{
    const std::string text = ReadFileBytes(report);
    const std::wstring folder = report.substr(0, report.find_last_of(L'\\') + 1);
    std::vector<std::string> pictures;
    for (size_t at = text.find("<Image ID="); at != std::string::npos; at = text.find("<Image ID=", at + 1)) {
        const size_t open = text.find('>', at);
        const size_t close = text.find("</Image>", open);
        if (open == std::string::npos || close == std::string::npos)
            break;
        const std::string tag = text.substr(at, open - at);
        std::string content = text.substr(open + 1, close - open - 1);
        if (tag.find("FileFormat=") != std::string::npos) {
            std::string bytes(size_t(CBase64::DecodedCapacity(int64_t(content.size()))), '\0');
            CBase64 base64;
            const int32_t count = base64.Decode(content.data(), reinterpret_cast<uint8_t*>(&bytes[0]),
                                                int32_t(content.size()));
            bytes.resize(size_t(std::max(count, 0)));
            pictures.push_back(bytes);
            continue;
        }
        content.erase(0, content.find_first_not_of(" \t\r\n"));
        content.erase(content.find_last_not_of(" \t\r\n") + 1);
        std::wstring path = Widen(content);
        if (path.size() < 2 || path[1] != L':')
            path = folder + path;
        pictures.push_back(ReadFileBytes(path));
    }
    std::sort(pictures.begin(), pictures.end());
    return pictures;
}

HWND TreeOf(const CProgramRun& program)
{
    const std::vector<HWND> frames = program.ReportFrames();
    return frames.size() == 1 ? CProgramRun::FindById(CProgramRun::FindById(frames.front(), kViewId), kTreeId)
                              : nullptr;
}

// The number of sections the report's tree shows; 0 while no report shows.
size_t TreeCount(const CProgramRun& program)
{
    HWND tree = TreeOf(program);
    return tree && !program.FindDialog() ? size_t(::SendMessageW(tree, TVM_GETCOUNT, 0, 0)) : 0;
}

// The program's main window brought to the front as a user does, by a
// click on its caption (the system lets no other program give it the
// front); true once it takes keys.
bool BringToFront(const CProgramRun& program)
{
    RECT window = {};
    ::GetWindowRect(program.Main(), &window);
    const int captionY = window.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION) / 2;
    const POINT caption = {window.left + (window.right - window.left) / 3, captionY};
    edtest::ReadyForClick(program.Main(), caption);
    edtest::ClickAt(caption);
    return edtest::ReadyForKeys(program);
}

// The two copies' windows beside each other, each caption in sight.
void PlaceSideBySide(const CProgramRun& left, const CProgramRun& right)
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN) / 2;
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    for (const CProgramRun* program : {&left, &right}) {
        ::ShowWindow(program->Main(), SW_RESTORE);
        ::MoveWindow(program->Main(), program == &left ? 0 : width, 0, width, height, TRUE);
    }
}

// The tree item clicked once the program's window is the one under the
// pointer there: the other copy's window, at the same place, may still lie
// over it a moment after the front changed.
bool ClickItemOnTop(const CProgramRun& program, HWND tree, LPARAM item)
{
    const POINT point = edtest::TreeItemPoint(tree, item);
    if (!edtest::WaitFor([&] { return ::WindowFromPoint(point) == tree; }))
        return false;
    return edtest::ClickTreeItem(tree, reinterpret_cast<HTREEITEM>(item));
}

// The first section under the report's heading, clicked.
bool ClickFirstSection(const CProgramRun& program)
{
    HWND tree = TreeOf(program);
    if (!tree)
        return false;
    const std::vector<LPARAM> roots = edtest::TreeChildren(tree, 0);
    if (roots.empty())
        return false;
    const std::vector<LPARAM> sections = edtest::TreeChildren(tree, roots.front());
    return !sections.empty() && ClickItemOnTop(program, tree, sections.front());
}

bool Answers(const CProgramRun& program)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(program.Main(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result) != 0;
}

FILETIME WriteTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Ctrl+S in front of the program; true once the report file was written anew.
bool SaveByKeys(const CProgramRun& program, const std::wstring& report)
{
    const FILETIME before = WriteTime(report);
    if (!BringToFront(program))
        return false;
    edtest::PressChord(VK_CONTROL, 'S');
    return edtest::WaitFor([&] {
        const FILETIME now = WriteTime(report);
        return ::CompareFileTime(&now, &before) != 0 && Answers(program) && !program.FindDialog();
    }, 60000);
}

// A command of the File menu by its keys (Alt+F, then the keys given), the
// name typed into the file dialog it opens; false when no dialog took it.
bool FileCommandByKeys(const CProgramRun& program, std::initializer_list<WORD> keys, const std::wstring& name)
{
    if (!BringToFront(program))
        return false;
    edtest::PressChord(VK_MENU, 'F');
    if (!edtest::WaitFor([&] { return program.FindPopup() != nullptr; }))
        return false;
    for (WORD key : keys)
        edtest::TapKey(key);
    HWND dialog = program.WaitForDialogWith(kFileNameCombo);
    return dialog && edtest::AnswerFileDialogByKeys(dialog, name);
}

// "File > Save as Archive" by its keys.
bool SaveArchiveByKeys(const CProgramRun& program, const std::wstring& archive)
{
    if (!FileCommandByKeys(program, {'A'}, archive))
        return false;
    return edtest::WaitFor([&] { return Exists(archive) && Answers(program) && !program.FindDialog(); }, 60000);
}

// "File > Generate Report in PDF..." by its keys; true once the file is whole.
bool GeneratePdfByKeys(const CProgramRun& program, const std::wstring& pdf)
{
    if (!FileCommandByKeys(program, {'D'}, pdf))
        return false;
    return edtest::WaitFor([&] {
        const std::string bytes = ReadFileBytes(pdf);
        return bytes.find("%%EOF") != std::string::npos && Answers(program) && !program.FindDialog();
    }, 60000);
}

// "Pictures beside the report" chosen in the report's properties.
bool ChoosePicturesBeside(const CProgramRun& program)
{
    program.PostCommand(kDocumentProperties);
    HWND sheet = program.WaitForDialogWith(kSheetTab);
    if (!sheet)
        return false;
    HWND beside = CProgramRun::FindById(sheet, IDC_GEN_IMAGE_LINKS);
    if (!beside)
        return false;
    edtest::ClickWindow(beside);
    if (!edtest::WaitFor([&] { return ::SendMessageW(beside, BM_GETCHECK, 0, 0) == BST_CHECKED; }))
        return false;
    edtest::TapKey(VK_RETURN);
    return edtest::WaitFor([&] { return !program.FindDialog(); });
}

// Pixels whose channels differ: a photograph's, never the placeholder's,
// which is grey through and through, nor the page's paper and text.
size_t ColouredPixels(const test_support::Pixels& pixels)
{
    return size_t(std::count_if(pixels.values.begin(), pixels.values.end(), [](COLORREF c) {
        return GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c);
    }));
}

// The section shown renamed by keys (F2, the name, Enter): an edit to save.
void RenameShownSection(const CProgramRun& program, const wchar_t* name)
{
    ASSERT_TRUE(BringToFront(program));
    // The section shown (the one pasted last, or the first) takes the keys:
    // a click on the tree below its items gives them to it (a click on the
    // shown section would open its name for editing a moment later).
    HWND tree = TreeOf(program);
    ASSERT_NE(nullptr, tree);
    if (::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) {
        RECT client = {};
        ::GetClientRect(tree, &client);
        const POINT below = edtest::OnScreen(tree, {client.right / 2, client.bottom - 4});
        ASSERT_TRUE(edtest::WaitFor([&] { return ::WindowFromPoint(below) == tree; }));
        edtest::ClickAt(below);
        ASSERT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(tree) == tree; }));
    } else {
        ASSERT_TRUE(ClickFirstSection(program));
    }
    test_support::WriteWindowScreenshot(program.Main(), L"program_shared_store_rename");
    edtest::TapKey(VK_F2);
    edtest::TypeText(name);
    edtest::TapKey(VK_RETURN);
    ASSERT_TRUE(edtest::WaitFor([&] { return Answers(program) && !program.FindDialog(); }))
        << "a dialog stays: " << CProgramRun::DialogText(program.FindDialog()).size() << " characters";
}

void ClearClipboard()
{
    if (::OpenClipboard(nullptr)) {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
}

bool ClipboardHoldsSection()
{
    return ::IsClipboardFormatAvailable(::RegisterClipboardFormatW(L"Tallier Objects")) != 0;
}

// Every message and load list the program shows answered with OK until its
// report's tree shows; what they said.
std::wstring AnswerUntilShown(const CProgramRun& program)
{
    std::wstring said;
    HWND dialog = nullptr;
    while (edtest::WaitFor([&] { return TreeCount(program) == 2 || (dialog = program.FindDialog()) != nullptr; }) &&
           TreeCount(program) != 2) {
        said += CProgramRun::DialogText(dialog) + L"\n";
        wchar_t line[2048] = {};
        if (HWND list = ::GetDlgItem(dialog, kLoadErrorList); list && ::SendMessageW(list, LB_GETTEXTLEN, 0, 0) < 2048)
            said += std::wstring(line, size_t(::SendMessageW(list, LB_GETTEXT, 0, LPARAM(line)))) + L"\n";
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        if (!edtest::WaitFor([&] { return !CProgramRun::IsShown(dialog); }))
            break;
    }
    return said;
}

// The folder of the program's store files that appeared since the listing.
std::wstring NewStoreFolder(const std::map<std::wstring, uint64_t>& before)
{
    std::wstring folder;
    edtest::WaitFor([&] { return !(folder = edtest::NewFilesPrefix(before)).empty(); });
    return folder;
}

}  // namespace

TEST(ProgramSharedStore, PicturesPastedIntoAnotherCopyStayWithBothWhicheverCopyEndsFirst)
{
    // The copy that pasted ends first, the one that copied, or that one before the paste.
    for (const int order : {0, 1, 2}) {
        const bool pasterEnds = order == 0;
        SCOPED_TRACE(order);
        CKWTestTempFolder folder(L"otshared");
        std::vector<std::string> sources;
        const std::wstring reportA = PhotoReport(folder.Path(), L"A", 11, sources);
        const std::wstring reportB = folder.Path() + L"B.otd";
        ASSERT_FALSE(reportA.empty());
        ASSERT_TRUE(WriteFileBytes(reportB, edtest::SectionsReportXml({{L"Pasted here", {}}}, true)));
        ClearClipboard();

        std::map<std::wstring, uint64_t> before = edtest::StoreListing();
        CProgramRun a;
        ASSERT_TRUE(a.Start(L"\"" + reportA + L"\""));
        ASSERT_TRUE(edtest::WaitFor([&] { return TreeCount(a) == 2; }));
        const std::wstring storeA = NewStoreFolder(before);
        ASSERT_FALSE(storeA.empty()) << "the report's pictures are in A's store";
        const std::map<std::wstring, uint64_t> filesA = edtest::StoreListing(storeA);
        EXPECT_GE(filesA.size(), size_t(kPictures));

        before = edtest::StoreListing();
        CProgramRun b;
        ASSERT_TRUE(b.Start(L"\"" + reportB + L"\""));
        ASSERT_TRUE(edtest::WaitFor([&] { return TreeCount(b) == 2; }));

        // A copies the section of photographs, B pastes it.
        PlaceSideBySide(a, b);
        ASSERT_TRUE(BringToFront(a));
        ASSERT_TRUE(ClickFirstSection(a));
        edtest::PressChord(VK_CONTROL, 'C');
        ASSERT_TRUE(edtest::WaitFor(ClipboardHoldsSection));
        if (order == 2)
            ASSERT_TRUE(a.CloseWithoutSaving());
        ASSERT_TRUE(BringToFront(b));
        ASSERT_TRUE(ClickFirstSection(b));
        edtest::PressChord(VK_CONTROL, 'V');
        ASSERT_TRUE(edtest::WaitFor([&] { return TreeCount(b) == 3; }));
        const std::wstring storeB = NewStoreFolder(before);
        ASSERT_FALSE(storeB.empty());
        EXPECT_NE(storeA, storeB);
        EXPECT_TRUE(edtest::WaitFor([&] { return edtest::StoreListing(storeB).size() >= size_t(kPictures); }))
            << "B takes copies of its own of what it pasted";

        CProgramRun& ending = pasterEnds ? b : a;
        CProgramRun& staying = pasterEnds ? a : b;
        const std::map<std::wstring, uint64_t> stayingFiles = edtest::StoreListing(pasterEnds ? storeA : storeB);
        ASSERT_TRUE(order == 2 || ending.CloseWithoutSaving());
        EXPECT_EQ(pasterEnds ? 0u : size_t(kPictures), edtest::StoreListing(pasterEnds ? storeB : storeA).size())
            << "the ended copy cleared its folder of what the clipboard does not name";
        ASSERT_TRUE(Answers(staying));
        EXPECT_EQ(stayingFiles, edtest::StoreListing(pasterEnds ? storeA : storeB))
            << "the other copy's end took none of the staying copy's files";

        // The staying copy's print preview opens at the section of
        // photographs, one to a page: each page shows another photograph in
        // colour (a lost one would be the grey placeholder), filling a good
        // part of the view.
        ASSERT_TRUE(BringToFront(staying));
        edtest::CPrintPreview preview(staying, staying.ActiveFrame());
        ASSERT_TRUE(preview.Open());
        test_support::Pixels last;
        for (int page = 0; page < kPictures; ++page) {
            if (page > 0)
                preview.Next();
            test_support::Pixels shown;
            EXPECT_TRUE(edtest::WaitFor([&] {
                shown = test_support::Capture(preview.View(), false);
                return !(shown == last) && ColouredPixels(shown) > shown.values.size() / 20;
            })) << "page " << page + 1 << " of the section shows no photograph";
            last = shown;
        }
        test_support::WriteWindowScreenshot(staying.Main(), L"program_shared_store_preview");
        ASSERT_TRUE(preview.Close());

        // The staying copy saves its report with the pictures inside, then
        // as an archive, then with the pictures beside it: each carries every
        // photograph with its bytes.
        const std::wstring saved = pasterEnds ? reportA : reportB;
        ASSERT_NO_FATAL_FAILURE(RenameShownSection(staying, L"Kept"));
        ASSERT_TRUE(SaveByKeys(staying, saved));
        EXPECT_EQ(sources, SavedPictures(saved)) << "pictures inside";
        const std::wstring archive = folder.Path() + L"Archive.otd";
        ASSERT_TRUE(SaveArchiveByKeys(staying, archive));
        EXPECT_EQ(sources, SavedPictures(archive)) << "an archive";
        // The PDF carries each photograph's own JPEG stream.
        const std::wstring pdf = folder.Path() + L"Shared.pdf";
        ASSERT_TRUE(GeneratePdfByKeys(staying, pdf));
        const std::string pdfBytes = ReadFileBytes(pdf);
        for (const std::string& photo : sources)
            EXPECT_NE(std::string::npos, pdfBytes.find(photo)) << "a photograph is missing from the PDF";
        WriteFileBytes(folder.Path() + L"Shared.expect", "images-at-least " + std::to_string(kPictures) + "\n");
        const std::wstring kept = pasterEnds ? L"shared_store_copier" : L"shared_store_paster";
        KeepForReaders("OT_PDF_CHECK_DIR", pdf, (kept + L".pdf").c_str());
        KeepForReaders("OT_PDF_CHECK_DIR", folder.Path() + L"Shared.expect", (kept + L".expect").c_str());
        ASSERT_TRUE(ChoosePicturesBeside(staying));
        ASSERT_NO_FATAL_FAILURE(RenameShownSection(staying, L"Beside"));
        ASSERT_TRUE(SaveByKeys(staying, saved));
        EXPECT_EQ(sources, SavedPictures(saved)) << "pictures beside";
        EXPECT_TRUE(staying.CloseWithoutSaving());
        // The copier kept what the clipboard names: a start takes it once the clipboard holds none.
        ClearClipboard();
        CProgramRun next;
        ASSERT_TRUE(next.Start());
        EXPECT_FALSE(Exists(edtest::ProgramStoreFolder() + storeA));
    }
}

TEST(ProgramSharedStore, WithoutItsFolderTheStoreTakesTheTemporaryOneAndWithNoFolderASaveLeavesTheFileWhole)
{
    CKWTestTempFolder folder(L"otnostore");
    std::vector<std::string> sources;
    const std::wstring report = PhotoReport(folder.Path(), L"Inside", 81, sources);
    ASSERT_FALSE(report.empty());
    // A file stands where the store's shared folder goes, the folder set aside.
    const std::wstring shared = edtest::ProgramStoreFolder().substr(0, edtest::ProgramStoreFolder().size() - 1);
    const std::wstring aside = shared + L" aside";
    ASSERT_TRUE(::MoveFileW(shared.c_str(), aside.c_str()));
    const Restore sharedBack{[&] { ::DeleteFileW(shared.c_str()); ::MoveFileW(aside.c_str(), shared.c_str()); }};
    ASSERT_TRUE(WriteFileBytes(shared, "in the way"));
    {
        // Nothing is said (the tree shows no dialog): the pictures go to the temporary folder.
        CProgramRun program;
        ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
        ASSERT_TRUE(edtest::WaitFor([&] { return TreeCount(program) == 2; }));
        ASSERT_NO_FATAL_FAILURE(RenameShownSection(program, L"Saved"));
        ASSERT_TRUE(SaveByKeys(program, report));
        EXPECT_EQ(sources, SavedPictures(report)) << "the report saved over its own file keeps every picture";
        EXPECT_TRUE(program.CloseWithoutSaving());
    }
    // The temporary folder of the programs started names a file too.
    const std::string saved = ReadFileBytes(report);
    const std::wstring temporary = _wgetenv(L"TEMP");
    const Restore temporaryBack{[&] { ::SetEnvironmentVariableW(L"TEMP", temporary.c_str()); }};
    ASSERT_TRUE(::SetEnvironmentVariableW(L"TEMP", report.c_str()));
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
    // One message at start, first; the lists of the pictures not kept follow.
    const std::wstring said = AnswerUntilShown(program);
    EXPECT_EQ(0u, said.find(L"No folder for pictures can be made"));
    EXPECT_NE(std::wstring::npos, said.find(L"could not be kept in")) << "the load says why, picture by picture";
    EXPECT_EQ(std::wstring::npos, said.find(L"holds no picture data"));
    ASSERT_TRUE(edtest::WaitFor([&] { return TreeCount(program) == 2; }));
    ASSERT_NO_FATAL_FAILURE(RenameShownSection(program, L"Lost"));
    ASSERT_TRUE(BringToFront(program));
    edtest::PressChord(VK_CONTROL, 'S');
    HWND failure = program.WaitForDialogSaying(L"Cannot save the document!");
    ASSERT_NE(nullptr, failure);
    test_support::WriteWindowScreenshot(failure, L"program_shared_store_no_folder_save");
    EXPECT_EQ(L"Cannot save the document!", CProgramRun::DialogText(failure)) << "the save's own message only";
    ::PostMessageW(failure, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(saved, ReadFileBytes(report)) << "the file stays byte for byte";
    // A report generated names the placeholders it puts in for them.
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));
    ASSERT_TRUE(FileCommandByKeys(program, {'D'}, folder.Path() + L"Lost.pdf"));
    HWND placeholders = program.WaitForDialogSaying(L"could not be kept in");
    ASSERT_NE(nullptr, placeholders);
    test_support::WriteWindowScreenshot(placeholders, L"program_shared_store_no_folder_placeholders");
    EXPECT_NE(std::wstring::npos, CProgramRun::DialogText(placeholders).find(L"The picture " + report + L" (section"));
    ::PostMessageW(placeholders, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(program.CloseWithoutSaving());

    // A new report from the start-up wizard, naming shipped templates each
    // read from its own file, saves with their previews taken from there:
    // with no folder for the store, and with its folder on a full disk (the
    // temporary folder's).
    edtest::KeepOnlyShippedTemplates();
    edtest::SetStartPrefs(0, L"", false);
    CSmallVolume volume;
    ASSERT_TRUE(volume.Ready());
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full ? "the store on a full disk" : "no folder for the store");
        if (full) {
            ASSERT_TRUE(::SetEnvironmentVariableW(L"TEMP", volume.Path().c_str()));
            ASSERT_TRUE(volume.LeaveRoom(0));
        }
        CProgramRun fresh;
        ASSERT_TRUE(fresh.Start());
        HWND wizard = nullptr;
        while (edtest::WaitFor([&] { return (wizard = fresh.FindDialog()) != nullptr; }) &&
               !CProgramRun::FindById(wizard, kWizardPicture)) {
            ::PostMessageW(wizard, WM_COMMAND, IDOK, 0);  // the store's and the templates' warnings
            ASSERT_TRUE(edtest::WaitFor([&] { return !CProgramRun::IsShown(wizard); }));
        }
        ::SetForegroundWindow(wizard);
        for (int button : {kWizardNext, kWizardNext, kWizardFinish}) {
            HWND before = edtest::CurrentPage(wizard);
            edtest::ClickWindow(::GetDlgItem(wizard, button));
            ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(wizard) || edtest::CurrentPage(wizard) != before; }));
        }
        ASSERT_TRUE(edtest::WaitFor([&] { return fresh.ReportFrames().size() == 1 && !fresh.FindDialog(); }));
        const std::wstring named = folder.Path() + (full ? L"WizardFull.otd" : L"Wizard.otd");
        ASSERT_TRUE(BringToFront(fresh));
        edtest::PressChord(VK_CONTROL, 'S');
        HWND saveAs = fresh.WaitForDialogWith(kFileNameCombo);
        ASSERT_TRUE(saveAs && edtest::AnswerFileDialogByKeys(saveAs, named)) << fresh.Shows();
        ASSERT_TRUE(edtest::WaitFor([&] { return Exists(named) && !fresh.FindDialog(); })) << fresh.Shows();
        test_support::WriteWindowScreenshot(fresh.Main(), full ? L"program_shared_store_full_disk_wizard_saved"
                                                               : L"program_shared_store_no_folder_wizard_saved");
        EXPECT_NE(std::string::npos, ReadFileBytes(named).find("Preview FileFormat='bmp'>"));
        EXPECT_TRUE(fresh.CloseWithoutSaving());
        volume.Free();
    }
    ::SetEnvironmentVariableW(L"TEMP", report.c_str());
    edtest::SetStartPrefs(3, L"", false);

    // Two hundred such pictures on a screen of 1024 x 768: the warning's list
    // is cut to what the box shows there, its OK button in sight.
    edtest::ReportSection many{L"Many", {}};
    for (uint32_t seed = 0; seed < 200; ++seed) {
        many.pictures.push_back(folder.Path() + L"many" + std::to_wstring(seed) + L".jpg");
        WriteFileBytes(many.pictures.back(), testpictures::EncodeJpeg(testpictures::PhotoPixels(16, 12, seed), 16, 12));
    }
    ASSERT_TRUE(WriteFileBytes(folder.Path() + L"Many.otd", edtest::SectionsReportXml({many}, true)));
    edtest::CSizedDesktop small(L"OT1024x768", L"1024x768");
    CProgramRun shown;
    shown.UseDesktop(small.Name());
    ASSERT_TRUE(shown.Start(L"\"" + folder.Path() + L"Many.otd\""));
    AnswerUntilShown(shown);
    shown.PostCommand(kGeneratePdf);
    HWND dialog = shown.WaitForDialogWith(kFileNameCombo);
    ASSERT_NE(nullptr, dialog);
    CProgramRun::AnswerFileDialog(dialog, folder.Path() + L"Many.pdf");
    HWND warning = shown.WaitForDialogSaying(L" more.");
    ASSERT_NE(nullptr, warning) << "a last line says how many pictures are left out";
    HWND screen = ::GetAncestor(warning, GA_PARENT);
    test_support::WriteWindowScreenshot(screen, L"program_shared_store_1024x768_placeholders");
    RECT shows = {}, box = {}, ok = {}, inside = {};
    ::GetWindowRect(screen, &shows);
    EXPECT_EQ(1024 * 768, shows.right * shows.bottom);
    ::GetWindowRect(warning, &box);
    ::GetWindowRect(::GetDlgItem(warning, IDOK), &ok);
    EXPECT_TRUE(::IntersectRect(&inside, &box, &shows) && ::EqualRect(&inside, &box)) << "the box on the screen";
    EXPECT_TRUE(::IntersectRect(&inside, &ok, &shows) && ::EqualRect(&inside, &ok)) << "its OK button";
    ::PostMessageW(warning, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(shown.CloseWithoutSaving());
}

TEST(ProgramSharedStore, AKilledCopysFilesGoAtTheNextStartWhileARunningCopyKeepsItsOwn)
{
    CKWTestTempFolder folder(L"otkilled");
    const edtest::ReportSection photos = Photographs(folder.Path(), L"kept", 31);
    const std::wstring report = folder.Path() + L"Kept.otd";
    ASSERT_TRUE(WriteFileBytes(report, edtest::SectionsReportXml({photos}, true)));
    edtest::SetStartPrefs(3, L"", false);

    // Two copies with the report open; one of them is killed.
    std::map<std::wstring, uint64_t> before = edtest::StoreListing();
    CProgramRun running;
    ASSERT_TRUE(running.Start(L"\"" + report + L"\""));
    ASSERT_TRUE(edtest::WaitFor([&] { return TreeCount(running) == 2; }));
    const std::wstring runningStore = NewStoreFolder(before);
    ASSERT_FALSE(runningStore.empty());
    before = edtest::StoreListing();
    CProgramRun killed;
    ASSERT_TRUE(killed.Start(L"\"" + report + L"\""));
    ASSERT_TRUE(edtest::WaitFor([&] { return TreeCount(killed) == 2; }));
    const std::wstring killedStore = NewStoreFolder(before);
    ASSERT_FALSE(killedStore.empty());
    ASSERT_TRUE(Answers(running));
    const std::map<std::wstring, uint64_t> runningFiles = edtest::StoreListing(runningStore);
    ASSERT_GE(runningFiles.size(), size_t(kPictures));
    ASSERT_GE(edtest::StoreListing(killedStore).size(), size_t(kPictures));
    ASSERT_TRUE(::TerminateProcess(killed.Process(), 3));
    ASSERT_TRUE(killed.WaitForExit(60000));
    EXPECT_GE(edtest::StoreListing(killedStore).size(), size_t(kPictures)) << "a killed copy clears nothing";

    // The next start clears the killed copy's folder and none of the running one's.
    CProgramRun next;
    ASSERT_TRUE(next.Start());
    EXPECT_TRUE(edtest::StoreListing(killedStore).empty());
    EXPECT_FALSE(Exists(edtest::ProgramStoreFolder() + killedStore));
    EXPECT_EQ(runningFiles, edtest::StoreListing(runningStore));
    EXPECT_TRUE(next.CloseWithoutSaving());
    ASSERT_TRUE(Answers(running));
    EXPECT_EQ(runningFiles, edtest::StoreListing(runningStore));
    EXPECT_TRUE(running.CloseWithoutSaving());
}

TEST(ProgramSharedStore, AReportSavedAsAnArchiveGoesOnWithItsOwnPicturesWhenTheArchiveIsMovedAway)
{
    CKWTestTempFolder folder(L"otarchive");
    std::vector<std::string> sources;
    const std::wstring report = PhotoReport(folder.Path(), L"Own", 51, sources);
    ASSERT_FALSE(report.empty());

    const std::map<std::wstring, uint64_t> before = edtest::StoreListing();
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
    ASSERT_TRUE(edtest::WaitFor([&] { return TreeCount(program) == 2; }));
    const std::wstring store = NewStoreFolder(before);
    ASSERT_FALSE(store.empty());
    const std::map<std::wstring, uint64_t> storeFiles = edtest::StoreListing(store);

    const std::wstring archiveFolder = folder.Path() + L"archive\\";
    ASSERT_TRUE(::CreateDirectoryW(archiveFolder.c_str(), nullptr));
    const std::wstring archive = archiveFolder + L"Own archive.otd";
    ASSERT_TRUE(SaveArchiveByKeys(program, archive));
    EXPECT_EQ(sources, SavedPictures(archive));
    EXPECT_EQ(storeFiles, edtest::StoreListing(store)) << "the report keeps its pictures in the store";

    // The archive's folder goes elsewhere; the report is edited (a section
    // renamed by keys) and saved.
    const std::wstring moved = folder.Path() + L"moved away";
    ASSERT_TRUE(::MoveFileW(archiveFolder.substr(0, archiveFolder.size() - 1).c_str(), moved.c_str()));
    ASSERT_NO_FATAL_FAILURE(RenameShownSection(program, L"Renamed"));
    ASSERT_TRUE(SaveByKeys(program, report));
    EXPECT_EQ(sources, SavedPictures(report)) << "every picture of the report's own file is whole";
    EXPECT_NE(ReadFileBytes(report).find("Renamed"), std::string::npos);
    EXPECT_EQ(storeFiles.size(), edtest::StoreListing(store).size());
    EXPECT_TRUE(program.CloseWithoutSaving());
}
