// Report documents: root "TallierDocument" with the document's properties,
// watermarks, section tree, pictures and the page templates it uses.
#include "files/TalXmlSerializer.h"

#include "files/BoundedPictureName.h"
#include "files/TalPictureRelocation.h"
#include "framework/KWPathUtils.h"
#include "framework/KWPictureProblem.h"
#include "framework/KWRasterLib.h"
#include "framework/KWProgressInterface.h"
#include "framework/KWRefPtr.h"
#include "model/TalBaseDocument.h"
#include "model/TalDocProperties.h"
#include "model/TalPicture.h"
#include "model/TalPictureName.h"
#include "model/TalSection.h"
#include "model/TalSectionWalk.h"
#include "model/TalTemplate.h"
#include "model/TalTextFormat.h"
#include "model/TalTextNote.h"
#include "model/TalWatermark.h"

#include <set>
#include <string>
#include <vector>

namespace {

const wchar_t kSaveErrorsHeading[] = L"Some errors have occured during saving the document:";
const wchar_t kCannotOpenFile[] = L"Cannot open file %ls";
const wchar_t kNotSavedForUnread[] = L"The document is not saved: it would lose these pictures.";
// XML parsers refuse elements nested deeper than 256 levels.
const int32_t kMaxLeafsNesting = 200;

// Pictures, plus each child with its own work, in the whole subtree.
int64_t CountWork(CTalSection* root)
{
    int64_t units = 0;
    TalVisitSections(root, [&units](CTalSection* section) {
        units += section->GetPictureCount() + section->GetSubSectionCount();
        return true;
    });
    return units;
}

// The last two components: the folder's name, a backslash and the file name.
CString LastTwoComponents(const CString& path)
{
    const int last = FindLastPathSeparator(path, -1);
    if (last <= 0)
        return path;
    const int before = FindLastPathSeparator(path, last - 1);
    return path.Mid(before + 1);
}

// The format of a picture whose file is missing: its extension when that
// is a picture format, else none (no data follows for it to name).
std::string MissingPictureFormat(const CString& path)
{
    const std::string format = XmlTextForm(GetPathExtension(path));
    return IsXmlImageFormat(format.data(), format.size()) ? format : std::string();
}

// The line that names a picture whose bytes a save could not read, and why:
// the user's file, or the report it came in and its copy in the store.
CString UnreadPictureLine(const CTalDocProperties& props, const CTalPictureRelocation::Entry& entry,
                          const CString& documentFile)
{
    CString line;
    if (g_rasterLib.IsStoreFile(entry.sourcePath))
        line.Format(L"The picture %ls cannot be read from its copy %ls: %ls",
                    TalPictureSourceName(props, entry.sourceId, documentFile).GetString(),
                    entry.sourcePath.GetString(), KWReadFailureReason(entry.unreadError).GetString());
    else
        line.Format(L"The picture file %ls cannot be read: %ls", entry.sourcePath.GetString(),
                    KWReadFailureReason(entry.unreadError).GetString());
    return line;
}

// A picture of the report, or of a template it names, whose bytes the
// picture store could not keep (read while it could not, or pasted from such
// a report): written, it would go without them, and a template written so
// would stand for the whole one from then on. The system's error in error.
bool HoldsUnkeptPicture(CTalDocProperties& props, DWORD& error)
{
    auto unkept = [&error](int32_t id) { return id != 0 && g_rasterLib.GetUnkeptError(uint32_t(id), error); };
    auto lacking = [&](const CTalTemplate* tmpl) {
        if (tmpl && tmpl->HasUnkeptPictures()) {
            error = tmpl->GetUnkeptError();
            return true;
        }
        return tmpl && (unkept(tmpl->GetPreviewPictureId()) || unkept(tmpl->GetBackgroundPictureId()));
    };
    if (unkept(props.m_logoPictureId) || lacking(props.GetTitlePageTemplate()))
        return true;
    for (const CTalWatermark* mark : props.GetWatermarks()) {
        if (mark && mark->m_kind == CTalWatermark::kImage && unkept(mark->m_pictureId))
            return true;
    }
    return !TalVisitSections(props.GetHeadingSection().Get(), [&](CTalSection* section) {
        if (section->GetOwnTemplate() && lacking(section->GetPageTemplate()))
            return false;
        for (const auto& picture : section->GetPictures()) {
            if (picture && unkept(picture->GetPictureId()))
                return false;
        }
        return true;
    });
}

}  // namespace

struct CTalXmlSerializer::SaveContext {
    struct TemplateUse {
        CTalTemplate* tmpl;
        CString name;
        uint32_t id;
    };
    // A model field that learns the new id of a picture once the save succeeded.
    struct ModelRef {
        CKWPictureHold* field;
        CKWRefPtr<CTalPicture> picture;
        int32_t key;
    };

    CTalDocProperties* props = nullptr;
    CKWProgressInterface* progress = nullptr;
    CString path;  // the report's file being written
    int32_t mode = 0;
    uint32_t leafCounter = 0;
    std::vector<TemplateUse> templateUses;
    std::unique_ptr<CTalPictureRelocation> pictures;
    std::vector<ModelRef> modelRefs;
    std::set<int32_t> reportedKeys;
    std::vector<CString> errors;
    bool failed = false;
};

bool CTalXmlSerializer::SaveDocument(CTalBaseDocument* document, const wchar_t* path, CKWProgressInterface* progress)
{
    if (!document || !path || !*path)
        return false;
    CTalDocProperties& props = document->GetProperties();
    SaveContext save;
    save.props = &props;
    save.progress = progress;
    save.path = path;
    // A file read without an "Images" element leaves -1; its pictures still
    // have to go somewhere.
    save.mode = props.m_imageSaveType >= 0 && props.m_imageSaveType <= 2 ? props.m_imageSaveType : 0;
    m_failedPath.Empty();
    m_failedReason.Empty();
    m_unreadLines.clear();
    m_refusesUnread = true;
    DWORD unkeptError = document->GetUnkeptError();
    if (document->GetUnkeptPictures() > 0 || HoldsUnkeptPicture(props, unkeptError)) {
        FailUnkeptPictures(path, unkeptError);
        return false;
    }
    const bool copy = m_savesCopy;
    save.pictures = std::make_unique<CTalPictureRelocation>(
        save.mode, CTalPictureRelocation::GetPictureFolder(path), copy,
        [this](const CString& source, const CString& target) { return CopyPictureFile(source, target); });
    if (save.mode == 2)
        save.pictures->EnsureFolder();
    if (!OpenStream(path)) {
        save.pictures->Rollback();
        return false;
    }
    // A document's pictures make up most of it: their reading and coding
    // overlap the writing.
    GetStream().WriteBehind();
    m_document = document;
    CKWRefPtr<CTalSection> heading = props.GetHeadingSection();
    if (progress)
        progress->BeginStage(static_cast<int>((heading ? CountWork(heading.Get()) : 0) + 6));

    WriteHeader();
    BeginStartTag("TallierDocument");
    WriteAttribute("Version", "1.0");
    WriteTextAttribute("Company", props.m_company);
    WriteTextAttribute("Author", props.m_author);
    WriteTextAttribute("Subject", props.m_subject);
    WriteTextAttribute("Desc", props.m_description);
    WriteTextAttribute("Title", props.m_title);
    EndStartTag();
    WriteDocumentProperties(save);
    WriteWatermarks(save);
    if (heading)
        WriteTree(save, heading.Get());
    WriteImages(save);
    WriteTemplates(save);
    WriteEndTag("TallierDocument");
    if (progress)
        progress->Update();

    // A picture whose bytes could not be read would go: the file keeps it.
    std::vector<CString> unread = m_unreadLines;
    for (const CTalPictureRelocation::Entry& entry : save.pictures->GetEntries()) {
        if (entry.unreadError != 0)
            unread.push_back(UnreadPictureLine(props, entry, save.path));
    }
    if (!unread.empty())
        FailSave(path, L"It holds pictures whose files cannot be read now.");
    bool ok = !save.failed && !save.pictures->HasFailed() && unread.empty();
    if (save.pictures->HasFailed())
        FailSave(save.pictures->GetFailedPath(), save.pictures->GetFailedReason());
    if (ok)
        ok = CommitStream();
    else
        DiscardStream();
    if (!ok) {
        save.pictures->Rollback();
        if (!unread.empty()) {
            unread.push_back(kNotSavedForUnread);
            ShowErrors(kSaveErrorsHeading, unread);
        }
        return false;
    }
    save.pictures->Commit();
    // A copy leaves the document on the pictures it had.
    if (copy)
        save.modelRefs.clear();
    for (SaveContext::ModelRef& ref : save.modelRefs) {
        const int32_t id = static_cast<int32_t>(save.pictures->GetNewId(ref.key));
        if (ref.field)
            *ref.field = id;
        else if (ref.picture)
            ref.picture->SetPictureId(id);
    }
    // The file now embeds the document's pictures and its templates': a
    // later save takes one from there when the store's file can no longer be
    // read. A copy leaves the document on the pictures it had.
    for (WrittenPicture& written : m_writtenPictures) {
        if (written.key != 0)
            written.id = copy ? save.pictures->GetEntry(written.key).placedId : save.pictures->GetNewId(written.key);
    }
    RecordWrittenPictures(path);
    if (!save.errors.empty())
        ShowErrors(kSaveErrorsHeading, save.errors);
    return true;
}

void CTalXmlSerializer::Advance(SaveContext& save)
{
    if (save.progress)
        save.progress->Advance();
}

int32_t CTalXmlSerializer::PlacePicture(SaveContext& save, int32_t pictureId, CKWPictureHold* field,
                                        CTalPicture* picture)
{
    // A file changed since its check (a photograph cut short) is stored as it
    // now is: the save names it when it no longer reads whole.
    if (g_rasterLib.ForgetIfChanged(static_cast<uint32_t>(pictureId))) {
        const KWPictureState state = g_rasterLib.GetPictureState(static_cast<uint32_t>(pictureId), false);
        if (state != KWPictureState::Sound && state != KWPictureState::Missing)
            save.errors.push_back(
                KWPictureProblemLine(state, TalPictureName(*save.props, static_cast<uint32_t>(pictureId), save.path)));
    }
    const int32_t key = save.pictures->Place(static_cast<uint32_t>(pictureId));
    if (field || picture)
        save.modelRefs.push_back({field, CKWRefPtr<CTalPicture>(picture), key});
    const CTalPictureRelocation::Entry& entry = save.pictures->GetEntry(key);
    // One that cannot be read stops the save, which names it then.
    if (entry.sourcePath.IsEmpty() || entry.unreadError != 0 || !save.reportedKeys.insert(key).second)
        return key;
    if (entry.missing) {
        CString line;
        line.Format(kCannotOpenFile, entry.sourcePath.GetString());
        save.errors.push_back(line);
    } else if (entry.empty && (save.mode == 0 || g_rasterLib.TakeReport(entry.sourceId))) {
        // Embedded, an empty file is the placeholder it shows: each save that
        // puts it in the file's place says so. Kept beside the document, the
        // file is named once in a run.
        save.errors.push_back(
            KWPictureProblemLine(KWPictureState::Empty, TalPictureName(*save.props, entry.sourceId, save.path)));
    }
    return key;
}

void CTalXmlSerializer::WriteDocumentProperties(SaveContext& save)
{
    CTalDocProperties& props = *save.props;
    Advance(save);
    BeginStartTag("PageSizeProperties");
    WriteIntAttribute("Type", props.GetPaperKind());
    WriteIntAttribute("PredefSizeIdx", props.GetPaperIndex());
    // Measure strings are typed by the user: an apostrophe must not end the value.
    WriteTextAttribute("PageCustSizeX", props.GetCustomWidthText());
    WriteTextAttribute("PageCustSizeY", props.GetCustomHeightText());
    WriteIntAttribute("Orient", props.GetPortrait());
    EndStartTag();
    WriteEndTag("PageSizeProperties");

    Advance(save);
    BeginStartTag("PrintProperties");
    WriteIntAttribute("SizeX", props.m_printWidth);
    WriteIntAttribute("SizeY", props.m_printHeight);
    WriteIntAttribute("Orient", props.m_printOrientation);
    EndStartTag();
    WriteEndTag("PrintProperties");

    Advance(save);
    const CKWIndexDecoder& fonts = props.GetFontTable();
    if (!fonts.IsEmpty()) {
        BeginStartTag("FontArray");
        EndStartTag();
        for (uint32_t index = 0; index < fonts.GetCount(); ++index) {
            BeginStartTag("FontName");
            WriteIntAttribute("Index", static_cast<int32_t>(index));
            WriteTextAttribute("Name", CString(fonts.GetString(index).c_str()));
            EndStartTag();
            WriteEndTag("FontName");
        }
        WriteEndTag("FontArray");
    }

    Advance(save);
    BeginStartTag("TitlePageProperties");
    WriteIntAttribute("InsertLogo", props.m_insertLogo ? 1 : 0);
    WriteIntAttribute("InsertDate", props.m_insertDate ? 1 : 0);
    int32_t logo = 0;
    if (props.m_logoPictureId != 0)
        logo = PlacePicture(save, props.m_logoPictureId, &props.m_logoPictureId, nullptr);
    WriteIntAttribute("LogoID", logo);
    WriteWholeLink(save, logo);
    WriteIntAttribute("InsertWatermark", props.m_insertWatermarks ? 1 : 0);
    EndStartTag();
    WriteEndTag("TitlePageProperties");

    Advance(save);
    BeginStartTag("ExportProperties");
    WriteIntAttribute("CurExType", props.m_exportType);
    WriteIntAttribute("InsertTPage", props.m_insertTitlePage ? 1 : 0);
    WriteIntAttribute("InsertContent", props.m_insertContents ? 1 : 0);
    WriteIntAttribute("InsertNum", props.m_numberSections ? 1 : 0);
    WriteIntAttribute("GrayScale", props.m_grayscale ? 1 : 0);
    WriteIntAttribute("UseDesc", props.m_useDescription ? 1 : 0);
    WriteIntAttribute("UseTextStyles", props.m_useTextStyles ? 1 : 0);
    EndStartTag();
    // Every format: one after a gap in the ids is as much the document's.
    for (const auto& entry : props.GetTextFormats()) {
        if (entry.second)
            WriteTextStyle("CharMapItem", &entry.first, *entry.second);
    }
    WriteEndTag("ExportProperties");
}

void CTalXmlSerializer::WriteTextStyle(const char* name, const int32_t* type, const CTalTextFormat& format)
{
    BeginStartTag(name);
    if (type)
        WriteIntAttribute("Type", *type);
    WriteIntAttribute("Style", format.m_style);
    WriteIntAttribute("CharSet", format.m_charSet);
    WriteIntAttribute("Size", format.m_size);
    WriteIntAttribute("Num", static_cast<int32_t>(format.m_font));
    WriteIntAttribute("Color", static_cast<int32_t>(format.m_color));
    WriteIntAttribute("Pos", format.m_position);
    WriteIntAttribute("Count", static_cast<int32_t>(format.m_count));
    WriteRealAttribute("Spacing", format.m_spacing);
    WriteIntAttribute("Hyperlink", static_cast<int32_t>(format.m_hyperlink));
    WriteIntAttribute("Align", format.m_align);
    EndStartTag();
    WriteEndTag(name);
}

void CTalXmlSerializer::WriteWatermarks(SaveContext& save)
{
    Advance(save);
    const std::vector<CTalWatermark*>& watermarks = save.props->GetWatermarks();
    if (watermarks.empty())
        return;
    BeginStartTag("Watermarks");
    EndStartTag();
    for (CTalWatermark* watermark : watermarks) {
        if (!watermark)
            continue;
        BeginStartTag("WatermarkItem");
        WriteIntAttribute("Type", watermark->m_kind);
        WriteTextAttribute("Name", watermark->m_name);
        WriteIntAttribute("Place", watermark->m_place);
        WriteIntAttribute("SendToFront", watermark->m_sendToFront ? 1 : 0);
        switch (watermark->m_kind) {
        case CTalWatermark::kPageNumber:
            WriteIntAttribute("Num1p", watermark->m_firstNumber);
            EndStartTag();
            break;
        case CTalWatermark::kImage: {
            int32_t key = 0;
            if (watermark->m_pictureId != 0)
                key = PlacePicture(save, watermark->m_pictureId, &watermark->m_pictureId, nullptr);
            WriteIntAttribute("PicID", key);
            WriteWholeLink(save, key);
            WriteIntAttribute("Constrain", watermark->m_constrain ? 1 : 0);
            if (watermark->m_unit == CTalWatermark::kUnitInch)
                WriteIntAttribute("Unit", 0);
            else if (watermark->m_unit == CTalWatermark::kUnitMillimetre)
                WriteIntAttribute("Unit", 1);
            WriteRealAttribute("Width", watermark->m_width);
            WriteRealAttribute("Height", watermark->m_height);
            EndStartTag();
            break;
        }
        case CTalWatermark::kText:
            WriteTextAttribute("Text", watermark->m_text);
            EndStartTag();
            WriteTextStyle("WCharMapItem", nullptr, watermark->m_textFormat);
            break;
        default:
            EndStartTag();
            break;
        }
        WriteEndTag("WatermarkItem");
    }
    WriteEndTag("Watermarks");
}

void CTalXmlSerializer::WriteTree(SaveContext& save, CTalSection* heading)
{
    BeginStartTag("Tree");
    EndStartTag();
    save.leafCounter = 0;
    // Depth first without recursion: a deep tree must not exhaust the stack.
    struct Frame {
        CTalSection* section;
        uint32_t id;
        size_t next;
        bool wrapped;
    };
    std::vector<Frame> stack;
    std::set<CTalSection*> written;
    int32_t wrappers = 0;
    auto enter = [&](CTalSection* section, uint32_t parentId) {
        const uint32_t id = WriteLeaf(save, section, parentId);
        // The IDs carry the tree; wrappers nested past the parser's depth
        // limit would make the file unreadable.
        const bool wrapped = section->GetSubSectionCount() >= 2 && wrappers < kMaxLeafsNesting;
        if (wrapped) {
            ++wrappers;
            BeginStartTag("Leafs");
            EndStartTag();
        }
        stack.push_back({section, id, 0, wrapped});
    };
    written.insert(heading);
    enter(heading, 0);
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next < frame.section->GetSubSections().size()) {
            CTalSection* child = frame.section->GetSubSections()[frame.next++].Get();
            const uint32_t parentId = frame.id;
            // A section reached twice would be written without end.
            if (child && written.insert(child).second)
                enter(child, parentId);
            continue;
        }
        if (frame.wrapped) {
            WriteEndTag("Leafs");
            --wrappers;
        }
        stack.pop_back();
    }
    WriteEndTag("Tree");
}

uint32_t CTalXmlSerializer::WriteLeaf(SaveContext& save, CTalSection* section, uint32_t parentId)
{
    Advance(save);
    const uint32_t id = ++save.leafCounter;
    BeginStartTag("Leaf");
    WriteAttribute("ID", std::to_string(id));
    WriteIntAttribute("IDParentLeaf", static_cast<int32_t>(parentId));
    EndStartTag();
    GetStream() << XmlTextForm(section->GetName()).c_str();

    BeginStartTag("CurLeafTemplate");
    if (section->GetOwnTemplate()) {
        CTalTemplate* tmpl = section->GetPageTemplate();
        uint32_t used = id;
        for (const SaveContext::TemplateUse& use : save.templateUses) {
            if (tmpl && use.tmpl == tmpl) {
                used = use.id;
                break;
            }
        }
        save.templateUses.push_back({tmpl, section->GetTemplateName(), used});
        WriteIntAttribute("ID", static_cast<int32_t>(used));
    } else {
        WriteAttribute("ID", "-1");
    }
    EndStartTag();
    WriteEndTag("CurLeafTemplate");

    if (section->GetPictureCount() > 0) {
        BeginStartTag("ImageList");
        EndStartTag();
        for (const CKWRefPtr<CTalPicture>& picture : section->GetPictures()) {
            if (!picture)
                continue;
            const int32_t key = PlacePicture(save, picture->GetPictureId(), nullptr, picture.Get());
            BeginStartTag("ImageListItem");
            WriteIntAttribute("ID", key);
            WriteWholeLink(save, key);
            WriteIntAttribute("GrayScale", picture->GetGrayscale());
            WriteTextAttribute("Desc", picture->GetTitle());
            WriteIntAttribute("Angle", picture->GetAngle());
            WriteIntAttribute("Show", picture->GetShown() ? 1 : 0);
            WriteIntAttribute("UseDesc", picture->GetUseDescription());
            WriteIntAttribute("NewPage", picture->GetNewPage() ? 1 : 0);
            EndStartTag();
            WriteEndTag("ImageListItem");
        }
        WriteEndTag("ImageList");
    }
    WriteTextNote(section);
    WriteEndTag("Leaf");
    return id;
}

void CTalXmlSerializer::WriteWholeLink(SaveContext& save, int32_t key)
{
    // Embedded, a picture's start tag holds a long refused link by its end
    // only: each element that names the picture carries it whole.
    if (save.mode != 0 || key == 0)
        return;
    const CString& link = save.pictures->GetEntry(key).linkName;
    if (BoundedPictureName(link) != link)
        WriteTextAttribute(kTalRefusedLinkAttribute, link);
}

void CTalXmlSerializer::WriteTextNote(CTalSection* section)
{
    const CTalTextNote* note = section->GetTextNote();
    if (!note || note->GetText().IsEmpty())
        return;
    BeginStartTag("TextNote");
    EndStartTag();
    GetStream() << XmlTextForm(note->GetText()).c_str();
    for (int i = 0; i < note->GetRunCount(); ++i) {
        const CKWCharFormat& run = note->GetRun(i);
        BeginStartTag("CharacterItem");
        WriteIntAttribute("CharCount", static_cast<int32_t>(run.m_count));
        WriteIntAttribute("Style", run.m_style);
        WriteIntAttribute("CharSet", run.m_charSet);
        WriteIntAttribute("Size", run.m_size);
        WriteIntAttribute("Num", static_cast<int32_t>(run.m_fontIndex));
        WriteIntAttribute("Color", static_cast<int32_t>(run.GetColorRef()));
        WriteRealAttribute("Spacing", run.m_spacing);
        WriteIntAttribute("Pos", run.m_vertical);
        WriteIntAttribute("Flags", run.m_sizeStepUp);
        EndStartTag();
        WriteEndTag("CharacterItem");
    }
    for (int i = 0; i < note->GetParaCount(); ++i) {
        const CKWParaFormat& para = note->GetPara(i);
        BeginStartTag("ParagrafItem");
        WriteIntAttribute("CharCount", static_cast<int32_t>(para.m_count));
        WriteRealAttribute("LeftIndent", para.m_leftIndent);
        WriteRealAttribute("RightIndent", para.m_rightIndent);
        WriteRealAttribute("FirstLine", para.m_firstLine);
        WriteRealAttribute("BeforeIndent", para.m_spaceBefore);
        WriteRealAttribute("AfterIndent", para.m_spaceAfter);
        WriteRealAttribute("BetweenIndent", para.m_lineSpacing);
        WriteIntAttribute("HAlign", para.m_align);
        EndStartTag();
        WriteEndTag("ParagrafItem");
    }
    WriteEndTag("TextNote");
}

void CTalXmlSerializer::WriteImages(SaveContext& save)
{
    Advance(save);
    const std::vector<CTalPictureRelocation::Entry>& entries = save.pictures->GetEntries();
    BeginStartTag("Images");
    WriteIntAttribute("SavePicType", save.mode);
    WriteIntAttribute("Count", static_cast<int32_t>(entries.size()));
    EndStartTag();
    for (size_t i = 0; i < entries.size(); ++i) {
        Advance(save);
        const CTalPictureRelocation::Entry& entry = entries[i];
        BeginStartTag("Image");
        WriteIntAttribute("ID", static_cast<int32_t>(i + 1));
        if (save.mode == 0) {
            WriteAttribute("FileFormat", entry.missing ? MissingPictureFormat(entry.finalPath)
                                                       : PictureFormat(entry.finalPath, entry.sourcePath));
            if (!entry.emptyName.IsEmpty())
                WriteTextAttribute(kTalEmptyFileAttribute, BoundedPictureName(entry.emptyName));
            // No data follows; a link too long for the header is written whole
            // by the elements that show it.
            if (!entry.linkName.IsEmpty())
                WriteTextAttribute(kTalRefusedLinkAttribute, BoundedPictureName(entry.linkName));
            EndStartTag();
            const int32_t key = static_cast<int32_t>(i + 1);
            const int64_t start = GetStream().GetWrittenCount();
            const bool readable = !entry.missing && entry.unreadError == 0;
            const bool opened = readable && WriteFileAsBase64(entry.finalPath);
            if (opened && WasReadShort()) {
                FailSave(entry.finalPath, L"The picture file could not be read in full.");
                save.failed = true;
            } else if (opened) {
                NoteWrittenPicture("Image", start, 0, key);
            } else if (readable) {
                // Readable when it was placed, held or gone since.
                save.pictures->NoteUnread(key, GetReadError());
            }
        } else {
            // A link the load refused is written as it was read: the next
            // load refuses it and names it again. Only the end of one (all an
            // older file kept) is a name, never a file's path to look for.
            const bool nameOnly = IsBoundedPictureName(entry.linkName);
            if (nameOnly)
                WriteTextAttribute(kTalRefusedLinkAttribute, entry.linkName);
            EndStartTag();
            const CString text = nameOnly                    ? CString()
                                 : !entry.linkName.IsEmpty() ? entry.linkName
                                 : save.mode == 1            ? entry.finalPath
                                                             : LastTwoComponents(entry.finalPath);
            GetStream() << XmlTextForm(text).c_str();
        }
        WriteEndTag("Image");
    }
    WriteEndTag("Images");
}

void CTalXmlSerializer::WriteTemplates(SaveContext& save)
{
    if (CTalTemplate* title = save.props->GetTitlePageTemplate()) {
        BeginStartTag("TitleTemplate");
        WriteTextAttribute("FileName", title->GetName());
        if (!title->GetTitle().IsEmpty())
            WriteTextAttribute("Title", title->GetTitle());
        EndStartTag();
        save.failed |= !WriteTemplateContent(title, true);
        WriteEndTag("TitleTemplate");
    }
    std::set<CTalTemplate*> written;
    for (const SaveContext::TemplateUse& use : save.templateUses) {
        if (!use.tmpl || !written.insert(use.tmpl).second)
            continue;
        BeginStartTag("LeafTemplate");
        WriteIntAttribute("ID", static_cast<int32_t>(use.id));
        WriteTextAttribute("FileName", use.name);
        if (!use.tmpl->GetTitle().IsEmpty())
            WriteTextAttribute("Title", use.tmpl->GetTitle());
        EndStartTag();
        save.failed |= !WriteTemplateContent(use.tmpl, false);
        WriteEndTag("LeafTemplate");
    }
}
