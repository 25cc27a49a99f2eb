#pragma once
// CXmlPreprocessFile: the image pre-pass. Before a document or template is
// parsed, its raw bytes are scanned once, from the first byte to the last,
// for the image blocks by fixed markers; each block's Base64 text is decoded
// while it is read and stored in the picture store, so the parser never has
// to gather it. The decoded bytes are written by a thread of their own while
// the pass decodes on. Memory stays flat: one read window and a few blocks of
// decoded bytes at a time, whatever the sizes of the file and its pictures.
#include "files/Base64.h"
#include "files/XmlDigitRun.h"
#include "files/XmlFile.h"
#include "framework/KWPictureHold.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CKWProgressInterface;
class CKWWriteBehind;
class CTalTemplate;

class CXmlPreprocessFile : public CXmlFile {
public:
    static const int32_t kWindowSize = 1024 * 1024;
    static const int32_t kHeaderSize = 200;
    static const int32_t kMaxFormatLength = 6;
    static const int32_t kMaxNumberLength = 10;
    // The progress advances once per this many bytes of the file.
    static const int32_t kProgressBytes = 1024 * 1024;

    struct LeafTemplateImages {
        int32_t templateId = 0;
        int32_t previewId = 0;
        int32_t backgroundId = 0;
    };
    struct DocumentImage {
        int32_t pictureId = 0;  // in the picture store; 0 when nothing was stored
        int32_t imageId = 0;    // the ID the file gives the image
    };
    // Everything one pass found. Picture ids are 0 where a block is missing
    // or its data unusable.
    struct Images {
        // The "Images" element: its picture storage type (-1 without one)
        // and image count (10 when the count is missing).
        int32_t pictureType = -1;
        int32_t count = 10;
        // The "Image" elements after an "Images" of type 0, in file order.
        std::vector<DocumentImage> documentImages;
        // The first title preview and background anywhere.
        int32_t titlePreviewId = 0;
        int32_t titleBackgroundId = 0;
        // The first leaf preview and background anywhere (a template file's).
        int32_t leafPreviewId = 0;
        int32_t leafBackgroundId = 0;
        // Each "LeafTemplate" with a readable ID, with the first preview and
        // background before its end tag or the next template.
        std::vector<LeafTemplateImages> leafTemplates;
        // The long unbroken runs of digits of the blocks read, in file order:
        // the parser passes over them without reading them again.
        XmlDigitRuns digitRuns;
        // Every picture the pass stored or took again, held until whatever
        // uses it holds it.
        std::vector<CKWPictureHold> holds;
    };

    // Opened for reading in binary mode when a path is given.
    // A picture file the pass stores, as the writing thread sees it.
    struct StoredFile;
    // Where a block's decoded bytes go.
    class DecodedSink;

    explicit CXmlPreprocessFile(const wchar_t* path = nullptr);
    ~CXmlPreprocessFile() override;

    // What a pass decodes: a document's pictures and those of the templates
    // it carries, or only a title or a leaf template file's.
    enum class Target { Document, TitleTemplate, LeafTemplate };

    // The one pass; false when the file is not open.
    bool Scan(Images& found, CKWProgressInterface* progress = nullptr, Target target = Target::Document);
    // Sets the template's preview and background pictures (0: none); the
    // template's kind chooses the markers. True when the file is open.
    bool ReadTemplateImages(CTalTemplate* tmpl);

    // The extension a stored picture gets: the one of the image type its
    // bytes show (the claimed one when it names the same type), else the
    // claimed one when it names an image type, else "dat". No other
    // extension reaches the picture store's folder.
    static std::string StoredExtension(const uint8_t* bytes, size_t count, const std::string& claimed);

private:
    enum class Block;
    // Makes at least need bytes stand from the position on in the window,
    // reading more of the file; false when the file ends before.
    bool Ensure(int32_t need);
    // Decodes the Base64 text from the position to the block's end marker,
    // as plain text and CDATA sections, and stores it; the picture id, 0 when
    // the data is unusable. The position stays at the '<' that ended the
    // data. A long first run of digits is added to the runs.
    int32_t DecodeBlock(const char* endMarker, const char* format, CKWProgressInterface* progress,
                        XmlDigitRuns* digitRuns);
    // Decodes the text from the position to the block's end marker into the
    // sink; false when the data is unusable or the sink stopped taking it.
    bool DecodeText(const char* endMarker, CBase64::CDecoder& decoder, DecodedSink& sink,
                    CKWProgressInterface* progress);
    // The picture this document had at the position when it was read before,
    // when the store still holds its file and the block decodes to the same
    // bytes; the position is then past the data. 0, the position unchanged,
    // otherwise.
    int32_t ReuseHeldPicture(const char* endMarker, CKWProgressInterface* progress, XmlDigitRuns* digitRuns);
    // What names the data at an offset of this file in the picture store.
    std::wstring OriginAt(int64_t offset) const;
    // Reads on from the offset of the file.
    void Rewind(int64_t offset);
    void Consumed(int32_t bytes, CKWProgressInterface* progress);
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

    CKWWriteBehind* m_writer = nullptr;  // while a pass runs
    std::vector<std::shared_ptr<StoredFile>> m_stored;
    std::vector<CKWPictureHold> m_holds;  // of the pass running
    std::wstring m_path;
};
