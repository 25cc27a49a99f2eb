// The format list and the scripted runs of the file-dialog tests.
#pragma once

#include "framework/QMFormatInfo.h"

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace kw_test {

struct FormatEntry {
    uint32_t id;
    const wchar_t* name;
    // Each extension with its readable and writable flags.
    std::vector<std::tuple<const char*, uint8_t, uint8_t>> extensions;
};

// The chain of records in the given order; deleting the first deletes all.
inline std::unique_ptr<CQMFormatInfo> MakeFormats(const std::vector<FormatEntry>& entries)
{
    CQMFormatInfo* next = nullptr;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        CQMExtensionInfo* extensions = nullptr;
        for (auto e = entry->extensions.rbegin(); e != entry->extensions.rend(); ++e)
            extensions = new CQMExtensionInfo(0, std::get<0>(*e), 0, std::get<1>(*e), std::get<2>(*e), extensions);
        next = new CQMFormatInfo(entry->id, 1, 1, entry->name, extensions, next);
    }
    return std::unique_ptr<CQMFormatInfo>(next);
}

// The application's kinds of files, images first.
inline std::unique_ptr<CQMFormatInfo> MakeApplicationFormats()
{
    return MakeFormats({
        {1, L"All Supported Files", {}},
        {1024, L"JPEG Images", {{"jpg", 1, 1}, {"jpeg", 1, 1}}},
        {1024, L"PNG Images", {{"png", 1, 0}}},
        {2048, L"Report Documents", {{"otd", 1, 1}}},
        {16384, L"Report Templates", {{"otn", 1, 1}}},
        {32, L"HTML Files", {{"html", 0, 1}}},
        {64, L"PowerPoint Files", {{"ppt", 0, 1}}},
        {128, L"PDF Files", {{"pdf", 0, 1}}},
        {2, L"All Files", {{"*", 1, 0}}},
    });
}

// The record with the name.
inline const CQMFormatInfo* FindFormat(const CQMFormatInfo* list, const wchar_t* name)
{
    for (; list; list = list->GetNext()) {
        if (std::wstring(list->GetName()) == name)
            return list;
    }
    return nullptr;
}

struct FindBox {
    HWND exclude;
    HWND box;
};

inline BOOL CALLBACK FindBoxProc(HWND hWnd, LPARAM lParam)
{
    auto* find = reinterpret_cast<FindBox*>(lParam);
    wchar_t cls[16] = {};
    ::GetClassNameW(hWnd, cls, 16);
    if (hWnd != find->exclude && std::wstring(cls) == L"#32770" && ::IsWindowVisible(hWnd)) {
        find->box = hWnd;
        return FALSE;
    }
    return TRUE;
}

inline BOOL CALLBACK CollectStaticText(HWND hWnd, LPARAM lParam)
{
    wchar_t cls[16] = {}, text[128] = {};
    ::GetClassNameW(hWnd, cls, 16);
    ::GetWindowTextW(hWnd, text, 128);
    if (_wcsicmp(cls, L"Static") == 0 && text[0])
        reinterpret_cast<std::vector<std::wstring>*>(lParam)->push_back(text);
    return TRUE;
}

// Answers a message box of the thread (other than exclude) with OK and
// returns its texts; empty when none is up.
inline std::vector<std::wstring> AnswerMessageBox(HWND exclude)
{
    FindBox find = {exclude, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBoxProc, reinterpret_cast<LPARAM>(&find));
    std::vector<std::wstring> texts;
    if (find.box) {
        ::EnumChildWindows(find.box, CollectStaticText, reinterpret_cast<LPARAM>(&texts));
        ::PostMessageW(find.box, WM_COMMAND, IDOK, 0);
        if (texts.empty())
            texts.push_back(L"(box)");
    }
    return texts;
}

// Steps run one per timer tick of a dialog; message boxes are answered first.
class StepScript {
public:
    std::deque<std::function<void()>> steps;
    std::vector<std::wstring> messages;
    bool timedOut = false;

    void Start() { m_started = ::GetTickCount(); }
    // False when the dialog is to end (time is up).
    bool Tick(HWND dialog)
    {
        std::vector<std::wstring> texts = AnswerMessageBox(dialog);
        if (!texts.empty()) {
            messages.insert(messages.end(), texts.begin(), texts.end());
            return true;
        }
        if (::GetTickCount() - m_started > 8000) {
            timedOut = true;
            return false;
        }
        if (!steps.empty()) {
            auto step = steps.front();
            steps.pop_front();
            step();
        }
        return true;
    }

private:
    DWORD m_started = 0;
};

inline std::wstring DialogItemText(HWND dialog, int id)
{
    wchar_t text[MAX_PATH + 1] = {};
    ::GetDlgItemTextW(dialog, id, text, MAX_PATH + 1);
    return text;
}

}  // namespace kw_test
