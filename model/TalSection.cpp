#include "model/TalSection.h"

#include <algorithm>

#include "framework/KWArchive.h"
#include "model/TalTextNote.h"

int32_t CTalSection::s_lastId = 0;

CTalSection::CTalSection(CTalSection* parent, const wchar_t* name)
    : CTalObject(parent), m_id(++s_lastId)
{
    if (name)
        m_name = name;
    m_textNote = new CTalTextNote(this);
}

CTalSection::~CTalSection()
{
    ClearLists();
    m_textNote.Release();
}

void CTalSection::RenewId() { m_id = ++s_lastId; }

void CTalSection::Detach()
{
    // A child's release of its parent link may drop this section's last
    // reference; keep it alive until the whole subtree is detached.
    CKWRefPtr<CTalSection> self(this);
    for (auto& child : m_children)
        child->Detach();
    for (auto& picture : m_pictures)
        picture->Detach();
    if (m_textNote)
        m_textNote->Detach();
    CTalObject::Detach();
}

void CTalSection::RemapFonts(CKWIndexDecoder* newTable, const CKWIndexDecoder* oldTable)
{
    if (m_textNote)
        m_textNote->CKWTextData::RemapFonts(newTable, oldTable);
    for (auto& child : m_children)
        child->RemapFonts(newTable, oldTable);
}

CKWRefPtr<CTalSection> CTalSection::GetSubSection(int index) const
{
    if (index < 0 || index >= GetSubSectionCount())
        return nullptr;
    return m_children[static_cast<size_t>(index)];
}

bool CTalSection::InsertSubSection(CTalSection* section, CTalSection* preceding)
{
    if (!section)
        return false;
    CKWRefPtr<CTalSection> held(section);
    section->SetParent(this);
    if (!preceding) {
        m_children.insert(m_children.begin(), held);
        return true;
    }
    const int index = IndexOfSubSection(preceding);
    if (index < 0)
        m_children.push_back(held);
    else
        m_children.insert(m_children.begin() + index + 1, held);
    return true;
}

void CTalSection::AppendSubSection(CTalSection* section)
{
    if (!section)
        return;
    CKWRefPtr<CTalSection> held(section);
    section->SetParent(this);
    m_children.push_back(held);
}

bool CTalSection::RemoveSubSection(CTalSection* section, CKWRefPtr<CTalSection>* previous)
{
    if (previous)
        previous->Release();
    const int index = IndexOfSubSection(section);
    if (index < 0)
        return false;
    if (previous && index > 0)
        *previous = m_children[static_cast<size_t>(index - 1)];
    m_children.erase(m_children.begin() + index);
    return true;
}

int CTalSection::IndexOfSubSection(const CTalSection* section) const
{
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i].Get() == section)
            return static_cast<int>(i);
    }
    return -1;
}

CKWRefPtr<CTalSection> CTalSection::FindSubSectionById(int32_t id) const
{
    for (const auto& child : m_children) {
        if (child->GetId() == id)
            return child;
        CKWRefPtr<CTalSection> found = child->FindSubSectionById(id);
        if (found)
            return found;
    }
    return nullptr;
}

CKWRefPtr<CTalPicture> CTalSection::GetPicture(int index) const
{
    if (index < 0 || index >= GetPictureCount())
        return nullptr;
    return m_pictures[static_cast<size_t>(index)];
}

int CTalSection::IndexOfPicture(const CTalPicture* picture) const
{
    for (size_t i = 0; i < m_pictures.size(); ++i) {
        if (m_pictures[i].Get() == picture)
            return static_cast<int>(i);
    }
    return -1;
}

int CTalSection::InsertPicture(int index, CTalPicture* picture)
{
    if (!picture)
        return -1;
    index = std::clamp(index, 0, GetPictureCount());
    picture->SetParent(this);
    m_pictures.insert(m_pictures.begin() + index, CKWRefPtr<CTalPicture>(picture));
    return index;
}

CKWRefPtr<CTalPicture> CTalSection::TakePicture(int index)
{
    if (index < 0 || index >= GetPictureCount())
        return nullptr;
    CKWRefPtr<CTalPicture> picture = std::move(m_pictures[static_cast<size_t>(index)]);
    m_pictures.erase(m_pictures.begin() + index);
    return picture;
}

int CTalSection::InsertPictures(const CTalPictureList& pictures, const CTalPositionList* positions,
                                CTalPositionList* positionsDone)
{
    if (pictures.empty())
        return -1;
    if (positions && !positions->empty()) {
        for (size_t i = 0; i < pictures.size(); ++i) {
            // A picture beyond the listed positions goes to the end.
            const int wanted = i < positions->size() ? (*positions)[i] : GetPictureCount();
            const int used = InsertPicture(wanted, pictures[i].Get());
            if (used >= 0 && positionsDone)
                positionsDone->push_back(used);
        }
        return -1;
    }
    int count = 0;
    for (const auto& picture : pictures) {
        if (InsertPicture(GetPictureCount(), picture.Get()) >= 0)
            ++count;
    }
    return count;
}

bool CTalSection::AppendPictures(const CTalPictureList& pictures)
{
    for (const auto& picture : pictures) {
        if (picture)
            m_pictures.push_back(picture);
    }
    return true;
}

CTalPositionList CTalSection::GetValidPositions(const CTalPositionList& positions) const
{
    CTalPositionList valid;
    for (int32_t position : positions) {
        if (position >= 0 && position < GetPictureCount())
            valid.push_back(position);
    }
    std::sort(valid.begin(), valid.end());
    valid.erase(std::unique(valid.begin(), valid.end()), valid.end());
    return valid;
}

bool CTalSection::RemovePictures(const CTalPositionList& positions, int count, CTalPositionList* selection)
{
    if (m_pictures.empty())
        return false;
    int firstRemoved = -1;
    if (count == -1) {
        // Taken from the highest position down, so that each removal leaves
        // the positions still to come where they were.
        const CTalPositionList valid = GetValidPositions(positions);
        for (auto it = valid.rbegin(); it != valid.rend(); ++it) {
            CKWRefPtr<CTalPicture> picture = TakePicture(*it);
            picture->Detach();
        }
        if (!valid.empty())
            firstRemoved = valid.front();
    } else {
        count = std::clamp(count, 0, GetPictureCount());
        for (int i = 0; i < count; ++i) {
            CKWRefPtr<CTalPicture> picture = TakePicture(GetPictureCount() - 1);
            picture->Detach();
        }
    }
    if (selection && !m_pictures.empty()) {
        if (firstRemoved >= 0 && firstRemoved < GetPictureCount())
            selection->push_back(firstRemoved);
        else
            selection->push_back(GetPictureCount() - 1);
    }
    return true;
}

void CTalSection::CollectPictures(const CTalPositionList& positions, CTalPictureList& out) const
{
    for (int32_t position : positions) {
        if (position >= 0 && position < GetPictureCount())
            out.push_back(m_pictures[static_cast<size_t>(position)]);
    }
}

void CTalSection::ClearLists()
{
    // Moved out first: a release may run destructors that look at this section.
    CTalSectionList children;
    children.swap(m_children);
    CTalPictureList pictures;
    pictures.swap(m_pictures);
}

// Body: name, own-template flag (u8), template name, expanded flag (u8),
// id (u32), child count (u32) and the child bodies, picture count (u32) and
// the picture bodies, then the text note. No record of its own.
bool CTalSection::Serialize(CKWArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteString(m_name);
        ar.WriteU8(m_ownTemplate);
        ar.WriteString(m_templateName);
        ar.WriteU8(m_expanded);
        ar.WriteI32(m_id);
        ar.WriteU32(static_cast<uint32_t>(m_children.size()));
        for (auto& child : m_children)
            child->Serialize(ar);
        ar.WriteU32(static_cast<uint32_t>(m_pictures.size()));
        for (auto& picture : m_pictures)
            picture->Serialize(ar);
        m_textNote->Serialize(ar);
        return true;
    }
    LoadBody(ar, 0);
    return true;
}

void CTalSection::LoadBody(CKWArchive& ar, int depth)
{
    // Any process can put a block on the clipboard: a nesting beyond any
    // real report is refused like a truncated one.
    if (depth > kMaxLoadDepth)
        throw CKWArchiveException();
    ar.ReadString(m_name);
    m_ownTemplate = ar.ReadU8();
    ar.ReadString(m_templateName);
    m_expanded = ar.ReadU8();
    m_id = ar.ReadI32();
    // Counts come from outside: each element is read (and guarded by the
    // archive) before the next is made, so a false count ends in the
    // archive's exception, not in a huge allocation.
    const uint32_t childCount = ar.ReadU32();
    for (uint32_t i = 0; i < childCount; ++i) {
        CKWRefPtr<CTalSection> child(new CTalSection(this));
        m_children.push_back(child);
        child->LoadBody(ar, depth + 1);
    }
    const uint32_t pictureCount = ar.ReadU32();
    for (uint32_t i = 0; i < pictureCount; ++i) {
        CKWRefPtr<CTalPicture> picture(new CTalPicture(this));
        m_pictures.push_back(picture);
        picture->Serialize(ar);
    }
    m_textNote->Serialize(ar);
}
