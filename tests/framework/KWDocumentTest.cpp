// The framework's document bases: numbers, captions, the modified-flag hook,
// reading and writing through the binary archive, the first view, the save
// prompt's proposal, and the print interface's defaults.
#include "framework/KWArchive.h"
#include "appwindows/KWDocument.h"
#include "appwindows/KWPrintIFace.h"
#include "appwindows/KWView.h"
#include "platform/classlib/DocTemplate.h"
#include "tests/platform/classlib/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::wstring TempFile(const wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"kwdoc" + std::to_wstring(::GetCurrentProcessId()) + L"_" + name;
}

// Counts the interfaces alive in the process.
class CCountingPrintIFace : public CKWPrintIFace {
public:
    CCountingPrintIFace() { ++s_live; }
    ~CCountingPrintIFace() override { --s_live; }
    static int s_live;
};
int CCountingPrintIFace::s_live = 0;

// A document with one text and one number in its file, and a log of its hooks.
class CTestKWDocument : public CKWDocument {
public:
    CTestKWDocument() { m_bAutoDelete = FALSE; }

    void Serialize(CKWArchive& ar) override
    {
        log.push_back(L"serialize");
        if (throwOnStore && ar.IsStoring())
            throw std::runtime_error("refused");
        if (ar.IsStoring()) {
            ar.WriteString(text);
            ar.WriteI32(number);
        } else {
            ar.ReadString(text);
            number = ar.ReadI32();
        }
    }
    bool InitDocument() override
    {
        log.push_back(L"init");
        return initResult && CKWDocument::InitDocument();
    }
    void CreatePrintIFace() override
    {
        log.push_back(L"print interface");
        DeletePrintIFace();
        m_printIFace = new CCountingPrintIFace;
    }
    void OnModifiedChanged(bool modified, CView* view) override
    {
        changes.push_back({modified, view});
    }
    bool PromptSaveFileName(CString& name) override
    {
        proposals.push_back(std::wstring(name));
        if (answer.empty())
            return false;
        name = answer.c_str();
        return true;
    }
    void AttachTo(CDocTemplate& docTemplate) { docTemplate.AddDocument(this); }

    CString text;
    int32_t number = 0;
    bool initResult = true;
    bool throwOnStore = false;
    std::wstring answer;
    std::vector<std::wstring> log;
    std::vector<std::wstring> proposals;
    std::vector<std::pair<bool, CView*>> changes;
};

class CTestKWView : public CKWView {
public:
    void OnDraw(CDC*) override {}
    void InitializeView(CKWDocument* document) override { boundTo.push_back(document); }
    std::vector<CKWDocument*> boundTo;
};

class CPlainView : public CView {
public:
    void OnDraw(CDC*) override {}
};

class CTestTemplate : public CMultiDocTemplate {
public:
    explicit CTestTemplate(const wchar_t* docStrings) : CMultiDocTemplate(0, nullptr, nullptr, nullptr)
    {
        m_strDocStrings = docStrings;
    }
};

}  // namespace

TEST(CKWDocument, DocumentsAreNumberedForLifeAcrossTheProcess)
{
    auto* first = new CTestKWDocument;
    const uint32_t start = first->GetDocumentNumber();
    CTestKWDocument second;
    delete first;
    CTestKWDocument third;
    EXPECT_EQ(start + 1, second.GetDocumentNumber());
    EXPECT_EQ(start + 2, third.GetDocumentNumber()) << "closing a document does not free its number";
}

TEST(CKWDocument, TheFrameCaptionIsTheTitleBeforeItsLastDot)
{
    const struct {
        const wchar_t* title;
        const wchar_t* caption;
    } cases[] = {
        {L"Report", L"Report"}, {L"a.b.c", L"a.b"}, {L"Report.otd", L"Report"}, {L".otd", L""}, {L"", L""},
    };
    CTestKWDocument document;
    for (const auto& c : cases) {
        document.SetTitle(c.title);
        EXPECT_STREQ(c.caption, document.GetFrameTitle(nullptr)) << c.title;
    }
}

TEST(CKWDocument, OnlyAChangeOfTheModifiedFlagReachesEveryViewInOrder)
{
    auto* document = new CTestKWDocument;
    auto* first = new CTestKWView;
    auto* second = new CTestKWView;
    document->AddView(first);
    document->AddView(second);

    document->SetModifiedFlag(TRUE);
    document->SetModifiedFlag(TRUE);
    document->SetModifiedFlag(FALSE);
    document->SetModifiedFlag(FALSE);
    const std::vector<std::pair<bool, CView*>> expected = {
        {true, first}, {true, second}, {false, first}, {false, second}};
    EXPECT_EQ(expected, document->changes);
    EXPECT_FALSE(document->IsModified());

    delete document;
    delete first;
    delete second;
}

TEST(CKWDocument, SavedAndOpenedThroughTheBinaryArchive)
{
    const std::wstring path = TempFile(L"roundtrip.kwd");
    CTestKWDocument saved;
    saved.text = L"Hello archive";
    saved.number = -17;
    saved.SetModifiedFlag(TRUE);
    ASSERT_TRUE(saved.OnSaveDocument(path.c_str()));
    EXPECT_FALSE(saved.IsModified());
    EXPECT_EQ(std::vector<std::wstring>{L"serialize"}, saved.log) << "a save does not count as a load";

    CTestKWDocument opened;
    auto* view = new CTestKWView;
    opened.AddView(view);
    opened.SetModifiedFlag(TRUE);
    ASSERT_TRUE(opened.OnOpenDocument(path.c_str()));
    EXPECT_STREQ(L"Hello archive", opened.text);
    EXPECT_EQ(-17, opened.number);
    EXPECT_FALSE(opened.IsModified());
    EXPECT_EQ((std::vector<std::wstring>{L"serialize", L"print interface"}), opened.log);
    EXPECT_EQ(std::vector<CKWDocument*>{&opened}, view->boundTo) << "the loaded document binds its first view";
    EXPECT_NE(nullptr, opened.GetPrintIFace());
    opened.RemoveView(view);
    delete view;
    ::DeleteFileW(path.c_str());
}

TEST(CKWDocument, AFailedOpenOrSaveIsReportedInAMessageBox)
{
    CTestKWDocument document;
    EXPECT_TRUE(classlib_test::AnsweringMessageBoxes([&] {
                    EXPECT_FALSE(document.OnOpenDocument(nullptr));
                    EXPECT_FALSE(document.OnOpenDocument(L""));
                    EXPECT_FALSE(document.OnSaveDocument(L""));
                }).empty())
        << "an empty path touches no file and reports nothing";
    EXPECT_TRUE(document.log.empty());

    // A string whose byte count runs past the end of the file.
    const std::wstring truncated = TempFile(L"truncated.kwd");
    FILE* file = _wfopen(truncated.c_str(), L"wb");
    ASSERT_NE(nullptr, file);
    const unsigned char bytes[] = {0x40, 0, 0, 0, 'a', 0};
    fwrite(bytes, 1, sizeof bytes, file);
    fclose(file);
    const std::wstring missing = TempFile(L"missing.kwd");
    const std::wstring noFolder = TempFile(L"no such folder\\x.kwd");
    const std::wstring refused = TempFile(L"refused.kwd");

    const struct {
        bool save;
        const std::wstring& path;
        bool throwOnStore;
        const wchar_t* text;
        const wchar_t* log;
    } cases[] = {
        {false, missing, false, L"Can't open file %s!", L""},
        {false, truncated, false, L"Can't open file %s!", L"serialize"},
        {true, noFolder, false, L"Can't save file %s!", L""},
        {true, refused, true, L"Can't save file %s!", L"serialize"},
    };
    for (const auto& c : cases) {
        document.log.clear();
        document.throwOnStore = c.throwOnStore;
        document.SetModifiedFlag(TRUE);
        CString expected = c.text;
        expected.Replace(L"%s", c.path.c_str());
        const std::vector<std::wstring> boxes = classlib_test::AnsweringMessageBoxes([&] {
            EXPECT_FALSE(c.save ? document.OnSaveDocument(c.path.c_str()) : document.OnOpenDocument(c.path.c_str()));
        });
        EXPECT_EQ(std::vector<std::wstring>{expected.GetString()}, boxes) << c.path;
        EXPECT_TRUE(document.IsModified()) << "a failure leaves the flag: " << c.path;
        EXPECT_EQ(*c.log ? std::vector<std::wstring>{c.log} : std::vector<std::wstring>{}, document.log) << c.path;
        EXPECT_EQ(nullptr, document.GetPrintIFace()) << "not treated as loaded";
    }
    ::DeleteFileW(truncated.c_str());
    ::DeleteFileW(refused.c_str());
}

TEST(CKWDocument, ANewDocumentInitialisesAndBindsItsFirstFrameworkView)
{
    CTestKWDocument document;
    auto* plain = new CPlainView;
    auto* framework = new CTestKWView;
    document.AddView(plain);
    document.AddView(framework);
    EXPECT_TRUE(document.OnNewDocument());
    EXPECT_EQ((std::vector<std::wstring>{L"init", L"print interface"}), document.log);
    EXPECT_TRUE(framework->boundTo.empty()) << "only the first view is bound, and it is no framework view";
    EXPECT_EQ(nullptr, document.InitializeFirstView());

    document.RemoveView(plain);
    EXPECT_EQ(framework, document.InitializeFirstView());
    EXPECT_EQ(std::vector<CKWDocument*>{&document}, framework->boundTo);

    document.log.clear();
    document.initResult = false;
    framework->boundTo.clear();
    EXPECT_FALSE(document.OnNewDocument());
    EXPECT_TRUE(framework->boundTo.empty()) << "a failed start binds no view";

    document.RemoveView(framework);
    delete plain;
    delete framework;
}

TEST(CKWDocument, ThePrintInterfaceLivesWithTheDocument)
{
    CKWPrintIFace defaults;
    EXPECT_EQ(1, defaults.GetPreviewStartPage()) << "the base prints from page one";
    EXPECT_TRUE(defaults.PreparePage(nullptr, nullptr));
    const int before = CCountingPrintIFace::s_live;
    {
        CTestKWDocument document;
        document.CreatePrintIFace();
        document.CreatePrintIFace();
        EXPECT_EQ(before + 1, CCountingPrintIFace::s_live) << "a new interface replaces the old one";
        document.DeletePrintIFace();
        EXPECT_EQ(before, CCountingPrintIFace::s_live);
        EXPECT_EQ(nullptr, document.GetPrintIFace());
        document.CreatePrintIFace();
    }
    EXPECT_EQ(before, CCountingPrintIFace::s_live) << "the document deletes its interface";
}

TEST(CKWWinDocument, SaveWithoutAPathProposesTheTitleWithTheTemplatesExtension)
{
    const struct {
        const wchar_t* title;
        const wchar_t* docStrings;
        const wchar_t* proposal;
    } cases[] = {
        {L"Report1", L"\nReport\nReport\nReports (*.otd)\n.otd\nId\nName", L"Report1.otd"},
        {L"Report1:2", L"\nReport\nReport\nReports\n.otd;.otx\nId\nName", L"Report1.otd"},
        {L"a/b", L"\nReport\nReport\nReports\n.otd\nId\nName", L"a.otd"},
        {L"c:\\x", L"\nReport\nReport\nReports\n\nId\nName", L"c"},
    };
    for (const auto& c : cases) {
        CTestTemplate docTemplate(c.docStrings);
        CTestKWDocument document;
        document.AttachTo(docTemplate);
        document.SetTitle(c.title);
        EXPECT_FALSE(document.DoSave(nullptr, TRUE)) << "cancelled";
        EXPECT_EQ(std::vector<std::wstring>{c.proposal}, document.proposals) << c.title;
        EXPECT_TRUE(document.log.empty()) << "nothing written after a cancel";
        document.proposals.clear();
        EXPECT_FALSE(document.DoSave(nullptr, FALSE));
        EXPECT_EQ(std::vector<std::wstring>{L""}, document.proposals) << "a copy proposes the (empty) path";
    }
}

TEST(CKWWinDocument, TheChosenNameIsSavedAndBecomesThePath)
{
    const std::wstring path = TempFile(L"chosen.kwd");
    CTestTemplate docTemplate(L"\nReport\nReport\nReports\n.kwd\nId\nName");
    CTestKWDocument document;
    document.AttachTo(docTemplate);
    document.SetTitle(L"Report1");
    document.text = L"chosen";
    document.answer = path;
    ASSERT_TRUE(document.DoSave(nullptr, TRUE));
    EXPECT_TRUE(::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(0, CString(path.c_str()).CompareNoCase(document.GetPathName()));

    // A document with a path is proposed its path.
    document.answer.clear();
    EXPECT_FALSE(document.DoSave(nullptr, TRUE));
    EXPECT_EQ(0, CString(document.proposals.back().c_str()).CompareNoCase(path.c_str()));
    ::DeleteFileW(path.c_str());
}
