#pragma once
// CXmlPreprocessFile: the image pre-pass. Before a document or template is
// parsed, its raw bytes are scanned once, from the first byte to the last,
// for the picture elements; the Base64 text of each is decoded while it is
// read and stored in the picture store, so the parser never has to gather
// it. The pass walks the markup as XML does (start tags with their quoted
// values, comments, processing instructions, CDATA sections, the document
// type with its internal subset), so that it meets the very start tags the
// parser meets. It takes only text it reads exactly as the XML text it
// stands for: Base64 digits, blanks and line breaks, also in CDATA sections,
// up to the element's end tag. An element whose text holds anything else
// (a reference, a comment, a character that is no digit), or whose start
// tag the pass cannot read, is left to the parser, which reads it itself.
// The decoded bytes are written by a thread of their own while the pass
// decodes on. Memory stays flat: one read window and a few blocks of decoded
// bytes at a time, whatever the sizes of the file and its pictures.
#include "files/Base64.h"
#include "files/XmlDigitRun.h"
#include "files/XmlFile.h"
#include "files/XmlPrepassPictures.h"
#include "framework/KWPictureHold.h"
#include "framework/KWSha256.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CKWProgressInterface;
class CKWWriteBehind;

class CXmlPreprocessFile : public CXmlFile {
public:
    static const int32_t kWindowSize = 1024 * 1024;
    static const int32_t kMaxFormatLength = 6;
    static const int32_t kMaxNumberLength = 10;
    // The progress advances once per this many bytes of the file.
    static const int32_t kProgressBytes = 1024 * 1024;
    // Of a name or a value the pass reads, the characters it keeps: more than
    // any name or value it asks for has.
    static const int32_t kMaxKept = 32;

    // Everything one pass found.
    struct Images {
        // The first "Images" element whose storage type could be read: that
        // type (-1 without one) and its image count (10 when the count is
        // missing). Only after one of type 0 are "Image" elements decoded.
        int32_t pictureType = -1;
        int32_t count = 10;
        // Every picture element by kind, in file order; those with data that
        // the picture store could not keep (it has no folder, or its disk is
        // full) exist only in the file read.
        XmlPrepassPictures pictures;
        // The long unbroken runs of digits of the elements taken, in file
        // order: the parser passes over them without reading them again.
        XmlDigitRuns digitRuns;
        // Every picture the pass stored or took again, held until whatever
        // uses it holds it.
        std::vector<CKWPictureHold> holds;
    };

    // A start tag as the parser reads it: its name and its attributes, of
    // which only the first kMaxKept characters are kept.
    struct StartTag {
        struct Attribute {
            std::string name;
            std::string value;
            bool whole = false;  // the value was kept whole
        };
        std::string name;
        std::vector<Attribute> attributes;  // the first kMaxAttributesKept
        bool empty = false;                 // it ends in "/>"
        // The value of the first attribute of the name, when it was kept
        // whole, holds no reference (only the parser resolves one) and has
        // at most maxLength characters.
        bool Find(const char* attribute, int32_t maxLength, std::string& value) const;
    };
    static const size_t kMaxAttributesKept = 64;

    // A picture file the pass stores, as the writing thread sees it.
    struct StoredFile;
    // Where an element's decoded bytes go.
    class DecodedSink;

    // Opened for reading in binary mode when a path is given.
    explicit CXmlPreprocessFile(const wchar_t* path = nullptr);
    ~CXmlPreprocessFile() override;

    // The one pass; false when the file is not open.
    bool Scan(Images& found, CKWProgressInterface* progress = nullptr);
    // The text of every picture the pass takes gets its digest, so that a
    // picture the store could not keep can be copied later from the file
    // while the file holds that text still.
    void DigestTexts() { m_digestTexts = true; }

    // The extension a stored picture gets: the one of the image type its
    // bytes show (the claimed one when it names the same type), else the
    // claimed one when it names an image type, else "dat". No other
    // extension reaches the picture store's folder.
    static std::string StoredExtension(const uint8_t* bytes, size_t count, const std::string& claimed);
    // The format a picture's bytes are written under, as FileFormat: the
    // image type its first bytes show (the file's extension when it names
    // the same type), else the extension when it names an image type, else
    // none. So every reader, one that takes a format of a few letters and
    // digits only as well, reads the picture and stores it under its type.
    // The first bytes of a picture that show its image type.
    static const size_t kTypeBytes = 8;
    static std::string WrittenFormat(const uint8_t* bytes, size_t count, const std::string& extension);

    // A picture of the store whose file can no longer be read, decoded anew
    // from the text it was read from or written to (the store's record of
    // it) into a new file of the store, which hold then holds: its id, 0
    // when that file changed since or its text no longer gives the very
    // bytes of the record's digest (nothing is then kept).
    static uint32_t RestorePicture(uint32_t id, CKWPictureHold& hold);
    // The store's records of the pictures this pass takes name the file the
    // user opened, which this one is the UTF-8 copy of.
    void SetRecordedFile(const wchar_t* file) { m_recordedFile = file ? file : L""; }

    // Stores decoded bytes as a new picture of the store under the extension
    // StoredExtension gives: its id, 0 for no bytes or a failed write (then
    // told unkept, with the system's error).
    static XmlPrepassPicture StorePicture(const uint8_t* bytes, size_t count, const std::string& claimed);

private:
    // Makes at least need bytes stand from the position on in the window,
    // reading more of the file; false when the file ends before.
    bool Ensure(int32_t need);
    // Decodes the Base64 text from the position to the element's end tag, as
    // plain text and CDATA sections, and stores it. Not taken when anything
    // else stands before the end tag; the position then stays where that
    // begins (past the CDATA section it stands in), else at the end tag. The
    // long runs of digits are added to the runs.
    XmlPrepassPicture DecodeBlock(const char* endMarker, const char* format, CKWProgressInterface* progress,
                                  XmlDigitRuns* digitRuns);
    // What decoding an element's text gave: whether the text ran to the
    // element's end tag with nothing else before it, and whether the sink
    // took every decoded byte (there being at least one).
    struct DecodedText {
        bool ended = false;
        bool put = false;
    };
    // Decodes the text from the position to the element's end tag into the
    // sink, as DecodeBlock reads it; its long runs of digits go to the runs.
    DecodedText DecodeText(const char* endMarker, CBase64::CDecoder& decoder, DecodedSink& sink,
                           CKWProgressInterface* progress, XmlDigitRuns& runs);
    // The picture this document had at the position when it was read before,
    // when the store still holds its file and the element's text decodes to
    // the same bytes; the position is then past the text. 0, the position
    // unchanged, otherwise.
    int32_t ReuseHeldPicture(const char* endMarker, CKWProgressInterface* progress, XmlDigitRuns* digitRuns);
    // What names the data at an offset of this file in the picture store.
    std::wstring OriginAt(int64_t offset) const;
    // Reads on from the offset of the file.
    void Rewind(int64_t offset);
    // Passes over a comment, processing instruction, CDATA section or
    // declaration that stands at the position: the pass reads no element
    // where the parser sees none. False when none stands there.
    bool SkipMarkup(CKWProgressInterface* progress, bool inSubset = false);
    // Passes over the rest of a declaration after its "<!": literals in
    // quotes and, with withSubset, the document type's internal subset,
    // whose comments and instructions may hold any text, belong to it.
    void SkipDeclaration(CKWProgressInterface* progress, bool withSubset);
    void SkipInternalSubset(CKWProgressInterface* progress);
    // Reads the start tag at the position (its '<') to its '>', quoted
    // values whole; false, the position at what the pass cannot read, when
    // the tag is not one the parser reads.
    bool ReadStartTag(StartTag& tag, CKWProgressInterface* progress);
    // The name at the position, to the first blank, '=', '/', '>', '<' or
    // quote; at most kMaxKept characters are kept.
    void ReadName(std::string& name, CKWProgressInterface* progress);
    void SkipBlanks(CKWProgressInterface* progress);
    // The byte at the position; -1 at the end of the file.
    int Peek();
    // Moves the position past the next occurrence of the text (to the end
    // of the file when there is none); with kept, the bytes passed over go
    // there, at most kMaxKept of them. How many bytes stood before the
    // text; -1 when it was not found.
    int64_t SkipPast(const char* text, CKWProgressInterface* progress, std::string* kept = nullptr);
    static const char kCDataStart[10];
    static const char kCDataEnd[4];
    void Consumed(int64_t bytes, CKWProgressInterface* progress);
    // True when the text stands at the position (more of the file is read
    // when needed).
    bool StandsAt(const char* text);
    // Moves the position on over bytes that are in the window.
    void Skip(int32_t bytes, CKWProgressInterface* progress);

    std::unique_ptr<char[]> m_window;
    int64_t m_windowStart = 0;  // the file offset of the window's first byte
    int32_t m_position = 0;     // in the window
    int32_t m_end = 0;       // bytes held in the window
    bool m_atEnd = false;    // the file has no more bytes to read
    int64_t m_sinceProgress = 0;
    // The files a pass stored are checked once all is written: a file whose
    // writing failed gives no picture.
    void ForgetFailedFiles(Images& found);

    bool m_digestTexts = false;
    CKWSha256* m_textDigest = nullptr;  // while a picture's text is read, when it is digested
    CKWWriteBehind* m_writer = nullptr;  // while a pass runs
    std::vector<std::shared_ptr<StoredFile>> m_stored;
    // The pictures whose text this pass read, stored or taken again.
    std::vector<std::shared_ptr<StoredFile>> m_taken;
    std::vector<CKWPictureHold> m_holds;  // of the pass running
    std::wstring m_path;
    std::wstring m_recordedFile;
};
