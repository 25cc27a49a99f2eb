// Shared pieces of the HTML export tests: UTF-8 text, file reading, a report
// document whose pages the test composes, and picture files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "export/TalPageExport.h"
#include "export/TalExportDocIFace.h"
#include "framework/KWCodePage.h"
#include "framework/KWRasterLib.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "platform/classlib/String.h"
#include "tests/export/ExportTestSupport.h"

namespace htmltest {

inline std::string Narrow(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

inline std::wstring Wide(const std::string& utf8)
{
    if (utf8.empty())
        return std::wstring();
    int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), int(utf8.size()), nullptr, 0);
    std::wstring out(size_t(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), int(utf8.size()), &out[0], size);
    return out;
}

inline std::string Narrow(const CString& text) { return Narrow(std::wstring(text.GetString())); }

// The names in a folder (no "." or ".."), sorted.
inline std::vector<std::wstring> ListFolder(const std::wstring& folder)
{
    return FolderNames(folder);
}

// A report document whose pages a test function composes.
class TestDocument : public CTalExportDocIFace {
public:
    using Composer = std::function<void(TestDocument&, TalPageList&)>;

    TestDocument() = default;
    ~TestDocument() override { DeletePages(m_pages); }

    CTalDocProperties& GetExportProperties() override { return m_properties; }
    bool ComposeExportPages(bool printing) override
    {
        DeletePages(m_pages);
        m_contentsFlagSeen = m_properties.m_insertContents;
        if (m_composer)
            m_composer(*this, m_pages);
        ++m_compositions;
        return !m_pages.empty();
    }
    const TalPageList& GetExportPages() const override { return m_pages; }

    void SetComposer(Composer composer) { m_composer = std::move(composer); }
    CTalDocProperties& Properties() { return m_properties; }
    // The contents flag as the last composition saw it.
    uint8_t ContentsFlagSeen() const { return m_contentsFlagSeen; }
    int Compositions() const { return m_compositions; }

private:
    CTalDocProperties m_properties;
    TalPageList m_pages;
    Composer m_composer;
    uint8_t m_contentsFlagSeen = 0xFF;
    int m_compositions = 0;
};

// A page of a kind with a name and an optional section.
inline TalPageExport* NewPage(int32_t kind, const wchar_t* name, CTalSection* section = nullptr)
{
    return new TalPageExport(kind, name, section);
}

// A solid-colour picture file written through the raster-image library in
// the format of the extension; the picture id of the store. 0 without the library.
inline uint32_t MakePicture(const std::wstring& path, uint32_t width, uint32_t height, uint8_t red, uint8_t green,
                            uint8_t blue, const char* format = "jpg")
{
    KWSaveRasterImageFn save = g_rasterLib.GetFunctions().SaveRasterImage;
    if (!save)
        return 0;
    const uint32_t stride = width * 4;
    std::vector<uint8_t> pixels(size_t(stride) * height);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = blue;
        pixels[i + 1] = green;
        pixels[i + 2] = red;
        pixels[i + 3] = 0xFF;
    }
    if (!save(WideToAnsi(path.c_str()).c_str(), width, height, stride, KW_SAVE_RASTER_MODE, 95, format,
              pixels.data()))
        return 0;
    return g_rasterLib.GetPictureId(path.c_str());
}

// The raster library must lie next to the test program (target ot_rasterlib).
inline bool HasRasterLibrary()
{
    return g_rasterLib.GetLibraryModule() != nullptr;
}

}  // namespace htmltest
