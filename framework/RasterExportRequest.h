#pragma once
// What an export asks of the picture store when it re-encodes a picture
// (CKWRasterLib::EncodeImageForExport), and what the store gives back.
#include "platform/classlib/String.h"

#include <cstdint>

struct RasterExportRequest {
    RasterExportRequest(const wchar_t* formatName, uint32_t maximumWidth, uint32_t maximumHeight,
                        int32_t rotationAngle, bool grayscale);
    ~RasterExportRequest();
    RasterExportRequest(const RasterExportRequest&) = delete;
    RasterExportRequest& operator=(const RasterExportRequest&) = delete;

    // Frees the encoded bytes, if any.
    void ReleaseBytes();

    uint8_t* bytes = nullptr;  // encoded file image, malloc'd by the store
    uint32_t byteCount = 0;
    CString format;            // extension of the wanted format; empty: the picture's own
    uint32_t maxWidth;         // 0 and 0: no limit; on return the encoded width
    uint32_t maxHeight;        // on return the encoded height
    int32_t rotation;          // degrees, 0 none
    uint8_t flag = 1;          // not used by the store
    uint8_t gray;
    uint8_t imageType = 0;     // the library's type code of the encoded bytes
};
