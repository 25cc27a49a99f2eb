#pragma once
// CTalCommand: one undoable change of the report as data: a kind (the index
// into the commander's handler table), the section it acts on and, in the
// derived classes, the payload. Commands do nothing themselves; the handlers
// of CTalCommander apply them and record their inverses.
//
// A command has one owner (the edit operation that built it, or the group it
// was recorded into) and holds one reference on every model object it names.
#include <cstdint>

#include "framework/KWRefPtr.h"

class CTalObject;

class CTalCommand {
public:
    // The handler table's kinds. The kinds missing here (17, 19, 23, 29 to 34,
    // 36, 41 to 47, 49) have handlers that do nothing.
    enum Kind : int32_t {
        kAddSection = 0,
        kRemoveSection = 1,
        kMoveSection = 2,
        kRenameSection = 3,
        kSetExpanded = 4,
        kSetTemplateName = 5,
        kSetOwnTemplate = 6,
        kInsertPictures = 7,
        kRemovePictures = 8,
        kMovePictures = 9,
        kEditPictureTitle = 10,
        kSetUseDescription = 11,
        kSetShownInReport = 12,
        kSetGrayscale = 13,
        kSetNewPage = 14,
        kRotatePictures = 15,
        kSetRunStyle = 16,
        kSetRunFont = 18,
        kSetRunSize = 20,
        kSetRunColor = 21,
        kSetRunLength = 22,
        kSetParaAlign = 24,
        kSetParaFirstLine = 25,
        kSetParaLeftIndent = 26,
        kSetParaRightIndent = 27,
        kSetParaLength = 28,
        kSetBoxColor = 35,
        kInsertRun = 37,
        kInsertPara = 38,
        kRemoveRun = 39,
        kRemovePara = 40,
        kReplaceText = 48,
        kTextRange = 50,
        kKindCount = 51,
    };

    CTalCommand(int32_t kind, CTalObject* target);
    virtual ~CTalCommand();
    CTalCommand(const CTalCommand&) = delete;
    CTalCommand& operator=(const CTalCommand&) = delete;

    // Forgets the payload objects that executing the command handed over to
    // the model, so that the destructor does not treat them as orphans.
    virtual void ReleasePayload() {}

    int32_t GetKind() const { return m_kind; }
    CKWRefPtr<CTalObject> GetTarget() const;

protected:
    CTalObject* PeekTarget() const;
    void ReleaseTarget();

private:
    int32_t m_kind;
    CKWRefPtr<CTalObject> m_target;
};
