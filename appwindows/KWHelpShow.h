#pragma once
// Context help from the application's compiled help file (".chm"): the mixin
// CKWHelpShow of dialogs, sheets and pages, and the helpers that open a topic.
#include "platform/classlib/String.h"

#include <windows.h>

// A topic of the help file: a page name and the folder prefix inside the file.
struct KWHelpTopic {
    CString topic;
    CString folder;
};

class CKWHelpShow {
public:
    virtual ~CKWHelpShow() = default;
    // Shows the topic that GetHelpTopic gives; nothing when it gives none.
    virtual void ShowContextHelp();
    // False by default: a dialog that has help overrides it.
    virtual bool GetHelpTopic(KWHelpTopic& topic);
    // KWShowHelp with the record's topic and prefix and the default help file.
    virtual void ShowHelpTopic(const KWHelpTopic* topic);
};

// The registered window message "show_ContextHelp".
extern const UINT g_msgShowContextHelp;
// The help command of dialogs and sheets: the low word of that message, so
// that a command and the message reach the same help.
inline UINT KWGetHelpCommandId()
{
    return LOWORD(g_msgShowContextHelp);
}

// The default help name, string 936 ("OstraTallier Help").
CString KWGetHelpFileName();

// How a help request is carried out.
enum class KWHelpAction {
    kNone,    // no help-file name
    kViewer,  // the HTML Help viewer displays the path (file and topic)
    kShell,   // the shell opens the path (the help file itself)
};

// The path KWShowHelp opens: the application's folder, the name with ".chm",
// and for a topic the folder prefix ("::/HelpHtml/" when none) and the topic.
// fileName null means KWGetHelpFileName.
KWHelpAction KWBuildHelpPath(const wchar_t* topic, const wchar_t* folder, const wchar_t* fileName, CString& path);

// Shows a topic in the HTML Help viewer, or the whole help file through the
// shell when the topic is empty; nothing when the help-file name is empty.
void KWShowHelp(const wchar_t* topic, const wchar_t* folder = nullptr, const wchar_t* fileName = nullptr);
