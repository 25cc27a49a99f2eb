#pragma once
// CTalTextNote: the text note of a section: a report model object and a
// laid-out styled text at once. The styled text calls its hooks before every
// elementary change; the note answers each by recording the inverse command
// into the document's open command group, which makes text editing undoable
// without the text engine knowing about commands. Outside an open group (or
// outside a tree) nothing is recorded.
#include "model/TalObject.h"
#include "text/KWTextObject.h"

class CTalTextNote : public CTalObject, public CKWTextObject {
public:
    explicit CTalTextNote(CTalSection* parent = nullptr);
    ~CTalTextNote() override;

    // The text-object body (styled text, then the placement rectangle).
    bool Serialize(CKWArchive& ar) override;
    // The parent section's table (the note's own field is not used); null
    // without a parent. Serves both the model and the styled text.
    CKWIndexDecoder* GetFontTable() const override;

    // Recording hooks. Each returns true when it recorded a command.
    bool OnRemoveRun(int index) override;
    bool OnRemovePara(int index) override;
    bool OnInsertRun(int index) override;
    bool OnInsertPara(int index) override;
    bool OnSetRunStyle(int index) override;
    bool OnSetRunSize(int index) override;
    bool OnSetRunColor(int index) override;
    bool OnSetRunFont(int index) override;
    bool OnSetRunLength(int index) override;
    bool OnSetParaAlign(int index) override;
    bool OnSetParaLeftIndent(int index) override;
    bool OnSetParaRightIndent(int index) override;
    bool OnSetParaFirstLine(int index) override;
    bool OnSetParaLength(int index) override;
    bool OnSetBoxColor() override;
    bool OnBeforeReplace(int start, int end, int length) override;

private:
    // The history when it has an open group, else null.
    CTalCommandHistory* GetRecordingHistory() const;
    bool IsRunIndex(int index) const { return index >= 0 && index < GetRunCount(); }
    bool IsParaIndex(int index) const { return index >= 0 && index < GetParaCount(); }
};
