#pragma once
// Repair of a styled text whose run or paragraph counts no longer add up to
// its length: what an undo replays against a text that has changed since.
class CKWTextData;

// The last record is lengthened, or the record in which the sum reaches the
// length is cut there and the ones after it removed; through the text's
// setters, so an open command group records the repair. True when anything
// changed. A text without runs (or paragraphs) is left so.
bool TalRepairTextSums(CKWTextData& text);
