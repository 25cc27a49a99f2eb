// Every test of this program leaves the state the program reads at start as
// it found it: the page templates in "DATA" beside the program, the report
// templates in "Templates", and the program's registry key in the prefix the
// tests share. The real program writes all three (templates carried by the
// reports it opens, preferences and window places on exit), so without this a
// test changes what the next one starts with, and a second run of the suite
// in the same build tree starts otherwise than the first. Whatever a test
// left is named in the output, then put back.
#include "ProgramRun.h"
#include "UserInput.h"
#include "tests/framework/KWTestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <iterator>
#include <map>
#include <set>
#include <string>

namespace {

constexpr wchar_t kProgramKey[] = L"Software\\Kestrel Works";
const wchar_t* const kGuardedFolders[] = {L"DATA\\", L"Templates\\"};

// A registry tree: every value by its path below the root (type and bytes),
// and every key (value name empty).
using RegistryTree = std::map<std::wstring, std::pair<DWORD, std::string>>;

void ReadTree(HKEY parent, const std::wstring& name, const std::wstring& path, RegistryTree& tree)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    tree[path + L"\\"] = {REG_NONE, std::string()};
    wchar_t valueName[16384];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 16384, type = 0, size = 0;
        if (::RegEnumValueW(key, i, valueName, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::string data(size, '\0');
        nameLength = 16384;
        if (::RegEnumValueW(key, i, valueName, &nameLength, nullptr, &type,
                            size ? reinterpret_cast<BYTE*>(&data[0]) : nullptr, &size) != ERROR_SUCCESS)
            break;
        data.resize(size);
        tree[path + L"\\" + valueName] = {type, data};
    }
    for (DWORD i = 0;; ++i) {
        wchar_t subkey[256];
        DWORD length = 256;
        if (::RegEnumKeyExW(key, i, subkey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        ReadTree(key, subkey, path + L"\\" + subkey, tree);
    }
    ::RegCloseKey(key);
}

RegistryTree ReadProgramKey()
{
    RegistryTree tree;
    ReadTree(HKEY_CURRENT_USER, kProgramKey, std::wstring(kProgramKey), tree);
    return tree;
}

void WriteProgramKey(const RegistryTree& tree)
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
    for (const auto& entry : tree) {
        const size_t slash = entry.first.find_last_of(L'\\');
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, entry.first.substr(0, slash).c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr) != ERROR_SUCCESS)
            continue;
        if (slash + 1 < entry.first.size())
            ::RegSetValueExW(key, entry.first.c_str() + slash + 1, 0, entry.second.first,
                             reinterpret_cast<const BYTE*>(entry.second.second.data()),
                             static_cast<DWORD>(entry.second.second.size()));
        ::RegCloseKey(key);
    }
}

// The files directly in a folder beside the program, by name, with their bytes.
using FolderFiles = std::map<std::wstring, std::string>;

FolderFiles ReadFolder(const std::wstring& folder)
{
    FolderFiles files;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        files[found.cFileName] = ReadFileBytes(folder + found.cFileName);
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    return files;
}

void Say(const std::string& test, const char* what, const std::wstring& name)
{
    std::printf("[ restored ] %s %s %ls\n", test.c_str(), what, name.c_str());
}

class CSharedStateGuard : public ::testing::EmptyTestEventListener {
    void OnTestProgramStart(const ::testing::UnitTest&) override
    {
        // A tree left by a run before this guard starts as the build made it,
        // and the program's registry key as a new prefix has it: none. A run
        // cut short left what its test changed there (a window placed at
        // half the screen, which later tests meet as their start).
        edtest::KeepOnlyShippedTemplates();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
    }

    void OnTestStart(const ::testing::TestInfo&) override
    {
        m_registry = ReadProgramKey();
        for (size_t i = 0; i < std::size(kGuardedFolders); ++i)
            m_folders[i] = ReadFolder(edtest::BesideTests(kGuardedFolders[i]));
    }

    void OnTestEnd(const ::testing::TestInfo& info) override
    {
        const std::string test = std::string(info.test_suite_name()) + "." + info.name();
        for (size_t i = 0; i < std::size(kGuardedFolders); ++i) {
            const std::wstring folder = edtest::BesideTests(kGuardedFolders[i]);
            const FolderFiles now = ReadFolder(folder);
            for (const auto& file : now) {
                auto before = m_folders[i].find(file.first);
                if (before == m_folders[i].end()) {
                    Say(test, "left", kGuardedFolders[i] + file.first);
                    ::DeleteFileW((folder + file.first).c_str());
                } else if (before->second != file.second) {
                    Say(test, "changed", kGuardedFolders[i] + file.first);
                    WriteFileBytes(folder + file.first, before->second);
                }
            }
            for (const auto& file : m_folders[i]) {
                if (!now.count(file.first)) {
                    Say(test, "removed", kGuardedFolders[i] + file.first);
                    WriteFileBytes(folder + file.first, file.second);
                }
            }
        }
        const RegistryTree now = ReadProgramKey();
        if (now == m_registry)
            return;
        // Named by key: window places alone are many values.
        std::set<std::wstring> keys;
        for (const auto& entry : now) {
            auto before = m_registry.find(entry.first);
            if (before == m_registry.end() || before->second != entry.second)
                keys.insert(entry.first.substr(0, entry.first.find_last_of(L'\\')));
        }
        for (const auto& entry : m_registry) {
            if (!now.count(entry.first))
                keys.insert(entry.first.substr(0, entry.first.find_last_of(L'\\')));
        }
        for (const std::wstring& key : keys)
            Say(test, "changed", L"HKCU\\" + key);
        WriteProgramKey(m_registry);
    }

    RegistryTree m_registry;
    FolderFiles m_folders[std::size(kGuardedFolders)];
};

// Registered before the tests run, so that it sees every one of them.
const bool g_guardRegistered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new CSharedStateGuard);
    return true;
}();

}  // namespace
