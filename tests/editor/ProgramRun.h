#pragma once
// The real program under test: OstraTallier.exe beside the test program,
// started as a process of its own with preferences set in the registry,
// driven by WM_COMMAND and messages to its windows, its dialogs answered
// and its windows photographed.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace edtest {

// A file or folder in the test program's folder (the program's too).
std::wstring BesideTests(const wchar_t* name);

// The preferences the program reads at start (HKCU, string 934's key);
// an empty last file is stored empty. A generation asks its options first
// unless told not to ("ShowExpDlg").
void SetStartPrefs(int startUpMode, const std::wstring& lastFile, bool showExportDialog = true);

// The gallery's preferences read at start: its dock-bar side, whether it
// floats, and the folder the "Add Folder" chooser opens at.
void SetGalleryPrefs(DWORD dockSide, bool floating, const std::wstring& addFolderPath);

// A text preference the program reads at start (HKCU, string 934's key).
void SetPrefText(const wchar_t* name, const std::wstring& value);

// How long a wait for the program goes on before it counts as failed: a
// program that takes a few seconds alone can take many times that on a
// loaded machine of two cores, and a wait that holds is not made longer.
constexpr DWORD kProgramWaitMs = 60000;

// Waits (polling the other process) until the condition holds; its last value.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = kProgramWaitMs);

class CProgramRun {
public:
    CProgramRun() = default;
    // Closes the program when it still runs (and ends it when it will not close).
    ~CProgramRun();
    CProgramRun(const CProgramRun&) = delete;
    CProgramRun& operator=(const CProgramRun&) = delete;

    // Starts the program with the arguments; true when its main window shows.
    bool Start(const std::wstring& arguments = std::wstring());
    // The desktop the next start puts the program on (the test's own when none).
    void UseDesktop(const std::wstring& name) { m_desktop = name; }
    // Starts the program without waiting for a window (a shell command that
    // ends it, such as "/pt"); true when the process started.
    bool Launch(const std::wstring& arguments);
    // Closes the main window, answers No to saving the reports, and waits
    // for the process to end; true when it ended.
    bool CloseWithoutSaving();
    // True when the process ended within the time; its exit code in code.
    bool WaitForExit(DWORD timeoutMs, DWORD* code = nullptr);

    HWND Main() const { return m_main; }
    HANDLE Process() const { return m_process.hProcess; }
    // The report windows (MDI children), in z-order.
    std::vector<HWND> ReportFrames() const;
    HWND ActiveFrame() const;
    // The first descendant with the control id; null when none.
    static HWND FindById(HWND parent, int id);
    // The section panel in a report window's view, and the panel's picture
    // list; null while they are not there.
    static HWND SectionPanelOf(HWND frame);
    static HWND PictureListOf(HWND frame);
    // The picture list of the last report window that has one; null when none does.
    HWND ReportPictureList() const;
    // Sends the command to the main window and waits for its answer.
    void Command(UINT id) const;
    // Posts it, for a command that opens a modal dialog.
    void PostCommand(UINT id) const;
    // A visible dialog (or message box) of the program, with words: the one
    // whose texts hold them, among any others it shows; null when none.
    HWND FindDialog(const std::wstring& words = std::wstring()) const;
    HWND WaitForDialog(DWORD timeoutMs = kProgramWaitMs) const;
    // A visible top-level window of the program that is neither its main
    // window nor a dialog (an open popup menu); null when none.
    // With a class name, only a window of that class (a library popup menu
    // is "QMXPopupMenu").
    HWND FindPopup(const wchar_t* className = nullptr) const;
    // A visible dialog of the program that has the item; null when none comes.
    HWND WaitForDialogWith(int itemId, DWORD timeoutMs = kProgramWaitMs) const;
    // A visible dialog of the program whose texts hold the words, among any
    // others it shows (a progress window); null when none comes.
    HWND WaitForDialogSaying(const std::wstring& words, DWORD timeoutMs = kProgramWaitMs) const;
    // The texts of a dialog's static controls, joined by new lines.
    static std::wstring DialogText(HWND dialog);
    // Types the path into a file dialog's name box and presses OK.
    static void AnswerFileDialog(HWND dialog, const std::wstring& path);
    // "Add Folder To Image Gallery..." answered with OK once the chooser is
    // at the folder (the one the preferences open it at, without a final
    // backslash); true once the gallery bar shows.
    bool AddGalleryFolder(const std::wstring& folder) const;
    // The gallery bar, docked or in its floating frame; null when none.
    HWND GalleryBar() const;
    // A top-level window shown, on the test's desktop or another.
    static bool IsShown(HWND window);
    // What the program shows and where the keys go (its windows, its
    // dialog's text, the window in front, its focus, the keys held), for the
    // message of a wait that failed.
    std::wstring Shows() const;
    // What a click at the screen point meets: the window under it, its top
    // window and whose they are (the program's, this process's or another's),
    // and the pointer's place, for the message of a click that had no effect.
    std::wstring ShowsAt(POINT point) const;
    // The caption of a window.
    static std::wstring Text(HWND window);
    // The name of a window's class.
    static std::wstring ClassName(HWND window);

private:
    // Writes what the program still shows when a close did not end it; false.
    bool TellWhyNotClosed() const;

    PROCESS_INFORMATION m_process = {};
    HWND m_main = nullptr;
    std::wstring m_desktop;
};

}  // namespace edtest
