#pragma once
// How a picture reaches the folder of an HTML or PowerPoint export as a file
// its reader shows as our own decoder shows the picture: copied as it stands
// when it is a sound file of a format every such reader shows (JPEG, PNG,
// GIF, BMP) and the reader sees it upright; otherwise encoded by the raster
// library from what it reads (the placeholder for a picture it cannot read),
// as JPEG for a JPEG source and PNG for any other. A damaged file is never
// copied: what decodes of it is encoded (the placeholder when nothing does).
#include <windows.h>

#include <cstdint>
#include <memory>

#include "platform/classlib/String.h"

class ExportFileBytes;

struct ExportPictureFile {
    CString extension;   // of the file to write, without the dot
    bool copy = false;   // the picture's file as it stands
    SIZE size = {0, 0};  // the upright size its reader shows
    // A JPEG file to copy, held as it was checked: the copy writes these very
    // bytes, so the file is read once.
    std::shared_ptr<ExportFileBytes> checked;
};

// readerTurns: the reader turns a picture by the orientation its file records
// (browsers do; PowerPoint 97 does not).
ExportPictureFile ChooseExportPictureFile(uint32_t pictureId, bool readerTurns);

// Writes the chosen file at target; a turn or grey always encodes. size
// becomes the written picture's. False when the file could not be written.
bool WriteExportPictureFile(uint32_t pictureId, ExportPictureFile& file, const wchar_t* target, int32_t rotation,
                            bool grayscale);

// The size at which the exports show a picture: its upright size, what
// decodes of a damaged file, or the placeholder's when the picture cannot be read.
SIZE GetExportPictureSize(uint32_t pictureId);

// Creates or replaces the file with the bytes; false on any failure.
bool WriteBinaryFile(const wchar_t* path, const void* bytes, uint32_t count);
