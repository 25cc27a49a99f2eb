#pragma once
// The commands that give a text note back a removed run or paragraph record,
// and the one that restores replaced characters.
#include <cstdint>

#include "model/TalCommand.h"
#include "platform/classlib/String.h"

class CKWCharFormat;
class CKWParaFormat;

// Kind 37: puts the run record back at the index. The command owns the
// record until the text takes it.
class CCmdInsertCharacter : public CTalCommand {
public:
    CCmdInsertCharacter(int32_t kind, CTalObject* target, CKWCharFormat* run, int32_t index);
    ~CCmdInsertCharacter() override;
    // The text owns the record now.
    void ReleasePayload() override { m_run = nullptr; }

    CKWCharFormat* GetRun() const { return m_run; }
    int32_t GetIndex() const { return m_index; }

private:
    CKWCharFormat* m_run;
    int32_t m_index;
};

// Kind 38: puts the paragraph record back at the index (ownership as above).
class CCmdInsertParagraf : public CTalCommand {
public:
    CCmdInsertParagraf(int32_t kind, CTalObject* target, CKWParaFormat* para, int32_t index);
    ~CCmdInsertParagraf() override;
    void ReleasePayload() override { m_para = nullptr; }

    CKWParaFormat* GetPara() const { return m_para; }
    int32_t GetIndex() const { return m_index; }

private:
    CKWParaFormat* m_para;
    int32_t m_index;
};

// Kind 48: the characters [start, end) are replaced by the text.
class CCmdReplaceText : public CTalCommand {
public:
    CCmdReplaceText(int32_t kind, CTalObject* target, const CString& text, int32_t start, int32_t end)
        : CTalCommand(kind, target), m_text(text), m_start(start), m_end(end) {}
    CString GetText() const { return m_text; }
    int32_t GetStart() const { return m_start; }
    int32_t GetEnd() const { return m_end; }

private:
    CString m_text;
    int32_t m_start;
    int32_t m_end;
};
