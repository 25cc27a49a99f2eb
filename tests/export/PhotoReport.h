#pragma once
// A report of photographs for the export tests: one page for each, with a
// caption, composed anew for each generation.
#include <cstdint>
#include <string>
#include <vector>

#include "export/TalExportDocIFace.h"
#include "export/TalObjExport.h"
#include "export/TalPageExport.h"
#include "framework/KWRasterLib.h"
#include "model/TalDocProperties.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/TestJpegs.h"

// Pages of photographs, one each with a caption, composed for each
// generation from the photographs and the caption of that moment.
class CPhotoReport : public CTalExportDocIFace {
public:
    explicit CPhotoReport(uint32_t photographs = 6) : m_photographs(photographs)
    {
        m_properties.SetPaperKind(CTalDocProperties::kPaperPrint);
        m_properties.m_printWidth = 2100;
        m_properties.m_printHeight = 2970;
        m_properties.SetPortrait(1);
        m_properties.m_insertContents = 0;
    }
    ~CPhotoReport() override { DeletePages(m_pages); }

    // Photographs of the seed, written as files into the folder.
    void TakePhotographs(const std::wstring& folder, uint32_t seed, const wchar_t* caption)
    {
        m_pictures.clear();
        m_caption = caption;
        for (uint32_t i = 0; i < m_photographs; ++i) {
            const std::wstring path = folder + L"photo" + std::to_wstring(seed) + L"_" + std::to_wstring(i) + L".jpg";
            WriteFileBytes(path, testpictures::EncodeJpeg(testpictures::PhotoPixels(320, 240, seed * 16 + i, 40),
                                                          320, 240));
            m_pictures.push_back(g_rasterLib.GetPictureId(path.c_str()));
        }
    }

    CTalDocProperties& GetExportProperties() override { return m_properties; }
    bool ComposeExportPages(bool) override
    {
        DeletePages(m_pages);
        m_pages.clear();
        for (uint32_t id : m_pictures) {
            TalPageExport* page = new TalPageExport(kSectionPage, L"Photographs", nullptr);
            page->AddObject(new TalObjExport(id, CKWDoubleRect(0.1, 0.1, 0.9, 0.7), 0, false));
            page->AddObject(new TalObjExport(m_caption, CKWDoubleRect(0.1, 0.8, 0.9, 0.9), nullptr));
            m_pages.push_back(page);
        }
        return !m_pages.empty();
    }
    const TalPageList& GetExportPages() const override { return m_pages; }

    const std::vector<uint32_t>& Pictures() const { return m_pictures; }
    // The page of the index shows the picture of the id instead.
    void SetPicture(size_t index, uint32_t id) { m_pictures.at(index) = id; }

private:
    uint32_t m_photographs;
    CTalDocProperties m_properties;
    TalPageList m_pages;
    std::vector<uint32_t> m_pictures;
    CString m_caption;
};

