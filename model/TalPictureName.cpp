#include "model/TalPictureName.h"

#include "framework/KWFileHelpers.h"
#include "framework/KWPathUtils.h"
#include "framework/KWRasterLib.h"
#include "model/TalDocProperties.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalWatermark.h"

#include <vector>

namespace {

CString Quoted(const wchar_t* format, const CString& name)
{
    CString text;
    text.Format(format, name.GetString());
    return text;
}

// Where the picture stands in the report, first in the order of its pages.
CString PlaceOf(const CTalDocProperties& props, uint32_t id)
{
    if (static_cast<uint32_t>(static_cast<int32_t>(props.m_logoPictureId)) == id)
        return L"the title page's logo";
    std::vector<CTalSection*> pending{props.GetHeadingSection().Get()};
    while (!pending.empty()) {
        CTalSection* section = pending.back();
        pending.pop_back();
        if (!section)
            continue;
        for (const auto& picture : section->GetPictures()) {
            if (picture && static_cast<uint32_t>(picture->GetPictureId()) == id)
                return Quoted(L"section \"%ls\", ", section->GetName()) + Quoted(L"picture \"%ls\"", picture->GetTitle());
        }
        const auto& children = section->GetSubSections();
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            pending.push_back(child->Get());
    }
    for (const CTalWatermark* mark : props.GetWatermarks()) {
        if (mark && static_cast<uint32_t>(static_cast<int32_t>(mark->m_pictureId)) == id)
            return Quoted(L"watermark \"%ls\"", mark->m_name);
    }
    return CString();
}

}  // namespace

CString TalPictureName(const CTalDocProperties& props, uint32_t pictureId, const wchar_t* documentFile)
{
    // The picture's own file when it is gone (the copy beside a report, the
    // file kept for the clipboard) or lies outside any store: that file is
    // the one the warning is about.
    const CString own = g_rasterLib.GetImagePath(pictureId);
    const bool inStore = g_rasterLib.IsStoreFile(own) || g_rasterLib.IsOtherStoreFile(own);
    if (!own.IsEmpty() && (!inStore || !KWIsRegularFile(own)))
        return own;
    return TalPictureSourceName(props, pictureId, documentFile);
}

CString TalPictureSourceName(const CTalDocProperties& props, uint32_t pictureId, const wchar_t* documentFile)
{
    bool embedded = false;
    const CString source = g_rasterLib.GetPictureSource(pictureId, &embedded);
    if (!source.IsEmpty() && !embedded && !CKWRasterLib::IsStoreFileName(GetPathFileName(source, true)))
        return source;
    const CString file = !source.IsEmpty() ? source : CString(documentFile ? documentFile : L"");
    const CString place = PlaceOf(props, pictureId);
    if (place.IsEmpty())
        return file.IsEmpty() ? g_rasterLib.GetImagePath(pictureId) : file;
    return file.IsEmpty() ? place : file + L" (" + place + L")";
}
