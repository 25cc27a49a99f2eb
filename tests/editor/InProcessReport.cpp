#include "InProcessReport.h"

#include "tests/platform/classlib/TestSupport.h"
#include "tests/support/TestJpegs.h"

#include "platform/classlib/DocManager.h"
#include "platform/classlib/DocTemplate.h"

#include <shlobj.h>

#include <cstring>

namespace edtest {

void InProcessReport::SetUp()
{
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    main = dynamic_cast<CTalMainFrame*>(app.CreateMainFrame());
    ASSERT_NE(nullptr, main);
    app.m_pMainWnd = main;
    main->ShowWindow(SW_SHOW);
    static bool s_initialized = false;
    if (!s_initialized) {
        app.InitializeApp();
        s_initialized = true;
    }
    app.OnFileNew();
    classlib_test::DrainMessages();
    const std::vector<CTalDocument*> reports = Reports();
    ASSERT_EQ(1u, reports.size());
    document = reports.front();
    report = dynamic_cast<CTalDocFrame*>(document->GetFrame());
    ASSERT_NE(nullptr, report);
    POSITION position = document->GetFirstViewPosition();
    view = dynamic_cast<CTalView*>(document->GetNextView(position));
    ASSERT_NE(nullptr, view);
}

void InProcessReport::TearDown()
{
    SetKeys(false, false);
    app.ReleasePictCollectBar();
    if (app.m_pDocManager)
        app.m_pDocManager->CloseAllDocuments(TRUE);
    if (main)
        main->DestroyWindow();
    app.m_pMainWnd = nullptr;
    classlib_test::DrainMessages();
    ::OleUninitialize();
}

void InProcessReport::PumpFor(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    classlib_test::PumpUntil([&] { return ::GetTickCount() - start >= milliseconds; }, milliseconds + 1000);
}

std::vector<CTalDocument*> InProcessReport::Reports()
{
    std::vector<CTalDocument*> reports;
    CDocManager* manager = TestApplication().m_pDocManager;
    for (POSITION templates = manager ? manager->GetFirstDocTemplatePosition() : nullptr; templates;) {
        CDocTemplate* docTemplate = manager->GetNextDocTemplate(templates);
        for (POSITION documents = docTemplate->GetFirstDocPosition(); documents;) {
            if (auto* report = dynamic_cast<CTalDocument*>(docTemplate->GetNextDoc(documents)))
                reports.push_back(report);
        }
    }
    return reports;
}

void InProcessReport::WriteJpeg(const std::wstring& path, int width, int height)
{
    const std::string pixels = testpictures::PhotoPixels(width, height, static_cast<uint32_t>(path.size()));
    WriteFileBytes(path, testpictures::EncodeJpeg(pixels, width, height));
}

bool InProcessReport::MakeLinkBack(const std::wstring& folder, const wchar_t* name, const wchar_t* target)
{
    // The file system's own link: Wine shows a Unix symbolic link to a
    // folder as a junction, and runs Unix programs.
    typedef char*(CDECL * UnixName)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* link = unixName ? unixName((folder + name).c_str()) : nullptr;
    if (!link)
        return false;
    std::wstring command = L"/bin/ln -s " + std::wstring(target) + L" ";
    for (const char* c = link; *c; ++c)
        command += static_cast<wchar_t>(*c);
    ::HeapFree(::GetProcessHeap(), 0, link);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(L"Z:\\bin\\ln", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    // Wine starts a Unix program on its own and its handle signals before the
    // program has run: the link itself is what is awaited.
    const DWORD start = ::GetTickCount();
    for (;;) {
        const DWORD attributes = ::GetFileAttributesW((folder + name).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES)
            return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if (::GetTickCount() - start > 10000)
            return false;
        ::Sleep(10);
    }
}

}  // namespace edtest
