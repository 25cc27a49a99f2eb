// Helpers of the report-file tests: a temporary folder, whole-file reads and
// writes, golden files and the well-formedness check of written XML.
#pragma once

#include <gtest/gtest.h>

#include "framework/KWProgressInterface.h"
#include "tests/framework/KWTestFiles.h"

#include <libxml/parser.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace filestest {

// A progress bar of 0..1000 that remembers where it was set and the
// messages it was given.
class CProgressProbe : public CKWProgressInterface {
public:
    void StepIt() override { ++m_pos; }
    int GetPos() override { return m_pos; }
    void SetPos(int position) override
    {
        backwards = backwards || position < m_pos;
        m_pos = position;
        ++sets;
    }
    int GetUpper() override { return 1000; }
    void SetMessage(const wchar_t* text) override { messages.push_back(text ? text : L""); }

    int sets = 0;
    bool backwards = false;
    std::vector<std::wstring> messages;

private:
    int m_pos = 0;
};

// Bytes that differ with the seed.
inline std::string RandomBytes(size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

inline std::string ToAnsi(const std::wstring& text)
{
    int n = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n : 1), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &s[0], n, nullptr, nullptr);
    s.resize(s.size() - 1);
    return s;
}

inline std::wstring ToWide(const std::string& text)
{
    int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring s(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &s[0], n);
    s.resize(s.size() - 1);
    return s;
}

// A new folder in the temporary folder, removed with its files at the end.
class TempDir : public CKWTestTempFolder {
public:
    TempDir() : CKWTestTempFolder(L"otf") {}
    std::wstring File(const wchar_t* name) const { return Path() + name; }
};

inline bool FileExists(const std::wstring& path)
{
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline std::string ReadBytes(const std::wstring& path) { return ReadFileBytes(path); }
inline void WriteBytes(const std::wstring& path, const std::string& bytes) { ASSERT_TRUE(WriteFileBytes(path, bytes)); }

// Text as the writers put it on disk: every LF as CR LF.
inline std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// The data folder of the tests, as a Windows path.
inline std::wstring DataFolder()
{
    std::wstring base = ToWide(OT_TEST_DATA_DIR);
    if (!base.empty() && base[0] == L'/')
        base = L"Z:" + base;
    for (wchar_t& c : base)
        if (c == L'/')
            c = L'\\';
    return base;
}

inline std::wstring DataPath(const wchar_t* name) { return DataFolder() + L"\\files\\" + name; }

// A page template the program ships in its folder "DATA".
inline std::wstring ShippedTemplatePath(const wchar_t* file)
{
    return DataFolder() + L"\\..\\..\\resources\\templates\\DATA\\" + file;
}

// Compares bytes with a golden file of tests/data/files; with the variable
// OT_REGENERATE_GOLDENS set, the golden file is written instead.
inline void ExpectGolden(const wchar_t* name, const std::string& bytes)
{
    std::wstring path = DataPath(name);
    if (std::getenv("OT_REGENERATE_GOLDENS")) {
        WriteBytes(path, bytes);
        return;
    }
    ASSERT_TRUE(FileExists(path)) << "missing golden file " << ToAnsi(path);
    EXPECT_EQ(ReadBytes(path), bytes) << "differs from the golden file " << ToAnsi(path);
}

// What "xmllint --noout" checks: the file is well-formed XML. With the
// variable OT_XML_CHECK_DIR set, the file is also copied there, so that the
// host's xmllint can check the same bytes.
inline bool IsWellFormedXml(const std::wstring& path, bool hugeText = false)
{
    if (const char* keep = std::getenv("OT_XML_CHECK_DIR")) {
        static int counter = 0;
        wchar_t name[32];
        std::swprintf(name, 32, L"\\file%04d.xml", ++counter);
        ::CopyFileW(path.c_str(), (ToWide(keep) + name).c_str(), FALSE);
    }
    xmlDocPtr doc = xmlReadFile(ToAnsi(path).c_str(), nullptr, XML_PARSE_NONET | (hugeText ? XML_PARSE_HUGE : 0));
    if (!doc)
        return false;
    xmlFreeDoc(doc);
    return true;
}

}  // namespace filestest
