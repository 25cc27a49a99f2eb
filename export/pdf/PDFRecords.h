#pragma once
// The records that the layout pass of the PDF writer fills and the object
// writers read: one per page, one per distinct image, one per distinct font.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/classlib/String.h"

struct PDFPageRecord {
    CString name;   // the export page's name, shown by its outline entry
    float width = 0;   // points
    float height = 0;  // points
    std::vector<uint32_t> fonts;   // indices into the font records, each once
    std::vector<uint32_t> images;  // indices into the image records, one per picture object
};

struct PDFImageRecord {
    uint32_t key = 0;       // the image record key; its resource name is /I and the key
    int32_t rotation = 0;   // degrees, as the picture object gives it
    uint8_t grayscale = 0;
    // The picture's JPEG file is to go in as it is; its pixels stand as the
    // file stores them, which the placement turns upright by the orientation
    // the file records (1: upright already, as every re-encoded picture is).
    bool passThrough = false;
    uint8_t orientation = 1;
};

struct PDFFontRecord {
    uint32_t key = 0;     // the font key; its resource name is /F and the key as a signed number
    std::string ansiName;  // the face in the ANSI code page
    CString name;          // the face
    uint8_t style = 0;     // bit 0 bold, bit 1 italic
    uint8_t symbol = 0;
    std::vector<uint16_t> codes;       // every UTF-16 code unit shown in this font, once each
    std::vector<uint32_t> advances;    // per code, thousandths of the em (filled when the font is written)
    std::vector<uint8_t> fontFile;     // the font to embed (filled when the font is written)
};

// The image record key of a picture: image key, quarter turns and grey flag.
// The rotation is taken modulo 360, so a negative or a full turn names the
// same image as its equivalent.
uint32_t PDFImageRecordKey(uint32_t imageKey, int32_t rotation, bool grayscale);

// The rotation reduced to 0..359 degrees.
int32_t PDFNormalizeRotation(int32_t rotation);
