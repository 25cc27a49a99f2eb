#include "files/TalTemplateElements.h"

#include "framework/KWDoubleRect.h"
#include "framework/KWPictureProblem.h"
#include "framework/KWRasterLib.h"
#include "model/TalTemplate.h"

namespace {

const char kTitleRectArray[] = "TitleRectArray";
const char kLeafRectArray[] = "LeafRectArray";
const char kTitleRectArrayItem[] = "TitleRectArrayItem";
const char kTitlePreview[] = "TitlePreview";
const char kLeafPreview[] = "LeafPreview";
// Cells are placed in fractions of the page; far beyond it is no layout.
constexpr double kMaxCoordinate = 1000000.0;

}  // namespace

const char CTalTemplateElements::kTitleTemplate[] = "TitleTemplate";
const char CTalTemplateElements::kLeafTemplate[] = "LeafTemplate";

bool CTalTemplateElements::RegisterTemplateElements()
{
    using Self = CTalTemplateElements;
    const TagEntry<Self> entries[] = {
        {kTitlePreview, kTitleTemplate, &Self::OnPictureStart, &Self::OnPictureEnd},
        {"TitleBgImage", kTitleTemplate, &Self::OnPictureStart, &Self::OnPictureEnd},
        {kTitleRectArray, kTitleTemplate, &Self::OnRectArrayStart, &Self::WarnStrayTextHandler},
        {kTitleRectArrayItem, kTitleRectArray, nullptr, &Self::OnRectItemEnd},
        {kLeafPreview, kLeafTemplate, &Self::OnPictureStart, &Self::OnPictureEnd},
        {"LeafBgImage", kLeafTemplate, &Self::OnPictureStart, &Self::OnPictureEnd},
        {kLeafRectArray, kLeafTemplate, &Self::OnRectArrayStart, &Self::WarnStrayTextHandler},
        {"LeafRectArrayItem", kLeafRectArray, nullptr, &Self::OnRectItemEnd},
    };
    return AddTags(this, entries);
}

void CTalTemplateElements::OnUnknownElement(const CString& name)
{
    CString message;
    message.Format(L"Unknown tag %ls is ignored.", name.GetString());
    Warn(message);
}

bool CTalTemplateElements::TakeText(const CTagItem* item, const char* text, int length)
{
    if (!m_pictureText.IsReading(item))
        return false;
    m_pictureText.Feed(text, length);
    return true;
}

bool CTalTemplateElements::BeginPicture(const CString& name, XmlPictureKind kind, XmlPrepassPicture& picture)
{
    picture = XmlPrepassPicture();
    // Read before the element is passed over, which drops its attributes.
    m_pictureFormat.Empty();
    bool formatNamed = false;
    if (const CNewParamCell* cell = GetParams(name))
        formatNamed = ReadText(*cell, L"FileFormat", m_pictureFormat);
    const CTagItem* item = FindTag(name);
    const XmlPrepassPicture* prepass = item ? FindPrepassPicture(kind, item->GetStartCount()) : nullptr;
    if (prepass && prepass->taken) {
        picture = *prepass;
        SkipHandler(name);
        return true;
    }
    m_pictureText.Begin(item, m_pictureFormat, formatNamed);
    return false;
}

bool CTalTemplateElements::EndPicture(const CString& name, XmlPrepassPicture& picture)
{
    picture = XmlPrepassPicture();
    if (!m_pictureText.IsReading(FindTag(name)))
        return false;
    picture = m_pictureText.Finish();
    if (picture.unkept)
        OnParsedPictureUnkept(picture.storeError);
    return true;
}

void CTalTemplateElements::OnPictureStart(const CString& name)
{
    const bool preview = name == CString(kTitlePreview) || name == CString(kLeafPreview);
    const uint32_t bit = preview ? 1u : 2u;
    if (m_picturesMet & bit) {
        // The template has one of each: this one's picture is not used.
        SkipRepeated(name);
        return;
    }
    m_picturesMet |= bit;
    XmlPictureKind kind = kXmlImage;
    XmlPrepassPicture picture;
    if (FindXmlPictureKind(name.GetString(), kind) && BeginPicture(name, kind, picture))
        SetTemplatePicture(name, picture);
}

void CTalTemplateElements::OnPictureEnd(const CString& name)
{
    XmlPrepassPicture picture;
    if (EndPicture(name, picture))
        SetTemplatePicture(name, picture);
}

void CTalTemplateElements::SetTemplatePicture(const CString& name, const XmlPrepassPicture& picture)
{
    const int32_t pictureId = picture.pictureId;
    const bool title = name.Left(5) == L"Title";
    const bool preview = name == CString(kTitlePreview) || name == CString(kLeafPreview);
    CTalTemplate* tmpl = GetCellTemplate(title);
    if (!tmpl)
        return;
    if (preview)
        tmpl->SetPreviewPictureId(pictureId);
    else
        tmpl->SetBackgroundPictureId(pictureId);
    CString message;
    const CTalTemplate::FilePicture* ownFile = GetOwnFile();
    if (picture.unkept && ownFile && picture.textStart >= 0 && picture.digested) {
        // Its own file holds it whole: written from there, it is not lost.
        CTalTemplate::FilePicture kept = *ownFile;
        kept.textStart = picture.textStart;
        kept.textEnd = picture.textEnd;
        kept.textDigest = picture.textDigest;
        kept.format = m_pictureFormat;
        tmpl->SetFilePicture(!preview, kept);
        message.Format(L"The %ls %ls It is not shown.", name.GetString(),
                       KWUnkeptPictureText(picture.storeError).GetString());
    } else if (picture.unkept) {
        // Kept lacking it, so that it is never written without it.
        tmpl->SetUnkeptPictures(true, picture.storeError);
        if (!GivesWayToItsFile(title))
            message.Format(L"The %ls %ls The template has none.", name.GetString(),
                           KWUnkeptPictureText(picture.storeError).GetString());
    } else if (pictureId == 0) {
        message.Format(L"The %ls holds no picture that can be read; the template has none.", name.GetString());
    } else if (g_rasterLib.GetPictureState(static_cast<uint32_t>(pictureId), true) != KWPictureState::Sound) {
        // A template's pictures are small: the whole check costs little.
        message.Format(L"The picture of %ls cannot be read; a placeholder is shown.", name.GetString());
    }
    if (!message.IsEmpty())
        Warn(message);
}

void CTalTemplateElements::OnRectArrayStart(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    int32_t kind = 0;
    if (!cell || !ReadInt(*cell, L"Type", kind) || (kind >= kFirstCellKind && kind <= kLastCellKind))
        return;
    // No template has cells of that kind: they would be lost unseen.
    CString message;
    message.Format(L"The cell kind %d is unknown; its cells are ignored.", kind);
    Warn(message);
    SkipHandler(name);
}

void CTalTemplateElements::WarnStrayTextHandler(const CString& name)
{
    WarnStrayText(name);
}

void CTalTemplateElements::OnRectItemEnd(const CString& name)
{
    const bool title = name == CString(kTitleRectArrayItem);
    const CNewParamCell* array = GetParamsA(title ? kTitleRectArray : kLeafRectArray);
    const CNewParamCell* item = GetParams(name);
    CTalTemplate* tmpl = GetCellTemplate(title);
    WarnStrayText(name);
    if (!array || !item || !tmpl)
        return;
    int32_t kind = 0;
    ReadInt(*array, L"Type", kind);
    // Missing values are 0; a garbled one reads as its first digits, or 0.
    CKWDoubleRect rect(0.0, 0.0, 0.0, 0.0);
    ReadReal(*item, L"Left", rect.left, kMaxCoordinate);
    ReadReal(*item, L"Top", rect.top, kMaxCoordinate);
    ReadReal(*item, L"Right", rect.right, kMaxCoordinate);
    ReadReal(*item, L"Bottom", rect.bottom, kMaxCoordinate);
    tmpl->AddCell(kind, rect);
}
