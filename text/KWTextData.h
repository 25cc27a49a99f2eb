#pragma once
// CKWTextData: the model of one formatted text: a UTF-16 string whose
// paragraphs are separated by line feeds, a vector of character runs and a
// vector of paragraph records, the counts of each adding up to the text length.
//
// Every change goes through the operations below. Each calls a virtual hook
// with the record index before a field changes and a notification after it:
// the report's text note overrides the hooks to record undoable commands, the
// laid-out text overrides the notifications to drop stale measurements.
#include <cstdint>
#include <vector>

// commdlg.h (through windows.h) maps ReplaceText to ReplaceTextW: where the
// system headers come first, the text's own operation keeps its name. Where
// they come later, a call of it fails to compile, never links to another name.
#ifdef ReplaceText
#undef ReplaceText
#endif

#include "framework/KWColor.h"
#include "platform/classlib/String.h"
#include "text/KWCharFormat.h"
#include "text/KWParaFormat.h"

class CKWArchive;
class CKWIndexDecoder;

// Attributes of the box the text is shown in. Only the growth mode has a
// meaning to the engine; the rest is kept, copied and (but the last) stored.
struct CKWTextBoxAttributes {
    // Where a laid-out text gives or takes room when an edit changes its height.
    enum : uint8_t { kGrowDown = 0, kGrowBoth = 1, kGrowUp = 2 };

    uint8_t growMode = kGrowDown;
    uint32_t values[4] = {0, 0, 0, 0};
    CKWColor color = CKWColor(CKWColor::KindRgb, 0, 1);
    uint32_t extra = 0;  // copied, never stored
};

class CKWTextData {
public:
    CKWTextData();
    virtual ~CKWTextData();
    CKWTextData(const CKWTextData&) = delete;
    CKWTextData& operator=(const CKWTextData&) = delete;

    // Deep copy of text, runs, paragraphs and box attributes (no hooks).
    virtual void Copy(const CKWTextData& source);
    virtual bool IsReadOnly() const { return m_readOnly != 0; }

    // Hooks, called before the change with the record index. OnRemoveRun and
    // OnRemovePara return true when they took the record over (it is then not
    // freed); the other results are flags the engine does not act on.
    virtual bool OnRemoveRun(int index) { return false; }
    virtual bool OnRemovePara(int index) { return false; }
    virtual bool OnInsertRun(int index) { return false; }
    virtual bool OnInsertPara(int index) { return false; }
    virtual bool OnSetRunStyle(int index) { return false; }
    virtual bool OnSetRunSize(int index) { return false; }
    virtual bool OnSetRunColor(int index) { return false; }
    virtual bool OnSetRunFont(int index) { return false; }
    virtual bool OnSetRunVertical(int index) { return false; }
    virtual bool OnSetRunSpacing(int index) { return false; }
    virtual bool OnSetRunLength(int index) { return false; }
    virtual bool OnSetParaAlign(int index) { return false; }
    virtual bool OnSetParaLeftIndent(int index) { return false; }
    virtual bool OnSetParaRightIndent(int index) { return false; }
    virtual bool OnSetParaFirstLine(int index) { return false; }
    virtual bool OnSetParaSpaceBefore(int index) { return false; }
    virtual bool OnSetParaSpaceAfter(int index) { return false; }
    virtual bool OnSetParaLineSpacing(int index) { return false; }
    virtual bool OnSetParaLength(int index) { return false; }
    // Before the box attributes' colour changes; nothing in the engine calls it.
    virtual bool OnSetBoxColor() { return false; }
    // Before the characters [start, end) are replaced by length characters.
    virtual bool OnBeforeReplace(int start, int end, int length) { return false; }

    // The table that resolves the runs' font indices; none by default.
    virtual CKWIndexDecoder* GetFontTable() const { return nullptr; }
    // Each run's font is looked up by name in the old table and re-registered
    // in the new one.
    virtual void RemapFonts(CKWIndexDecoder* newTable, const CKWIndexDecoder* oldTable);

    // Notifications, after a change.
    virtual void OnTextChanged() {}
    virtual void OnRunsChanged() {}
    virtual void OnParasChanged() {}

    // --- Reading ---
    const CString& GetText() const { return m_text; }
    int GetLength() const { return m_text.GetLength(); }
    // The characters [start, end) as a new string (clamped to the text).
    CString GetTextRange(int start, int end) const;
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly ? 1 : 0; }
    CKWTextBoxAttributes& GetBoxAttributes() { return m_box; }
    const CKWTextBoxAttributes& GetBoxAttributes() const { return m_box; }

    int GetRunCount() const { return static_cast<int>(m_runs.size()); }
    int GetParaCount() const { return static_cast<int>(m_paras.size()); }
    // The record at the index; the default record for an index out of range.
    const CKWCharFormat& GetRun(int index) const;
    const CKWParaFormat& GetPara(int index) const;
    // The record itself, null for an index out of range.
    CKWCharFormat* GetRunPtr(int index);
    CKWParaFormat* GetParaPtr(int index);

    // The first run from fromIndex whose end (runEnd, which the caller sets to
    // that run's start, accumulates the counts) lies beyond pos. Past the end:
    // runEnd = text length and the last index (-1 without runs).
    int GetRunIndexAtPos(int pos, int fromIndex, int& runEnd) const;
    int GetParaIndexAtPos(int pos, int fromIndex, int& paraEnd) const;
    // The index of the run holding pos.
    int GetRunIndexAt(int pos) const;
    // The run holding pos (a position on a run's end belongs to the next run),
    // continuing a scan from *index / *runEnd when both are given; run ends are
    // clamped to the text length; the default record when there are no runs.
    const CKWCharFormat& LocateRun(int pos, int* index = nullptr, int* runEnd = nullptr) const;
    const CKWParaFormat& LocateParaAt(int pos, int* index = nullptr, int* paraEnd = nullptr) const;

    // The format common to [start, end): the run holding start, with the bits
    // of the fields that differ somewhere in the range cleared from mask.
    const CKWCharFormat& GetCommonCharFormat(int start, int end, uint32_t& mask) const;
    const CKWParaFormat& GetCommonParaFormat(int start, int end, uint32_t& mask) const;

    // --- Record changes (hook, store, notification) ---
    bool SetRunStyle(int index, uint8_t style);
    bool SetRunFont(int index, uint32_t fontIndex);
    bool SetRunSize(int index, int16_t size);
    bool SetRunColor(int index, const CKWColor& color);
    bool SetParaAlign(int index, uint8_t align);
    bool SetParaLeftIndent(int index, double indent);
    bool SetParaRightIndent(int index, double indent);
    bool SetParaFirstLine(int index, double indent);
    // Hook and store only: no notification.
    bool SetRunLength(int index, uint32_t count);
    bool SetParaLength(int index, uint32_t count);

    // Ownership of the record passes to the text (false, and it stays the
    // caller's, for an index beyond the count).
    bool InsertRun(int index, CKWCharFormat* run);
    bool InsertPara(int index, CKWParaFormat* para);
    void AppendRun(CKWCharFormat* run);
    void AppendPara(CKWParaFormat* para);
    void RemoveRun(int index);
    void RemovePara(int index);
    // Free every record (no hooks).
    void ClearRuns();
    void ClearParas();

    // --- Text changes ---
    // Replaces [start, end) by length characters (deletes them when length is
    // 0) without touching runs or paragraphs.
    void ReplaceRange(const wchar_t* text, int length, int start, int end);
    // length < 0: up to the terminating zero; end < 0: the text end. Keeps the
    // runs and paragraphs in step (AdjustFormats), then ReplaceRange.
    void ReplaceText(const wchar_t* text, int length, int start, int end);
    // Replaces the whole text unless read-only.
    void SetText(const wchar_t* text, int length = -1);
    // Sets the string directly, without notification and without touching the
    // records; the document reader follows it with NormalizeRuns.
    void AssignText(const CString& text) { m_text = text; }

    // Keeps runs and paragraphs in step with a replacement of [start, end) by
    // insertLength characters; inserted text takes the format before it.
    void AdjustFormats(int start, int end, int insertLength);

    // A place in the runs, kept by a caller that goes through ranges from
    // the text's start towards its end, so that each range's runs are found
    // from the last range's rather than from the first run: a run's index
    // and the position where it starts. The runs before it must not change
    // between the calls but through them.
    struct RunCursor {
        int index = 0;
        int start = 0;
    };

    // Make the range ends fall on record boundaries; the first index of the
    // range is returned, the last stored in lastIndex.
    int SplitRunsAt(int start, int end, int& lastIndex);
    int SplitParasAt(int start, int end, int& lastIndex);
    void EnsureOneRun();
    void EnsureOnePara();

    // Applies the fields of request.m_count's mask to [start, end) (the
    // paragraph version to the whole paragraphs touched).
    void SetCharFormatInRange(int start, int end, const CKWCharFormat& request);
    // The same, searching from the cursor (one past the range's start is not
    // used), which is left at the last run of the range.
    void SetCharFormatInRange(int start, int end, const CKWCharFormat& request, RunCursor& cursor);
    void SetParaFormatInRange(int start, int end, const CKWParaFormat& request);

    // Drops empty runs, merges equal neighbours and makes both sums match the
    // text length.
    void NormalizeRuns();

    // start back to the start of its paragraph, end on past the next line feed.
    void ExpandToParagraphs(int& start, int& end) const;

    // Stores or loads runs, paragraphs, box attributes and text. A load may
    // throw the archive's exception, leaving what was read so far. Not virtual:
    // the report's text note has a Serialize of its own model base.
    void Serialize(CKWArchive& ar);

protected:
    // Makes the run counts add up to the text length: the last run is
    // lengthened, or the run in which the sum reaches the length cut and the
    // runs after it dropped. withHooks: through SetRunLength and RemoveRun.
    void RepairRunSum(bool withHooks);
    void RepairParaSum(bool withHooks);

private:
    bool ApplyCharRequest(int index, const CKWCharFormat& request, bool dryRun);
    // SplitRunsAt searching from the cursor; the cursor is left at the last
    // run of the range.
    int SplitRunsFrom(int start, int end, int& lastIndex, RunCursor& cursor);
    bool ApplyParaRequest(int index, const CKWParaFormat& request, bool dryRun);
    void FreeRun(int index);
    void FreePara(int index);

    uint8_t m_readOnly = 0;
    CString m_text;
    std::vector<CKWCharFormat*> m_runs;
    std::vector<CKWParaFormat*> m_paras;
    CKWTextBoxAttributes m_box;
};
