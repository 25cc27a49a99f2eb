#pragma once
// A report file for the program under test: under its heading section
// "Report", top-level sections of pictures named by their file paths (the
// report links them) or carried inside it, each titled by its file name
// without the extension. Header-only, so that the benchmarks open the same
// kind of report.
#include "files/XmlValueForms.h"
#include "tests/framework/KWTestFiles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace edtest {

struct ReportSection {
    std::wstring name;
    std::vector<std::wstring> pictures;
};

inline std::string Utf8(const std::wstring& text)
{
    std::string out(size_t(::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], int(out.size()), nullptr, nullptr);
    out.pop_back();
    return out;
}

// The start of a report file up to its tree: the properties of a new report
// (A4 portrait, a title page and contents), the grey-scale default as given.
inline std::string ReportXmlProperties(bool grayscale = false)
{
    return "<?xml version='1.0' encoding='utf-8' ?>\n"
           "<TallierDocument Version='1.0' Company='' Author='' Subject='' Desc='' Title=''>\n"
           "<PageSizeProperties Type='0' PredefSizeIdx='5' PageCustSizeX='' PageCustSizeY='' Orient='1'>\n"
           "</PageSizeProperties>\n<PrintProperties SizeX='2100' SizeY='2970' Orient='1'>\n</PrintProperties>\n"
           "<TitlePageProperties InsertLogo='0' InsertDate='1' LogoID='0' InsertWatermark='1'>\n"
           "</TitlePageProperties>\n"
           "<ExportProperties CurExType='1' InsertTPage='1' InsertContent='1' InsertNum='1' GrayScale='" +
           std::string(grayscale ? "1" : "0") + "' UseDesc='1' UseTextStyles='1'>\n</ExportProperties>\n";
}

// The report's XML text; embedded: the pictures' bytes inside it (as the
// program saves a report by default), else their paths.
inline std::string SectionsReportXml(const std::vector<ReportSection>& sections, bool embedded = false)
{
    std::string leafs, images;
    int imageCount = 0;
    int leaf = 2;
    for (const ReportSection& section : sections) {
        std::string items;
        for (const std::wstring& path : section.pictures) {
            const size_t slash = path.find_last_of(L'\\') + 1;
            const std::wstring title = path.substr(slash, path.find_last_of(L'.') - slash);
            const std::string id = std::to_string(++imageCount);
            items += "<ImageListItem ID='" + id + "' GrayScale='2' Desc='" + Utf8(title) +
                     "' Angle='0' Show='1' UseDesc='2' NewPage='0'>\n</ImageListItem>\n";
            if (embedded) {
                const std::string bytes = ReadFileBytes(path);
                images += "<Image ID='" + id + "' FileFormat='" + Utf8(path.substr(path.find_last_of(L'.') + 1)) +
                          "'>" + XmlBinaryForm(bytes.data(), int32_t(bytes.size())) + "</Image>\n";
            } else {
                images += "<Image ID='" + id + "'>" + Utf8(path) + "</Image>\n";
            }
        }
        leafs += "<Leaf ID='" + std::to_string(leaf++) + "' IDParentLeaf='1'>\n" + Utf8(section.name) +
                 "<CurLeafTemplate ID='-1'>\n</CurLeafTemplate>\n<ImageList>\n" + items + "</ImageList>\n</Leaf>\n";
    }
    return ReportXmlProperties() +
           "<Tree>\n<Leaf ID='1' IDParentLeaf='0'>\nReport<CurLeafTemplate ID='-1'>\n</CurLeafTemplate>\n</Leaf>\n"
           "<Leafs>\n" + leafs + "</Leafs>\n</Tree>\n"
           "<Images SavePicType='" + (embedded ? "0" : "1") + "' Count='" + std::to_string(imageCount) + "'>\n" +
           images +
           "</Images>\n</TallierDocument>\n";
}

}  // namespace edtest
