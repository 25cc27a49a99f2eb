// The document table's handlers of the section tree, the pictures of the
// sections and their text notes.
#include "files/TalTags.h"

#include "files/BoundedPictureName.h"
#include "files/NewXmlArch.h"
#include "files/TalFileNames.h"
#include "files/TalPictureRelocation.h"
#include "files/TalXmlSerializer.h"
#include "framework/KWColor.h"
#include "framework/KWPathUtils.h"
#include "framework/KWPictureProblem.h"
#include "framework/KWRasterLib.h"
#include "model/TalDocProperties.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalTextNote.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

const char kTalEmptyFileAttribute[] = "EmptyFile";
const char kTalRefusedLinkAttribute[] = "RefusedLink";

namespace {

// A text of a report that copies its pictures beside it, naming a copy in
// the report's own picture folder: what a save of it writes, whatever dots
// begin the report's name; or a file that lies in the picture folder beside
// it of another name, which the report had when it was saved (it was copied
// or renamed since).
bool NamesOwnCopy(const CString& text, const CString& documentPath)
{
    CString folder = CTalPictureRelocation::GetPictureFolder(documentPath);
    folder = GetPathFileName(folder.Left(folder.GetLength() - 1), true);
    const int separator = text.Find(L'\\');
    if (separator <= 0)
        return false;
    const CString named = text.Left(separator), suffix = L" Images";
    if (named.CompareNoCase(folder) == 0)
        return true;
    return named.GetLength() > suffix.GetLength() && named.Right(suffix.GetLength()).CompareNoCase(suffix) == 0 &&
           IsSafeFileName(named) && IsSafeFileName(text.Mid(separator + 1)) &&
           IsExistingFile(GetPathDirectory(documentPath) + L"\\" + text);
}

}  // namespace

int32_t CTalTags::CurrentRecord()
{
    if (m_leafStack.empty() || !m_props)
        return -1;
    if (m_leafStack.back() >= 0)
        return m_leafStack.back();
    SectionRecord record;
    const CNewParamCell* cell = GetParamsA("Leaf");
    if (cell) {
        ReadInt(*cell, L"ID", record.id);
        ReadInt(*cell, L"IDParentLeaf", record.parentId);
    }
    if (record.parentId == 0 && m_headingRecord < 0) {
        // Only the first root is the heading; any other is placed under it.
        record.section = m_props->GetHeadingSection();
        if (!record.section)
            return -1;
        // The heading keeps the page template it was made with (the
        // manager's first) unless the file names one.
        record.section->ClearLists();
        record.linked = true;
        m_headingRecord = static_cast<int32_t>(m_records.size());
    } else {
        record.section = new CTalSection(nullptr);
    }
    if (cell) {
        // The name is the text before the children.
        CString name = cell->GetText();
        name.Trim();
        record.section->SetName(name);
    }
    m_records.push_back(std::move(record));
    m_leafStack.back() = static_cast<int32_t>(m_records.size() - 1);
    return m_leafStack.back();
}

void CTalTags::OnLeafStart(const CString&)
{
    m_leafStack.push_back(-1);
}

void CTalTags::OnLeafEnd(const CString&)
{
    // A section without any child element is a section all the same.
    const int32_t record = CurrentRecord();
    if (record >= 0 && record == m_noteRecord)
        m_noteRecord = -1;
    if (!m_leafStack.empty())
        m_leafStack.pop_back();
}

void CTalTags::OnLeafsStart(const CString&)
{
    // The enclosing section is made before a nested one replaces its cell.
    if (!m_leafStack.empty())
        CurrentRecord();
}

void CTalTags::OnCurLeafTemplateStart(const CString& name)
{
    const int32_t record = CurrentRecord();
    // A section has one page template; a second number would replace the first.
    if (record >= 0 && m_records[static_cast<size_t>(record)].templateRead)
        SkipRepeated(name);
}

void CTalTags::OnCurLeafTemplateEnd(const CString& name)
{
    const int32_t record = CurrentRecord();
    const CNewParamCell* cell = GetParams(name);
    if (record < 0 || !cell)
        return;
    int32_t number = -1;
    ReadInt(*cell, L"ID", number);
    m_records[static_cast<size_t>(record)].templateNumber = number;
    m_records[static_cast<size_t>(record)].templateRead = true;
}

void CTalTags::OnTreeEnd(const CString&)
{
    LinkTree();
}

void CTalTags::LinkTree()
{
    if (!m_props)
        return;
    CKWRefPtr<CTalSection> heading = m_props->GetHeadingSection();
    if (!heading)
        return;
    // Each section goes under the first earlier section of its parent's ID,
    // so the tree can hold no cycle; anything else is placed under the
    // heading. No recursion: a chain of sections may be long.
    std::map<int32_t, size_t> byId;
    for (size_t i = 0; i < m_records.size(); ++i) {
        SectionRecord& record = m_records[i];
        if (!record.linked && record.section) {
            auto parent = record.parentId != 0 ? byId.find(record.parentId) : byId.end();
            CTalSection* parentSection = heading.Get();
            int32_t parentDepth = 0;
            if (parent != byId.end()) {
                parentSection = m_records[parent->second].section.Get();
                parentDepth = m_records[parent->second].depth;
            } else {
                CString message;
                message.Format(L"The section with ID %d has no parent with ID %d before it and is placed under "
                               L"the heading.",
                               record.id, record.parentId);
                Warn(message);
            }
            if (parentDepth + 1 > kMaxSectionDepth) {
                CString message;
                message.Format(L"The section with ID %d is nested too deeply and is placed under the heading.",
                               record.id);
                Warn(message);
                parentSection = heading.Get();
                parentDepth = 0;
            }
            parentSection->AppendSubSection(record.section.Get());
            record.depth = parentDepth + 1;
            record.linked = true;
        }
        if (record.id > 0 && !byId.emplace(record.id, i).second && i >= m_linkedRecords) {
            CString message;
            message.Format(L"The section ID %d is used more than once.", record.id);
            Warn(message);
        }
    }
    m_linkedRecords = m_records.size();
}

void CTalTags::OnImageListItemEnd(const CString& name)
{
    const int32_t index = CurrentRecord();
    const CNewParamCell* cell = GetParams(name);
    PendingPicture picture;
    if (index < 0 || !cell)
        return;
    if (!ReadInt(*cell, L"ID", picture.key)) {
        Warn(L"A picture of a section without its ID is ignored.");
        return;
    }
    ReadInt(*cell, L"GrayScale", picture.grayscale);
    ReadText(*cell, L"Desc", picture.description);
    ReadInt(*cell, L"Angle", picture.angle);
    ReadFlag(*cell, L"Show", picture.shown);
    ReadInt(*cell, L"UseDesc", picture.useDescription);
    ReadFlag(*cell, L"NewPage", picture.newPage);
    NoteWholeLink(*cell, picture.key);
    // The file names the picture later, in "Images".
    m_records[static_cast<size_t>(index)].pending.push_back(picture);
}

void CTalTags::NoteWholeLink(const CNewParamCell& cell, int32_t key)
{
    CString link;
    if (key != 0 && ReadText(cell, CString(kTalRefusedLinkAttribute), link) && !link.IsEmpty())
        m_listedLinks.emplace(key, link);
}

void CTalTags::AddPicture(SectionRecord& record, const PendingPicture& picture, int32_t id)
{
    auto* added = new CTalPicture(record.section.Get());
    added->SetPictureId(id);
    added->SetGrayscale(picture.grayscale);
    added->SetTitle(picture.description);
    added->SetAngle(picture.angle);
    added->SetShown(picture.shown);
    added->SetUseDescription(picture.useDescription);
    added->SetNewPage(picture.newPage);
    record.section->InsertPicture(record.section->GetPictureCount(), added);
}

void CTalTags::OnImageStart(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    m_imageKeyRead = false;
    m_imageEmptyFile.Empty();
    m_imageRefusedLink.Empty();
    if (cell && ReadInt(*cell, L"ID", m_imageKey)) {
        m_imageKeyRead = true;
        if (!m_imageKeys.insert(m_imageKey).second) {
            CString message;
            message.Format(L"The image ID %d is used more than once.", m_imageKey);
            Warn(message);
        }
    }
    if (GetStorageMode() != 0)
        return;
    if (!m_imageKeyRead) {
        // No reference can reach it: its data is not read.
        Warn(L"An image without its ID is ignored.");
        SkipHandler(name);
        return;
    }
    // Read now: the cell goes when the element is passed over.
    ReadText(*cell, CString(kTalEmptyFileAttribute), m_imageEmptyFile);
    // The start tag holds a long link's end only; the elements naming the picture hold it whole.
    if (ReadText(*cell, CString(kTalRefusedLinkAttribute), m_imageRefusedLink) && !m_imageRefusedLink.IsEmpty()) {
        const auto whole = m_listedLinks.find(m_imageKey);
        if (whole != m_listedLinks.end())
            m_imageRefusedLink = whole->second;
    }
    XmlPrepassPicture picture;
    if (BeginPicture(name, kXmlImage, picture))
        AddEmbeddedPicture(picture);
}

void CTalTags::OnParsedPictureUnkept(uint32_t storeError)
{
    if (CTalDocumentLoad* load = GetLoad())
        load->NoteUnkept(storeError);
}

void CTalTags::AddEmbeddedPicture(const XmlPrepassPicture& picture)
{
    int32_t id = picture.pictureId;
    if (picture.unkept && !m_filePictures.count(m_imageKey)) {
        // Shown as missing, each of its own id; the load names it, the check
        // of the pictures shown does not again.
        id = static_cast<int32_t>(g_rasterLib.AddUnkeptPicture(picture.storeError));
        g_rasterLib.TakeReport(static_cast<uint32_t>(id));
        CString message;
        message.Format(L"The picture with ID %d %ls It is shown as missing.", m_imageKey,
                       KWUnkeptPictureText(picture.storeError).GetString());
        Warn(message);
    }
    // Data that gave no picture (none, damaged, or unreadable) stand as the
    // placeholder of an id of their own, which what tells of placeholders names.
    const bool noData = id == 0 && !m_filePictures.count(m_imageKey);
    if (noData && !m_imageRefusedLink.IsEmpty()) {
        AddRefusedLink();
        return;
    }
    if (noData) {
        id = static_cast<int32_t>(g_rasterLib.AddFilelessPicture(KWPictureState::Damaged));
        g_rasterLib.TakeReport(static_cast<uint32_t>(id));
    }
    // A warning names the report the picture came in, not the UTF-8 copy a
    // UTF-16 one is read through.
    if (CTalDocumentLoad* load = GetLoad(); load && id != 0)
        g_rasterLib.SetPictureSource(static_cast<uint32_t>(id), load->path, true);
    // The first image of a key is the one; a repeated key was warned about.
    if (!m_filePictures.emplace(m_imageKey, id).second || picture.unkept)
        return;
    CString message;
    if (!m_imageEmptyFile.IsEmpty()) {
        message.Format(L"The picture file %ls was empty when the document was saved; the placeholder it showed "
                       L"stands in its place.",
                       m_imageEmptyFile.GetString());
        Warn(message);
        // Kept with the picture: every later save names it again.
        if (id != 0)
            g_rasterLib.SetEmptySourceName(static_cast<uint32_t>(id), m_imageEmptyFile);
    }
    if (noData) {
        message.Format(L"The picture with ID %d holds no picture data that can be read; it is shown as missing.",
                       m_imageKey);
        Warn(message);
    }
}

void CTalTags::AddRefusedLink()
{
    // A placeholder whose report refused its link, pasted here: it stays one,
    // named by that link, which a save writes again in any storage mode.
    const uint32_t id = g_rasterLib.AddFilelessPicture(KWPictureState::Missing);
    g_rasterLib.SetPictureSource(id, m_imageRefusedLink, false);
    g_rasterLib.TakeReport(id);
    m_filePictures.emplace(m_imageKey, static_cast<int32_t>(id));
    CString message;
    message.Format(L"The picture file name \"%ls\" was not taken where the picture came from; a placeholder "
                   L"stands in its place.",
                   m_imageRefusedLink.GetString());
    Warn(message);
}

CString CTalTags::ResolvePicturePath(const CString& reference, int32_t mode)
{
    CTalDocumentLoad* load = GetLoad();
    const CString& name = reference;
    CString path = name;
    if (path.IsEmpty() || !load)
        return CString();
    bool safe = true;
    if (mode == 2) {
        // The folder of copies beside the document and a file in it, no more.
        const int separator = path.Find(L'\\');
        safe = separator > 0 && IsSafeFileName(path.Left(separator)) && IsSafeFileName(path.Mid(separator + 1));
        path = GetPathDirectory(load->path) + L"\\" + path;
    } else {
        // A full path on a drive, or a name relative to the document's folder
        // (never to the current folder); no server, device namespace, stream
        // or drive-relative name, and no part of it a device.
        path = LocalPicturePath(path, load->path);
        safe = !path.IsEmpty();
        for (int start = 0; safe && start <= path.GetLength();) {
            int end = start;
            while (end < path.GetLength() && path[end] != L'\\' && path[end] != L'/')
                ++end;
            safe = !IsDeviceName(path.Mid(start, end - start));
            start = end + 1;
        }
    }
    if (safe)
        return path;
    Warn(KWRefusedNameLine(name));
    return CString();
}

void CTalTags::OnImageEnd(const CString& name)
{
    const int32_t mode = GetStorageMode();
    XmlPrepassPicture embedded;
    if (mode == 0 && EndPicture(name, embedded)) {
        AddEmbeddedPicture(embedded);
        return;
    }
    const CNewParamCell* cell = GetParams(name);
    CTalDocumentLoad* load = GetLoad();
    int32_t key = 0;
    if ((mode != 1 && mode != 2) || !cell || !load || !ReadInt(*cell, L"ID", key))
        return;
    // The first image of a key is the one; a repeated key was warned about.
    if (m_filePictures.count(key))
        return;
    CString named = PictureTextName(cell->GetText());
    // The end of a refused link (all an older file kept of it) names the
    // placeholder; it is no file's path and no file is looked for by it.
    m_imageKey = key;
    ReadText(*cell, CString(kTalRefusedLinkAttribute), m_imageRefusedLink);
    if (m_imageRefusedLink.IsEmpty() && IsBoundedPictureName(named) && !(mode == 2 && NamesOwnCopy(named, load->path)))
        m_imageRefusedLink = named;
    if (!m_imageRefusedLink.IsEmpty()) {
        AddRefusedLink();
        return;
    }
    CString path = ResolvePicturePath(named, mode);
    // Any file of the disk may be named: only a picture is taken, so that no
    // other file's bytes reach the report or a save of it.
    KWPictureState untaken = KWPictureState::Missing;
    if (mode == 1 && !path.IsEmpty() && g_rasterLib.CheckPictureFile(path, false) == KWPictureState::NotPicture) {
        CString message;
        message.Format(L"The file \"%ls\" is not a picture; it is not taken.", path.GetString());
        Warn(message);
        untaken = KWPictureState::NotPicture;
        named = path;
        path.Empty();
    }
    int32_t id = 0;
    if (!path.IsEmpty()) {
        id = static_cast<int32_t>(g_rasterLib.GetPictureId(path));
        if (!IsExistingFile(path)) {
            g_rasterLib.NoteMissingFromStart(static_cast<uint32_t>(id));
            if (std::find(load->unopenedFiles.begin(), load->unopenedFiles.end(), path) == load->unopenedFiles.end())
                load->unopenedFiles.push_back(path);
        }
    } else {
        // A name refused (or none) stays the placeholder it shows, named by
        // what the report said, which the load has told of.
        id = static_cast<int32_t>(g_rasterLib.AddFilelessPicture(untaken));
        g_rasterLib.SetPictureSource(static_cast<uint32_t>(id), named, false);
        g_rasterLib.TakeReport(static_cast<uint32_t>(id));
    }
    m_filePictures.emplace(key, id);
}

void CTalTags::ResolvePictures()
{
    for (const PendingReference& reference : m_pendingReferences) {
        auto found = m_filePictures.find(reference.key);
        if (found != m_filePictures.end())
            *reference.field = found->second;
        else if (!reference.missing.IsEmpty())
            Warn(reference.missing);
    }
    m_pendingReferences.clear();
    // Every picture in its section's order, also one the logo or another
    // section uses as well.
    for (SectionRecord& record : m_records) {
        for (const PendingPicture& picture : record.pending) {
            auto found = m_filePictures.find(picture.key);
            if (!record.section)
                continue;
            if (found != m_filePictures.end()) {
                AddPicture(record, picture, found->second);
                continue;
            }
            CString message;
            message.Format(L"A picture of the section \"%ls\" names the image ID %d, which the file does not hold; "
                           L"it is left out.",
                           record.section->GetName().GetString(), picture.key);
            Warn(message);
        }
        record.pending.clear();
    }
}

void CTalTags::OnTextNoteStart(const CString& name)
{
    const int32_t record = CurrentRecord();
    // A section has one note; a second one would replace the first.
    if (record >= 0 && m_records[static_cast<size_t>(record)].noteRead) {
        SkipRepeated(name);
        return;
    }
    m_noteRecord = record;
    if (m_noteRecord < 0)
        return;
    m_records[static_cast<size_t>(m_noteRecord)].noteRead = true;
    CTalTextNote* note = m_records[static_cast<size_t>(m_noteRecord)].section->GetTextNote();
    note->ClearRuns();
    note->ClearParas();
    note->AssignText(CString());
}

void CTalTags::OnCharacterItemEnd(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    if (m_noteRecord < 0 || !cell)
        return;
    auto* run = new CKWCharFormat;
    ReadNarrow(*cell, L"CharCount", run->m_count);
    ReadNarrow(*cell, L"Style", run->m_style);
    ReadNarrow(*cell, L"CharSet", run->m_charSet);
    ReadNarrow(*cell, L"Size", run->m_size);
    if (ReadNarrow(*cell, L"Num", run->m_fontIndex))
        NoteFontIndex(run->m_fontIndex, L"a text note");
    uint32_t color = 0;
    if (ReadNarrow(*cell, L"Color", color))
        run->m_color = CKWColor::FromRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    ReadReal(*cell, L"Spacing", run->m_spacing, kMaxCharacterSpacing);
    ReadNarrow(*cell, L"Pos", run->m_vertical);
    ReadNarrow(*cell, L"Flags", run->m_sizeStepUp);
    m_records[static_cast<size_t>(m_noteRecord)].section->GetTextNote()->AppendRun(run);
}

void CTalTags::OnParagrafItemEnd(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    if (m_noteRecord < 0 || !cell)
        return;
    auto* para = new CKWParaFormat;
    ReadNarrow(*cell, L"CharCount", para->m_count);
    ReadReal(*cell, L"LeftIndent", para->m_leftIndent, kMaxLength);
    ReadReal(*cell, L"RightIndent", para->m_rightIndent, kMaxLength);
    ReadReal(*cell, L"FirstLine", para->m_firstLine, kMaxLength);
    ReadReal(*cell, L"BeforeIndent", para->m_spaceBefore, kMaxLength);
    ReadReal(*cell, L"AfterIndent", para->m_spaceAfter, kMaxLength);
    ReadReal(*cell, L"BetweenIndent", para->m_lineSpacing, kMaxLength);
    ReadNarrow(*cell, L"HAlign", para->m_align);
    m_records[static_cast<size_t>(m_noteRecord)].section->GetTextNote()->AppendPara(para);
}

void CTalTags::OnTextNoteEnd(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    const int32_t index = m_noteRecord;
    m_noteRecord = -1;
    if (index < 0 || !cell)
        return;
    CTalTextNote* note = m_records[static_cast<size_t>(index)].section->GetTextNote();
    // The text follows the line feed of the start tag; the white space after
    // it stands between the child elements.
    CString text = cell->GetText();
    if (!text.IsEmpty() && text[0] == L'\n')
        text = text.Mid(1);
    // The runs tell how long the note is, so that its own blanks and line
    // feeds at the end stay.
    int64_t length = 0;
    for (int i = 0; i < note->GetRunCount(); ++i)
        length += note->GetRun(i).m_count;
    bool cut = false;
    if (note->GetRunCount() > 0 && length <= text.GetLength()) {
        cut = true;
        for (int i = static_cast<int>(length); i < text.GetLength(); ++i) {
            if (!std::iswspace(text[i])) {
                cut = false;
                break;
            }
        }
    }
    if (cut)
        text = text.Left(static_cast<int>(length));
    else
        text.TrimRight();
    note->AssignText(text);
    note->NormalizeRuns();
}
