#pragma once
// CTalSection: a section of the report tree: a name, ordered child sections,
// ordered pictures and exactly one text note, with its page-template choice,
// its expanded state in the section tree and an id unique within the run.
//
// A place in the tree is given as (parent, previous sibling), a null previous
// sibling meaning the first place; a place in the picture list is an index.
#include <cstdint>
#include <vector>

#include "framework/KWRefPtr.h"
#include "model/TalObject.h"
#include "model/TalPicture.h"
#include "platform/classlib/String.h"

class CTalTextNote;
class CTalSection;
typedef std::vector<CKWRefPtr<CTalSection>> CTalSectionList;

class CTalSection : public CTalObject {
public:
    // Takes a reference to the parent (the section does not enter the parent's
    // child list), takes the next section id and creates its text note.
    explicit CTalSection(CTalSection* parent = nullptr, const wchar_t* name = nullptr);
    ~CTalSection() override;

    // Detaches every child, then every picture, then the text note, then
    // releases the parent.
    void Detach() override;
    // The section body with its whole subtree (see the .cpp for the layout).
    bool Serialize(CKWArchive& ar) override;
    // Re-registers the fonts of the text note, then of every child in order,
    // from the old table into the new one.
    virtual void RemapFonts(CKWIndexDecoder* newTable, const CKWIndexDecoder* oldTable);

    // --- Fields ---
    const CString& GetName() const { return m_name; }
    void SetName(const CString& name) { m_name = name; }
    // Never null while the section lives; owned by the section.
    CTalTextNote* GetTextNote() const { return m_textNote.Get(); }
    uint8_t GetOwnTemplate() const { return m_ownTemplate; }
    void SetOwnTemplate(uint8_t ownTemplate) { m_ownTemplate = ownTemplate; }
    const CString& GetTemplateName() const { return m_templateName; }
    void SetTemplateName(const CString& name) { m_templateName = name; }
    uint8_t GetExpanded() const { return m_expanded; }
    void SetExpanded(uint8_t expanded) { m_expanded = expanded; }
    int32_t GetId() const { return m_id; }
    void SetId(int32_t id) { m_id = id; }

    // Takes the next value of the program's section counter.
    void RenewId();
    // The last id handed out by the counter (0 before the first section).
    static int32_t GetLastIssuedId() { return s_lastId; }

    // --- Child sections ---
    const CTalSectionList& GetSubSections() const { return m_children; }
    int GetSubSectionCount() const { return static_cast<int>(m_children.size()); }
    // With a reference added; null out of range.
    CKWRefPtr<CTalSection> GetSubSection(int index) const;
    // Makes this section the parent; a null preceding sibling puts the section
    // first, one that is not a child appends it. True.
    bool InsertSubSection(CTalSection* section, CTalSection* preceding);
    // Makes this section the parent and puts the section last, in constant
    // time (the document reader appends thousands).
    void AppendSubSection(CTalSection* section);
    // Takes the section out of the child list; previous receives the child
    // that stood before it (null when it was first or not found). The removed
    // section keeps its parent link. False when it was not a child.
    bool RemoveSubSection(CTalSection* section, CKWRefPtr<CTalSection>* previous = nullptr);
    // Position in the child list, -1 when absent.
    int IndexOfSubSection(const CTalSection* section) const;
    // Depth-first search below this section (each child before its own
    // children); this section itself is not compared.
    CKWRefPtr<CTalSection> FindSubSectionById(int32_t id) const;

    // --- Pictures ---
    const CTalPictureList& GetPictures() const { return m_pictures; }
    int GetPictureCount() const { return static_cast<int>(m_pictures.size()); }
    CKWRefPtr<CTalPicture> GetPicture(int index) const;
    int IndexOfPicture(const CTalPicture* picture) const;
    // Empty list: -1, nothing done. With positions: picture i goes to
    // positions[i] (clamped to the list; pictures beyond the positions are
    // appended), each insertion shifting the later ones, every position used
    // is appended to positionsDone; -1. Without positions: all appended;
    // the number of pictures. Each inserted picture gets this section as parent.
    int InsertPictures(const CTalPictureList& pictures, const CTalPositionList* positions,
                       CTalPositionList* positionsDone = nullptr);
    // Appends the references without changing the pictures' parents. True.
    bool AppendPictures(const CTalPictureList& pictures);
    // count -1: detaches and removes the pictures at the positions (taken
    // sorted, without repeats, those out of range skipped); any other count
    // detaches and removes the last count pictures (clamped to 0..count of
    // pictures). When pictures remain, selection receives the one to select
    // next: with count -1 the first removed position when still valid, else
    // the last remaining picture. False when the section has no pictures.
    bool RemovePictures(const CTalPositionList& positions, int count, CTalPositionList* selection = nullptr);
    // The positions RemovePictures (count -1) acts on: ascending, each once,
    // each a valid index.
    CTalPositionList GetValidPositions(const CTalPositionList& positions) const;
    // Appends to out the pictures at the positions (references added); those
    // out of range are skipped.
    void CollectPictures(const CTalPositionList& positions, CTalPictureList& out) const;
    // One picture in at the index (clamped), parent set; returns the index used.
    int InsertPicture(int index, CTalPicture* picture);
    // Takes the picture at the index out of the list without detaching it (a
    // move keeps the picture); null out of range.
    CKWRefPtr<CTalPicture> TakePicture(int index);

    // Releases every child and picture reference and empties both lists.
    void ClearLists();

    // Sections nest at most this deep in a loaded body; a deeper one makes the
    // load fail with the archive's exception.
    static const int kMaxLoadDepth = 256;

private:
    void LoadBody(CKWArchive& ar, int depth);

    CString m_name;
    CTalSectionList m_children;
    CTalPictureList m_pictures;
    CKWRefPtr<CTalTextNote> m_textNote;
    uint8_t m_ownTemplate = 0;
    CString m_templateName;
    uint8_t m_expanded = 1;
    int32_t m_id = 0;

    static int32_t s_lastId;
};
