#include "framework/RasterExportRequest.h"

#include <cstdlib>

RasterExportRequest::RasterExportRequest(const wchar_t* formatName, uint32_t maximumWidth,
                                         uint32_t maximumHeight, int32_t rotationAngle, bool grayscale)
    : format(formatName ? formatName : L""), maxWidth(maximumWidth), maxHeight(maximumHeight),
      rotation(rotationAngle), gray(grayscale ? 1 : 0)
{
}

RasterExportRequest::~RasterExportRequest()
{
    ReleaseBytes();
}

void RasterExportRequest::ReleaseBytes()
{
    std::free(bytes);
    bytes = nullptr;
    byteCount = 0;
}
