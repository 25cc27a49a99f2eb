#pragma once
// The one application object of the editor tests: it can be told to fail
// making its main frame, notes the shell commands it carries out, and
// answers the gallery's folder chooser with a folder the test gives.
#include "editor/TalApplication.h"
#include "platform/classlib/CommandLineInfo.h"

class CTestApplication : public CTalApplication {
public:
    CFrameWnd* CreateMainFrame() override { return failFrame ? nullptr : CTalApplication::CreateMainFrame(); }
    BOOL ProcessShellCommand(CCommandLineInfo& info) override
    {
        ++shellCommands;
        return CTalApplication::ProcessShellCommand(info);
    }
    bool ChooseGalleryFolder(CString& folder) override
    {
        folder = chosenFolder;
        return !folder.IsEmpty();
    }
    bool failFrame = false;
    int shellCommands = 0;
    CString chosenFolder;
};

CTestApplication& TestApplication();
