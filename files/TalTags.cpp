// The document table: its elements, and the handlers of the document's
// properties, fonts, text formats, watermarks and the templates it carries.
// The section tree, pictures and text notes are in TalTagsTree.cpp.
#include "files/TalTags.h"

#include "files/NewXmlArch.h"
#include "files/TalFileNames.h"
#include "files/TalXmlSerializer.h"
#include "files/XmlValueForms.h"
#include "framework/KWDoubleRect.h"
#include "model/TalBaseDocument.h"
#include "model/TalDocProperties.h"
#include "model/TalPageTemplate.h"
#include "model/TalSection.h"
#include "model/TalTemplateManager.h"
#include "model/TalTextNote.h"
#include "model/TalTitlePageTemplate.h"
#include "model/TalWatermark.h"

#include <windows.h>

#include <cwctype>

namespace {

const char kRoot[] = "TallierDocument";
const char kWatermarkItem[] = "WatermarkItem";

// Exactly that name, else one that differs only in case (file names do not).
CTalTemplate* FindTemplate(const std::vector<CTalTemplate*>& list, const CString& name)
{
    for (CTalTemplate* tmpl : list) {
        if (tmpl && tmpl->GetName() == name)
            return tmpl;
    }
    for (CTalTemplate* tmpl : list) {
        if (tmpl && tmpl->GetName().CompareNoCase(name) == 0)
            return tmpl;
    }
    return nullptr;
}

}  // namespace

CTalTags::CTalTags() = default;

CTalTags::~CTalTags()
{
    // Sections that never reached the tree hold their notes and pictures in
    // reference cycles.
    for (SectionRecord& record : m_records) {
        if (record.section && !record.linked && record.section->PeekParent() == nullptr)
            record.section->Detach();
    }
}

bool CTalTags::RegisterTags()
{
    using Self = CTalTags;
    const TagEntry<Self> entries[] = {
        {kRoot, kRootParent, &Self::OnRootStart, &Self::OnRootEnd},
        {"PageSizeProperties", kRoot, &Self::OnOnceStart, &Self::OnPageSizeEnd},
        {"PrintProperties", kRoot, &Self::OnOnceStart, &Self::OnPrintEnd},
        {"FontArray", kRoot, &Self::OnOnceStart, &Self::OnFontArrayEnd},
        {"TitlePageProperties", kRoot, &Self::OnOnceStart, &Self::OnTitlePageEnd},
        {"ExportProperties", kRoot, &Self::OnOnceStart, &Self::OnExportEnd},
        {"Watermarks", kRoot, nullptr, nullptr},
        {kTitleTemplate, kRoot, &Self::OnTitleTemplateStart, nullptr},
        {kLeafTemplate, kRoot, &Self::OnLeafTemplateStart, nullptr},
        {"Tree", kRoot, nullptr, &Self::OnTreeEnd},
        {"Images", kRoot, &Self::OnImagesStart, nullptr},
        {kWatermarkItem, "Watermarks", &Self::OnWatermarkStart, &Self::OnWatermarkEnd},
        {"WCharMapItem", kWatermarkItem, &Self::OnWCharMapItemStart, &Self::OnWCharMapItemEnd},
        {"CharMapItem", "ExportProperties", nullptr, &Self::OnCharMapItemEnd},
        {"FontName", "FontArray", nullptr, &Self::OnFontNameEnd},
        {"Leafs", "Tree", &Self::OnLeafsStart, nullptr},
        {"Leaf", "Tree", &Self::OnLeafStart, &Self::OnLeafEnd},
        {"Image", "Images", &Self::OnImageStart, &Self::OnImageEnd},
        {"Leafs", "Leaf", nullptr, nullptr},
        {"Leafs", "Leafs", nullptr, nullptr},
        {"Leaf", "Leafs", nullptr, nullptr},
        {"CurLeafTemplate", "Leaf", &Self::OnCurLeafTemplateStart, &Self::OnCurLeafTemplateEnd},
        {"ImageList", "Leaf", nullptr, nullptr},
        {"ImageListItem", "ImageList", nullptr, &Self::OnImageListItemEnd},
        {"TextNote", "Leaf", &Self::OnTextNoteStart, &Self::OnTextNoteEnd},
        {"CharacterItem", "TextNote", nullptr, &Self::OnCharacterItemEnd},
        {"ParagrafItem", "TextNote", nullptr, &Self::OnParagrafItemEnd},
    };
    const bool ok = AddTags(this, entries);
    return RegisterTemplateElements() && ok;
}

CTalXmlSerializer* CTalTags::GetSerializer() const
{
    return static_cast<CTalXmlSerializer*>(GetTarget());
}

CTalDocumentLoad* CTalTags::GetLoad() const
{
    CTalXmlSerializer* serializer = GetSerializer();
    return serializer ? &serializer->GetLoad() : nullptr;
}

int32_t CTalTags::GetStorageMode() const
{
    CTalDocumentLoad* load = GetLoad();
    return load ? load->storageMode : -1;
}

void CTalTags::OnOnceStart(const CString& name)
{
    // The properties are read once; a second element would silently change
    // what the first said.
    if (!m_onceMet.insert(name.GetString()).second)
        SkipRepeated(name);
}

void CTalTags::OnRootStart(const CString&)
{
    CTalXmlSerializer* serializer = GetSerializer();
    CTalBaseDocument* document = serializer ? serializer->GetDocument() : nullptr;
    m_props = document ? &document->GetProperties() : nullptr;
    m_rootStarted = true;
}

void CTalTags::OnRootEnd(const CString& name)
{
    if (!m_props || m_rootEnded)
        return;
    m_rootEnded = true;
    if (const CNewParamCell* cell = GetParams(name)) {
        ReadText(*cell, L"Company", m_props->m_company);
        ReadText(*cell, L"Author", m_props->m_author);
        ReadText(*cell, L"Subject", m_props->m_subject);
        ReadText(*cell, L"Desc", m_props->m_description);
        ReadText(*cell, L"Title", m_props->m_title);
    }
    WarnMissingFonts();
    MoveFontIndices();
    LinkTree();
    ResolveTemplates();
    ResolvePictures();
    if (!m_props->GetTitlePageTemplate()) {
        const std::vector<CTalTemplate*>& titles = g_TemplateManager.GetTitlePageTemplates();
        if (!titles.empty())
            m_props->m_titleTemplateName = titles.front()->GetName();
    }
}

void CTalTags::FinishDocument()
{
    if (m_rootStarted && !m_rootEnded)
        OnRootEnd(CString(kRoot));
}

void CTalTags::OnPageSizeEnd(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    if (!m_props || !cell)
        return;
    int32_t value = 0;
    if (ReadInt(*cell, L"Type", value))
        m_props->SetPaperKind(value);
    if (ReadInt(*cell, L"PredefSizeIdx", value))
        m_props->SetPaperIndex(value);
    CString text;
    if (ReadText(*cell, L"PageCustSizeX", text))
        m_props->SetCustomWidthText(text);
    if (ReadText(*cell, L"PageCustSizeY", text))
        m_props->SetCustomHeightText(text);
    if (ReadInt(*cell, L"Orient", value))
        m_props->SetPortrait(value);
}

void CTalTags::OnPrintEnd(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    if (!m_props || !cell)
        return;
    // A missing dimension keeps what the document had.
    ReadInt(*cell, L"SizeX", m_props->m_printWidth);
    ReadInt(*cell, L"SizeY", m_props->m_printHeight);
    ReadInt(*cell, L"Orient", m_props->m_printOrientation);
}

void CTalTags::OnFontNameEnd(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    if (!cell)
        return;
    // A name belongs to the index read before it in the element; the writer
    // puts the index first. A later name of an index replaces an earlier one.
    int32_t pending = -1;
    bool added = false;
    for (int32_t pair = 0; pair < cell->GetPairCount(); ++pair) {
        if (cell->GetName(pair) == L"Index") {
            pending = ReadXmlInteger(cell->GetValue(pair).GetString());
        } else if (cell->GetName(pair) == L"Name" && pending != -1) {
            const uint32_t index = static_cast<uint32_t>(pending);
            CKWIndexDecoder::FindByKey(m_fontNames, index).SetKey(cell->GetValue(pair).GetString());
            m_fileFontIndices.insert(index);
            pending = -1;
            added = true;
        }
    }
    if (!added)
        Warn(L"A font without its index or name is ignored.");
}

void CTalTags::NoteFontIndex(uint32_t index, const wchar_t* what)
{
    m_namedFonts.emplace(index, what);
}

void CTalTags::WarnMissingFonts()
{
    for (const auto& named : m_namedFonts) {
        // A document without fonts of its own names the default face as 0.
        if (m_fileFontIndices.count(named.first) || (named.first == 0 && m_fileFontIndices.empty()))
            continue;
        // The index keeps what the document's table has there, or the default face.
        const std::wstring face = m_props->GetFontTable().GetEntry(named.first).GetName();
        CString message;
        message.Format(L"The font %u that %ls names is not in the file's font list; \"%ls\" is used in its place.",
                       named.first, named.second, face.c_str());
        Warn(message);
    }
    m_namedFonts.clear();
}

void CTalTags::OnFontArrayEnd(const CString&)
{
    if (!m_props)
        return;
    CKWIndexDecoder& table = m_props->GetFontTable();
    table.AddAll(m_fontNames, table.GetRemap());
    // A name that the table holds at another index (it was there before, or
    // the file names it twice) moves the runs that use it.
    for (const auto& entry : m_fontNames) {
        const uint32_t index = table.FindOrAdd(entry.second.GetName());
        if (index != entry.first)
            m_fontMoves[entry.first] = index;
    }
    m_fontNames.clear();
}

void CTalTags::MoveFontIndices()
{
    if (m_fontMoves.empty())
        return;
    auto moved = [this](uint32_t index) {
        auto found = m_fontMoves.find(index);
        return found == m_fontMoves.end() ? index : found->second;
    };
    for (SectionRecord& record : m_records) {
        if (!record.section)
            continue;
        CTalTextNote* note = record.section->GetTextNote();
        for (int i = 0; note && i < note->GetRunCount(); ++i) {
            if (CKWCharFormat* run = note->GetRunPtr(i))
                run->m_fontIndex = moved(run->m_fontIndex);
        }
    }
    for (int32_t id : m_textFormatIds) {
        if (CTalTextFormat* format = m_props->GetTextFormat(id, false))
            format->m_font = moved(format->m_font);
    }
    for (CTalWatermark* watermark : m_watermarksRead)
        watermark->m_textFormat.m_font = moved(watermark->m_textFormat.m_font);
    m_fontMoves.clear();
}

void CTalTags::OnTitlePageEnd(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    if (!m_props || !cell)
        return;
    ReadFlag(*cell, L"InsertLogo", m_props->m_insertLogo);
    ReadFlag(*cell, L"InsertDate", m_props->m_insertDate);
    ReadFlag(*cell, L"InsertWatermark", m_props->m_insertWatermarks);
    int32_t key = 0;
    if (!ReadInt(*cell, L"LogoID", key) || key == 0)
        return;
    NoteWholeLink(*cell, key);
    // The file names its pictures after the tree, in "Images".
    m_pendingReferences.push_back(
        {&m_props->m_logoPictureId, key, L"The title page's logo names no picture that the file holds; it has none."});
}

void CTalTags::OnExportEnd(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    if (!m_props || !cell)
        return;
    ReadInt(*cell, L"CurExType", m_props->m_exportType);
    ReadFlag(*cell, L"InsertTPage", m_props->m_insertTitlePage);
    ReadFlag(*cell, L"InsertContent", m_props->m_insertContents);
    ReadFlag(*cell, L"InsertNum", m_props->m_numberSections);
    ReadFlag(*cell, L"GrayScale", m_props->m_grayscale);
    ReadFlag(*cell, L"UseDesc", m_props->m_useDescription);
    ReadFlag(*cell, L"UseTextStyles", m_props->m_useTextStyles);
}

void CTalTags::ReadTextStyle(const CNewParamCell& cell, CTalTextFormat& format) const
{
    ReadNarrow(cell, L"Style", format.m_style);
    ReadNarrow(cell, L"CharSet", format.m_charSet);
    ReadNarrow(cell, L"Size", format.m_size);
    ReadNarrow(cell, L"Num", format.m_font);
    ReadNarrow(cell, L"Color", format.m_color);
    ReadNarrow(cell, L"Pos", format.m_position);
    ReadNarrow(cell, L"Count", format.m_count);
    ReadReal(cell, L"Spacing", format.m_spacing, kMaxCharacterSpacing);
    ReadNarrow(cell, L"Hyperlink", format.m_hyperlink);
    ReadNarrow(cell, L"Align", format.m_align);
}

void CTalTags::OnCharMapItemEnd(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    int32_t id = 0;
    if (!m_props || !cell)
        return;
    // Without its id the format belongs nowhere.
    if (!ReadInt(*cell, L"Type", id)) {
        Warn(L"A text format without its type is ignored.");
        return;
    }
    // A later format of an id replaces the earlier one.
    m_textFormatIds.insert(id);
    auto format = std::make_unique<CTalTextFormat>();
    ReadTextStyle(*cell, *format);
    if (cell->Find(L"Num"))
        NoteFontIndex(format->m_font, L"a text format");
    m_props->SetTextFormat(id, format.release());
}

void CTalTags::OnWatermarkStart(const CString&)
{
    m_watermarkStyleRead = false;
}

void CTalTags::OnWCharMapItemStart(const CString& name)
{
    if (m_watermarkStyleRead)
        SkipRepeated(name);
}

void CTalTags::OnWCharMapItemEnd(const CString& name)
{
    // Read now: a skipped repetition takes the element's cell away.
    const CNewParamCell* cell = GetParams(name);
    if (!cell)
        return;
    m_watermarkStyle = CTalTextFormat();
    ReadTextStyle(*cell, m_watermarkStyle);
    if (cell->Find(L"Num"))
        NoteFontIndex(m_watermarkStyle.m_font, L"a watermark's style");
    m_watermarkStyleRead = true;
    m_anyWatermarkStyle = true;
}

void CTalTags::OnWatermarkEnd(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    if (!m_props || !cell)
        return;
    auto watermark = std::make_unique<CTalWatermark>();
    ReadInt(*cell, L"Type", watermark->m_kind);
    ReadText(*cell, L"Name", watermark->m_name);
    ReadInt(*cell, L"Place", watermark->m_place);
    ReadFlag(*cell, L"SendToFront", watermark->m_sendToFront);
    switch (watermark->m_kind) {
    case CTalWatermark::kText: {
        ReadText(*cell, L"Text", watermark->m_text);
        // A style element stays until the next one: a text watermark without
        // its own takes the latest read before it, or keeps the default.
        if (m_anyWatermarkStyle)
            watermark->m_textFormat = m_watermarkStyle;
        break;
    }
    case CTalWatermark::kImage: {
        int32_t key = 0;
        ReadInt(*cell, L"PicID", key);
        NoteWholeLink(*cell, key);
        ReadFlag(*cell, L"Constrain", watermark->m_constrain);
        int32_t unit = 0;
        if (ReadInt(*cell, L"Unit", unit)) {
            if (unit == 0)
                watermark->m_unit = CTalWatermark::kUnitInch;
            else if (unit == 1)
                watermark->m_unit = CTalWatermark::kUnitMillimetre;
        }
        ReadReal(*cell, L"Width", watermark->m_width, kMaxLength);
        ReadReal(*cell, L"Height", watermark->m_height, kMaxLength);
        // The key is the file's; the picture is the one it names, or none.
        watermark->m_pictureId = 0;
        CString missing;
        missing.Format(L"The picture watermark \"%ls\" names no picture that the file holds; it is kept without one.",
                       watermark->m_name.GetString());
        if (key != 0)
            m_pendingReferences.push_back({&watermark->m_pictureId, key, missing});
        else
            Warn(missing);
        break;
    }
    case CTalWatermark::kPageNumber:
        ReadInt(*cell, L"Num1p", watermark->m_firstNumber);
        break;
    default:
        break;
    }
    m_watermarkStyleRead = false;
    m_watermarksRead.push_back(watermark.get());
    m_props->AddWatermark(watermark.release());
}

void CTalTags::OnImagesStart(const CString& name)
{
    // The first list's storage type is the one its pictures were written in.
    if (!m_onceMet.insert(name.GetString()).second) {
        SkipRepeated(name);
        return;
    }
    const CNewParamCell* cell = GetParams(name);
    int32_t mode = -1;
    if (cell)
        ReadInt(*cell, L"SavePicType", mode);
    if (CTalDocumentLoad* load = GetLoad())
        load->storageMode = mode;
    // Without a storage type of its own no picture of the list can be read.
    if (mode < 0 || mode > 2) {
        CString message;
        message.Format(L"The pictures of the document are stored in no known way (type %d) and are not read.", mode);
        Warn(message);
    }
}

void CTalTags::OnTitleTemplateStart(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    CTalDocumentLoad* load = GetLoad();
    CNewXmlArch* archive = GetArchive();
    if (!m_props || !cell || !load || !archive)
        return;
    // The document has one title template.
    if (!m_onceMet.insert(name.GetString()).second) {
        SkipRepeated(name);
        return;
    }
    BeginTemplate();
    CString fileName;
    CString title;
    ReadText(*cell, L"FileName", fileName);
    ReadText(*cell, L"Title", title);
    if (TemplateFileName(fileName, true).IsEmpty()) {
        CString message;
        message.Format(L"The template file name \"%ls\" is refused.", fileName.GetString());
        Warn(message);
        archive->SkipElement(name);
        return;
    }
    CTalTitlePageTemplate* tmpl = nullptr;
    if (CTalTemplate* known = FindTemplate(g_TemplateManager.GetTitlePageTemplates(), fileName)) {
        m_props->m_titleTemplateName = known->GetName();
        if (!known->HasUnkeptPictures()) {
            archive->SkipElement(name);
            return;
        }
        // It lacks pictures the picture store could not keep: it is read
        // again, from its file or from this copy.
        CTalTitlePageTemplate blank;
        known->TakeContent(blank);
        tmpl = static_cast<CTalTitlePageTemplate*>(known);
        tmpl->SetTitle(title);
        g_TemplateManager.TitleChanged(tmpl);
    } else {
        // Named and titled before it is added: the manager's list is sorted
        // by title, and a new report takes its first.
        tmpl = new CTalTitlePageTemplate;
        tmpl->SetName(fileName);
        tmpl->SetTitle(title);
        g_TemplateManager.AddTitlePageTemplate(tmpl);
        m_props->m_titleTemplateName = fileName;
    }
    if (IsExistingFile(GetSerializer()->GetTemplatePath(fileName, true))) {
        // The template's own file is read after the parse.
        load->titleToReload = tmpl;
        archive->SkipElement(name);
        return;
    }
    load->titleToWrite = tmpl;
    m_titleCells = tmpl;
}

void CTalTags::OnLeafTemplateStart(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    CTalDocumentLoad* load = GetLoad();
    if (!cell || !load)
        return;
    CString fileName;
    CString title;
    ReadText(*cell, L"FileName", fileName);
    ReadText(*cell, L"Title", title);
    int32_t id = -1;
    ReadInt(*cell, L"ID", id);
    BeginTemplate();
    if (TemplateFileName(fileName, false).IsEmpty()) {
        CString message;
        message.Format(L"The template file name \"%ls\" is refused.", fileName.GetString());
        Warn(message);
        if (CNewXmlArch* archive = GetArchive())
            archive->SkipElement(name);
        return;
    }
    // Only the first of a repeated ID or name is used: say so.
    for (const EmbeddedTemplate& other : m_embeddedTemplates) {
        if (other.id == id || (other.tmpl && other.tmpl->GetName().CompareNoCase(fileName) == 0)) {
            CString message;
            message.Format(L"The page template \"%ls\" with ID %d is carried more than once.", fileName.GetString(),
                           id);
            Warn(message);
            break;
        }
    }
    // Made here, so that the cells that follow are this template's even
    // when it has no preview.
    auto tmpl = std::make_unique<CTalPageTemplate>();
    tmpl->SetName(fileName);
    tmpl->SetTitle(title);
    m_embeddedTemplates.push_back({std::move(tmpl), id});
}

const XmlPrepassPicture* CTalTags::FindPrepassPicture(XmlPictureKind kind, int32_t ordinal) const
{
    CTalDocumentLoad* load = GetLoad();
    return load ? load->prepass.Find(kind, ordinal) : nullptr;
}

CTalTemplate* CTalTags::GetCellTemplate(bool title) const
{
    if (title)
        return m_titleCells;
    return m_embeddedTemplates.empty() ? nullptr : m_embeddedTemplates.back().tmpl.get();
}

bool CTalTags::GivesWayToItsFile(bool title) const
{
    // A title template's pictures are read here only when it has no file.
    const CTalTemplate* carried = title ? nullptr : GetCellTemplate(false);
    CTalXmlSerializer* serializer = GetSerializer();
    if (!carried || !serializer)
        return false;
    // As the templates are resolved at the document's end.
    const CTalTemplate* known = FindTemplate(g_TemplateManager.GetPageTemplates(), carried->GetName());
    return (known && !known->HasUnkeptPictures()) ||
           IsExistingFile(serializer->GetTemplatePath(carried->GetName(), false));
}

void CTalTags::ResolveTemplates()
{
    CTalDocumentLoad* load = GetLoad();
    CTalXmlSerializer* serializer = GetSerializer();
    if (!load || !serializer)
        return;
    for (EmbeddedTemplate& entry : m_embeddedTemplates) {
        if (!entry.tmpl || entry.id < 0)
            continue;
        const CString name = entry.tmpl->GetName();
        CTalTemplate* known = FindTemplate(g_TemplateManager.GetPageTemplates(), name);
        bool used = false;
        for (SectionRecord& record : m_records) {
            if (record.section && record.templateNumber == entry.id) {
                record.section->SetTemplateName(known ? known->GetName() : name);
                record.section->SetOwnTemplate(1);
                used = true;
            }
        }
        // One that lacks pictures the picture store could not keep is read again.
        if (!used || (known && !known->HasUnkeptPictures()))
            continue;
        if (IsExistingFile(serializer->GetTemplatePath(name, false)))
            load->templatesToReload.push_back(std::move(entry.tmpl));
        else
            load->templatesToWrite.push_back(std::move(entry.tmpl));
    }
    m_embeddedTemplates.clear();
}
