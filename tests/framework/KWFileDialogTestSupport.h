// The format list and the scripted runs of the file-dialog tests.
#pragma once

#include "framework/QMFormatInfo.h"
#include "tests/platform/classlib/TestSupport.h"

#include <windows.h>

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

using classlib_test::AnswerMessageBox;
using classlib_test::StepScript;

}  // namespace kw_test
