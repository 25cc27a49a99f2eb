// The fixture of the report-document tests: a temporary folder with a
// template folder in it, an empty template manager, and a check that the test
// left no counted model object alive.
#pragma once

#include "DocumentTestSupport.h"

#include <gtest/gtest.h>

#include <string>

class DocumentFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_TemplateManager.Clear();
        ::CreateDirectoryW(TemplateFolder().c_str(), nullptr);
        m_liveAtStart = CKWRefCounter::GetLiveCount();
    }
    void TearDown() override
    {
        g_TemplateManager.Clear();
        EXPECT_EQ(m_liveAtStart, CKWRefCounter::GetLiveCount()) << "counted model objects leaked";
    }

    std::wstring File(const wchar_t* name) const { return m_dir.File(name); }
    std::wstring TemplateFolder() const { return m_dir.Path() + L"Data\\"; }
    bool Save(CTalBaseDocument& document, const std::wstring& path,
              doctest::CRecordingSerializer* serializer = nullptr)
    {
        return doctest::SaveDocument(document, path, TemplateFolder(), serializer);
    }
    bool Load(CTalBaseDocument& document, const std::wstring& path,
              doctest::CRecordingSerializer* serializer = nullptr)
    {
        return doctest::LoadDocument(document, path, TemplateFolder(), serializer);
    }
    // Saves the document, loads it and saves what was loaded: the same bytes.
    // (A load gives every document the text formats 0 to 10.)
    void ExpectRoundTrip(CTalBaseDocument& document, const std::wstring& path)
    {
        for (int32_t id = 0; id <= 10; ++id)
            document.GetProperties().GetTextFormat(id, true);
        ASSERT_TRUE(Save(document, path));
        const std::string first = filestest::ReadBytes(path);
        CTalBaseDocument back;
        ASSERT_TRUE(Load(back, path));
        ASSERT_TRUE(Save(back, path));
        EXPECT_EQ(filestest::ReadBytes(path), first);
    }
    // Writes the text as a document file and loads it into the document.
    bool LoadText(CTalBaseDocument& document, const std::string& text,
                  doctest::CRecordingSerializer* serializer = nullptr)
    {
        const std::wstring path = File(L"crafted.otd");
        filestest::WriteBytes(path, text);
        return Load(document, path, serializer);
    }

    filestest::TempDir m_dir;

private:
    int32_t m_liveAtStart = 0;
};
