#include "framework/KWFileFilter.h"

#include "framework/KWCodePage.h"
#include "framework/QMFormatInfo.h"

#include <windows.h>

namespace {

CString ExtensionText(const CQMExtensionInfo* extension)
{
    CString text;
    if (extension->GetText())
        MultiByteToString(text, extension->GetText(), -1, CP_ACP);
    return text;
}

bool HasKind(const CQMExtensionInfo* extension, bool writable)
{
    return (writable ? extension->GetSecondFlag() : extension->GetFirstFlag()) != 0;
}

bool HasExtension(const CQMFormatInfo* record, const wchar_t* extension, bool writable)
{
    for (const CQMExtensionInfo* e = record->GetExtensions(); e; e = e->GetNext()) {
        if (HasKind(e, writable) && e->GetText() && ExtensionText(e) == extension)
            return true;
    }
    return false;
}

CString Join(const std::vector<CString>& parts, const wchar_t* separator)
{
    CString text;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i)
            text += separator;
        text += parts[i];
    }
    return text;
}

CString Entry(const CQMFormatInfo* record, const std::vector<CString>& patterns)
{
    CString entry = record->GetName() ? record->GetName() : L"";
    entry += L" (";
    entry += Join(patterns, L", ");
    entry += L")|";
    entry += Join(patterns, L"; ");
    entry += L"|";
    return entry;
}

// The final "|", then every "|" becomes a NUL.
CString Terminate(CString filter)
{
    filter += L'|';
    filter.Replace(L'|', L'\0');
    return filter;
}

}  // namespace

CString KWFirstExtension(const CQMFormatInfo* record)
{
    for (const CQMExtensionInfo* e = record ? record->GetExtensions() : nullptr; e; e = e->GetNext()) {
        if (e->GetText() && *e->GetText())
            return ExtensionText(e);
    }
    return CString();
}

std::vector<CString> KWFormatPatterns(const CQMFormatInfo* record, bool writable)
{
    std::vector<CString> patterns;
    for (const CQMExtensionInfo* e = record->GetExtensions(); e; e = e->GetNext()) {
        if (HasKind(e, writable) && e->GetText())
            patterns.push_back(L"*." + ExtensionText(e));
    }
    return patterns;
}

KWExportFilter KWBuildExportFilter(const CQMFormatInfo* formats, uint32_t category, const wchar_t* defaultExt,
                                   uint32_t defaultFlags)
{
    KWExportFilter result;
    CString filter;
    for (const CQMFormatInfo* record = formats; record; record = record->GetNext()) {
        if (!(record->GetFormatId() & category))
            continue;
        std::vector<CString> patterns = KWFormatPatterns(record, true);
        if (patterns.empty())
            continue;
        filter += Entry(record, patterns);
        result.records.push_back(record);
    }
    if (defaultExt && *defaultExt) {
        for (size_t i = 0; i < result.records.size() && !result.chosen; ++i) {
            if (HasExtension(result.records[i], defaultExt, true)) {
                result.chosen = result.records[i];
                result.filterIndex = static_cast<uint32_t>(i + 1);
            }
        }
    }
    for (size_t i = 0; i < result.records.size() && !result.chosen; ++i) {
        if (result.records[i]->GetFormatId() & defaultFlags) {
            result.chosen = result.records[i];
            result.filterIndex = static_cast<uint32_t>(i + 1);
        }
    }
    if (!result.chosen && !result.records.empty())
        result.chosen = result.records.front();
    result.filter = Terminate(filter);
    return result;
}

KWImportFilter KWBuildImportFilter(const CQMFormatInfo* formats, uint32_t category, uint32_t defaultFlags,
                                   const wchar_t* defaultExt)
{
    KWImportFilter result;
    CString filter;
    std::vector<CString> collected;
    const CQMFormatInfo* allSupported = nullptr;
    uint32_t position = 0;
    for (const CQMFormatInfo* record = formats; record; record = record->GetNext()) {
        if (record->GetFormatId() == kKWFormatAllSupported) {
            allSupported = record;
            continue;
        }
        if (!(record->GetFormatId() & category))
            continue;
        std::vector<CString> patterns = KWFormatPatterns(record, false);
        if (patterns.empty())
            continue;
        filter += Entry(record, patterns);
        ++position;
        if (!result.filterIndex && ((defaultExt && *defaultExt && HasExtension(record, defaultExt, false)) ||
                                    record->GetFormatId() == defaultFlags))
            result.filterIndex = position;
        if (record->GetFormatId() != kKWFormatAllFiles)
            collected.insert(collected.end(), patterns.begin(), patterns.end());
    }
    if ((category & kKWFormatAllSupported) && !collected.empty()) {
        CString entry = allSupported && allSupported->GetName() ? allSupported->GetName() : L"All Supported Files";
        entry += L"|";
        entry += Join(collected, L";");
        entry += L"|";
        filter = entry + filter;
        if (result.filterIndex)
            ++result.filterIndex;
        else if (defaultFlags == kKWFormatAllSupported)
            result.filterIndex = 1;
    }
    result.filter = Terminate(filter);
    return result;
}

bool KWEnsureExtension(const CQMFormatInfo* record, CString& path, bool replace)
{
    if (!record)
        return false;
    const CString first = KWFirstExtension(record);
    if (first.IsEmpty())
        return false;

    // Only a dot of the file name counts: one in a folder name is no extension.
    int nameStart = 0;
    for (int i = path.GetLength() - 1; i >= 0; --i) {
        if (path[i] == L'\\' || path[i] == L'/' || path[i] == L':') {
            nameStart = i + 1;
            break;
        }
    }
    int dot = path.ReverseFind(L'.');
    if (dot < nameStart)
        dot = -1;
    if (dot >= 0) {
        CString typed = path.Mid(dot + 1);
        typed.MakeLower();
        for (const CQMExtensionInfo* e = record->GetExtensions(); e; e = e->GetNext()) {
            CString known = ExtensionText(e);
            known.MakeLower();
            if (!known.IsEmpty() && typed == known)
                return false;
        }
        if (replace) {
            path = path.Left(dot);
            dot = -1;
        }
    }
    if (dot < 0 && path.GetLength() + first.GetLength() + 1 >= 261)
        path = path.Left(path.GetLength() - first.GetLength());
    path += L'.';
    path += first;
    return true;
}
