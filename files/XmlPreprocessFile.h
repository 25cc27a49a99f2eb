#pragma once
// CXmlPreprocessFile: the image pre-pass. Before a document or template is
// parsed, its raw bytes are scanned for the image blocks by fixed markers;
// each block's Base64 text is decoded and stored in the picture store, so
// the parser never has to gather it. The file is never loaded whole: a scan
// window, a 200-byte element header and one image's bytes at a time.
#include "files/XmlFile.h"

#include <cstdint>
#include <memory>

class CTalTemplate;

class CXmlPreprocessFile : public CXmlFile {
public:
    static const int32_t kWindowSize = 102400;
    static const int32_t kHeaderSize = 200;
    static const int32_t kMaxFormatLength = 6;
    static const int32_t kMaxNumberLength = 10;

    struct LeafTemplateImages {
        int32_t templateId = 0;
        int32_t previewId = 0;
        int32_t backgroundId = 0;
    };
    struct DocumentImage {
        int32_t pictureId = 0;  // in the picture store; 0 when nothing was stored
        int32_t imageId = 0;    // the ID the file gives the image
    };

    // Opened for reading in binary mode when a path is given.
    explicit CXmlPreprocessFile(const wchar_t* path = nullptr);
    ~CXmlPreprocessFile() override;

    // Finds the marker at or after the position and moves the position to
    // it; a pointer to it in the scan window, or null.
    const char* FindMarker(int32_t& position, const char* marker);
    // Decodes the block between the start marker's element header and the
    // end marker into the picture store; the new picture id, or 0. After a
    // block the position stands at its end marker.
    int32_t ExtractImage(const char* startMarker, const char* endMarker, int32_t& position,
                         bool* startFound = nullptr);
    // Sets the template's preview and background pictures (0: none); the
    // template's kind chooses the markers. True when the file is open.
    bool ReadTemplateImages(CTalTemplate* tmpl);
    // The title template embedded in a document.
    bool ReadTitleTemplateImages(int32_t& previewId, int32_t& backgroundId);
    // The next page template embedded in a document; false when there is none.
    bool ReadLeafTemplateImages(int32_t& position, LeafTemplateImages& result);
    // The "Images" element: picture storage type and image count (10 when
    // the count is missing); true once the type was read.
    bool ReadImagesHeader(int32_t& pictureType, int32_t& count);
    // The next "Image" element; false when there is none. An element whose
    // header or data is unusable gives picture id 0 and the scan goes on.
    bool ReadDocumentImage(int32_t& position, DocumentImage& result);

private:
    // The element header at the position, cut at its first '>' (which is
    // kept); its length, 0 when nothing could be read.
    int32_t ReadHeader(int32_t position, char (&header)[kHeaderSize + 1]);
    // Decodes length bytes of Base64 text from the position and stores them.
    int32_t StoreImage(int32_t position, int32_t length, const char* format);

    std::unique_ptr<char[]> m_window;
};
