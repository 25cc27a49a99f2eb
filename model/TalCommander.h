#pragma once
// CTalCommander: the one place where commands change the report model. It
// runs a command through a table of 51 handlers indexed by the command's
// kind; each handler applies its change, notifies the document and, while
// the history has an open group, records the inverse command there. Undo
// and redo replay a recorded group through the same table.
//
// The edit operations (further below) build the commands for the document's
// menu commands and drag and drop, each as one labelled step of the history.
#include <cstdint>
#include <vector>

#include "framework/KWRefPtr.h"
#include "model/TalObject.h"
#include "model/TalPicture.h"
#include "platform/classlib/String.h"

class CKWIndexDecoder;
class CTalBaseDocument;
class CTalCommand;
class CTalCommandGroup;
class CTalCommandHistory;
class CTalSection;
class CTalTextNote;

class CTalCommander {
public:
    explicit CTalCommander(CTalBaseDocument* document = nullptr);
    virtual ~CTalCommander();
    CTalCommander(const CTalCommander&) = delete;
    CTalCommander& operator=(const CTalCommander&) = delete;

    void SetDocument(CTalBaseDocument* document) { m_document = document; }
    CTalBaseDocument* GetDocument() const { return m_document; }

    // Runs the command through the handler of its kind; the changed section,
    // or null (always for a kind outside 0..50). The command stays the caller's.
    CKWRefPtr<CTalSection> Execute(CTalCommand* command);

    // Replays the group from its last command to its first; the inverses
    // recorded meanwhile replace its commands. Text notes the replay touched
    // get their run and paragraph sums repaired afterwards.
    void ReplayGroup(CTalCommandGroup* group);
    // Nothing happens when there is nothing to undo or redo.
    void Undo();
    void Redo();

    // --- Edit operations: sections ---
    // A new section named after the trimmed text ("New Section" without one),
    // or the given existing section, which gets a new id and has its fonts
    // remapped from oldFonts to the document's table. First child, or last
    // with atEnd. Undoable through a kind-0 command, else inserted directly.
    CKWRefPtr<CTalSection> AddChildSection(CTalSection* parent, const wchar_t* text, CTalSection* existing,
                                           bool group, bool select, bool atEnd, bool undoable,
                                           const CKWIndexDecoder* oldFonts = nullptr);
    // As above, placed right after the given section (the heading section:
    // as its first child).
    CKWRefPtr<CTalSection> AddSiblingSection(CTalSection* section, const wchar_t* text, CTalSection* existing,
                                             bool group, bool select, const CKWIndexDecoder* oldFonts = nullptr);
    // The handler's result: the previous sibling, or the parent; the section
    // itself when it cannot be removed.
    CKWRefPtr<CTalSection> RemoveSection(CTalSection* section);
    void SetSectionExpanded(CTalSection* section, bool expanded);
    void ExpandAll(CTalSection* section);
    // The moved section, or null when the move is not possible.
    CKWRefPtr<CTalSection> MoveSectionLeft(CTalSection* section);
    CKWRefPtr<CTalSection> MoveSectionRight(CTalSection* section);
    CKWRefPtr<CTalSection> MoveSectionUp(CTalSection* section);
    CKWRefPtr<CTalSection> MoveSectionDown(CTalSection* section);
    // Drops the section onto the target: as its first child, or right after
    // it. Returns the target, or null when refused.
    CKWRefPtr<CTalSection> MoveSectionTo(CTalSection* section, CTalSection* target, bool asChild);
    // The section tree's drop test; onto the heading section asChild is set.
    bool CanMoveSection(CTalSection* section, CTalSection* target, bool& asChild) const;
    void RenameSection(CTalSection* section, const CString& name);
    // The page template at the index of the template manager's list.
    bool SetSectionTemplate(CTalSection* section, int index);
    bool SetUseTemplate(CTalSection* section, bool useOwn);

    // --- Edit operations: pictures ---
    bool EditPictureTitle(CTalSection* section, int index, const CString& title);
    // start -1 appends. Without undoable the pictures are appended directly.
    bool InsertPictures(CTalSection* section, const CTalPictureList& pictures, int start, bool undoable);
    bool RemovePictures(CTalSection* section, const CTalPositionList& positions);
    // anchorIndex: the place in the source to put them before (-1: append to
    // the target).
    bool MovePictures(CTalSection* target, CTalSection* source, const CTalPositionList& positions,
                      int anchorIndex);
    // Kind 15 without a group of its own.
    void RotatePictures(CTalSection* section, const CTalPositionList& positions, int32_t angle);
    void RotatePicturesLeft(CTalSection* section, const CTalPositionList& positions);
    void RotatePicturesRight(CTalSection* section, const CTalPositionList& positions);
    bool SetPicturesShowInReport(CTalSection* section, const CTalPositionList& positions, uint8_t value);
    bool SetPicturesUseDescription(CTalSection* section, const CTalPositionList& positions, uint8_t value);
    bool SetPicturesGrayscale(CTalSection* section, const CTalPositionList& positions, uint8_t value);
    bool SetPicturesNewPage(CTalSection* section, const CTalPositionList& positions, uint8_t value);
    // Each picture's own setting with "document default" made explicit, or,
    // with toDefault, every picture following the document default.
    bool ResolvePicturesUseDescription(CTalSection* section, const CTalPositionList& positions, bool toDefault);
    bool ResolvePicturesGrayscale(CTalSection* section, const CTalPositionList& positions, bool toDefault);

    static constexpr int kHandlerCount = 51;
    static constexpr int kRotateStep = 90;

private:
    typedef CKWRefPtr<CTalSection> (CTalCommander::*Handler)(CTalCommand*);
    static const Handler s_handlers[kHandlerCount];

    CTalCommandHistory* GetHistory() const;
    // True while the history has an open group.
    bool IsRecording() const;
    // Adds the inverse to the open group; deleted when none is open.
    void Record(CTalCommand* inverse);
    // Ends a step: closes the group under the label and tells the document.
    void EndStep(uint32_t label);
    // The section a command acts on, or null.
    static CKWRefPtr<CTalSection> TargetSection(CTalCommand* command);
    // The text note of a text command's section; remembered for the repair
    // at the end of a replay.
    CTalTextNote* TextOf(CTalSection* section);
    // Tells the document of a text change; the section, or null when nothing
    // changed.
    CKWRefPtr<CTalSection> TextChanged(const CKWRefPtr<CTalSection>& section, bool changed);
    // Runs one kind-2 command as a labelled step.
    CKWRefPtr<CTalSection> MoveStep(CTalSection* section, CTalSection* parent, CTalSection* previous,
                                    uint32_t label);
    // Prepares a section for the tree and runs (or does) the insertion.
    CKWRefPtr<CTalSection> PlaceSection(CTalSection* parent, CTalSection* previous, const wchar_t* text,
                                        CTalSection* existing, bool select, bool undoable,
                                        const CKWIndexDecoder* oldFonts);
    bool PropertyStep(int32_t kind, CTalSection* section, const CTalPositionList& positions,
                      const std::vector<int32_t>& values, uint32_t label);
    bool ResolveStep(int32_t kind, CTalSection* section, const CTalPositionList& positions, bool toDefault,
                     uint32_t label);

    // Sections (TalCommanderSections.cpp).
    CKWRefPtr<CTalSection> DoAddSection(CTalCommand* command);
    CKWRefPtr<CTalSection> DoRemoveSection(CTalCommand* command);
    CKWRefPtr<CTalSection> DoMoveSection(CTalCommand* command);
    CKWRefPtr<CTalSection> DoRenameSection(CTalCommand* command);
    CKWRefPtr<CTalSection> DoSetExpanded(CTalCommand* command);
    CKWRefPtr<CTalSection> DoSetTemplateName(CTalCommand* command);
    CKWRefPtr<CTalSection> DoSetOwnTemplate(CTalCommand* command);
    // Pictures (TalCommanderPictures.cpp).
    CKWRefPtr<CTalSection> DoInsertPictures(CTalCommand* command);
    CKWRefPtr<CTalSection> DoRemovePictures(CTalCommand* command);
    CKWRefPtr<CTalSection> DoMovePictures(CTalCommand* command);
    CKWRefPtr<CTalSection> DoEditPictureTitle(CTalCommand* command);
    CKWRefPtr<CTalSection> DoPictureProperty(CTalCommand* command);
    CKWRefPtr<CTalSection> DoRotatePictures(CTalCommand* command);
    // Text notes (TalCommanderText.cpp).
    CKWRefPtr<CTalSection> DoSetRunStyle(CTalCommand* command);
    CKWRefPtr<CTalSection> DoSetRunFont(CTalCommand* command);
    CKWRefPtr<CTalSection> DoSetRunSize(CTalCommand* command);
    CKWRefPtr<CTalSection> DoSetRunColor(CTalCommand* command);
    CKWRefPtr<CTalSection> DoSetRunLength(CTalCommand* command);
    CKWRefPtr<CTalSection> DoSetParaAlign(CTalCommand* command);
    CKWRefPtr<CTalSection> DoSetParaIndent(CTalCommand* command);
    CKWRefPtr<CTalSection> DoSetParaLength(CTalCommand* command);
    CKWRefPtr<CTalSection> DoInsertRun(CTalCommand* command);
    CKWRefPtr<CTalSection> DoInsertPara(CTalCommand* command);
    CKWRefPtr<CTalSection> DoRemoveRun(CTalCommand* command);
    CKWRefPtr<CTalSection> DoRemovePara(CTalCommand* command);
    CKWRefPtr<CTalSection> DoReplaceText(CTalCommand* command);
    CKWRefPtr<CTalSection> DoTextRange(CTalCommand* command);
    // Kinds without an effect.
    CKWRefPtr<CTalSection> DoNothing(CTalCommand* command);

    CTalBaseDocument* m_document;
    // The text notes changed while a group replays (only then).
    bool m_replaying = false;
    std::vector<CKWRefPtr<CTalTextNote>> m_replayedTexts;
};
