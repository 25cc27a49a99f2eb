#include "export/ExportObjectData.h"

#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "model/TalTextFormat.h"

namespace {

const double kDefaultFontSize = 18.0;
const wchar_t kDefaultFace[] = L"Arial";

}  // namespace

void ExportObjectData::SetPlace(int32_t) {}

CKWDoubleRect ExportObjectData::GetRect() const
{
    return CKWDoubleRect(0, 0, 1, 1);
}

int32_t ExportObjectData::GetPlace() const
{
    return kPlaceCentre;
}

void ExportObjectData::GetFont(CString& name, double& size, int& style, int& alignment,
                               const CTalDocProperties*) const
{
    name.Empty();
    size = 0.0;
    style = 0;
    alignment = 0;
}

void ExportObjectData::FontFromFormat(const CTalTextFormat* format, CString& name, double& size, int& style,
                                      int& alignment, const CTalDocProperties* document)
{
    alignment = kExportAlignCentre;
    size = kDefaultFontSize;
    style = 0;
    name.Empty();
    if (format) {
        size = static_cast<double>(format->m_size);
        style = format->m_style;
        if (format->m_align == CTalTextFormat::kAlignLeft)
            alignment = kExportAlignLeft;
        else if (format->m_align == CTalTextFormat::kAlignRight)
            alignment = kExportAlignRight;
        if (document)
            name = document->GetFontTable().GetString(format->m_font).c_str();
    }
    if (name.IsEmpty())
        name = kDefaultFace;
}

void ExportCommonImageData::GetFont(CString& name, double& size, int& style, int& alignment,
                                    const CTalDocProperties* document) const
{
    FontFromFormat(m_format, name, size, style, alignment, document);
}

void ExportSimpleTextData::GetFont(CString& name, double& size, int& style, int& alignment,
                                   const CTalDocProperties* document) const
{
    FontFromFormat(m_format, name, size, style, alignment, document);
}

void ExportWatermarkTextData::GetFont(CString& name, double& size, int& style, int& alignment,
                                      const CTalDocProperties* document) const
{
    FontFromFormat(m_format, name, size, style, alignment, document);
}
