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

#include "platform/classlib/String.h"

struct ExportPictureFile {
    CString extension;   // of the file to write, without the dot
    bool copy = false;   // the picture's file as it stands
    // A sound JPEG that records a turn or flip its reader does not make:
    // written upright by moving its coded blocks where that is exact.
    bool turnLosslessly = false;
    SIZE size = {0, 0};  // the upright size its reader shows
};

// readerTurns: the reader turns a picture by the orientation its file records
// (browsers do; PowerPoint 97 does not).
ExportPictureFile ChooseExportPictureFile(uint32_t pictureId, bool readerTurns);

// Writes the chosen file at target; a turn or grey always encodes, as does
// a JPEG to be turned upright whose lossless turn is not exact. size becomes
// the written picture's. False when the file could not be written.
bool WriteExportPictureFile(uint32_t pictureId, ExportPictureFile& file, const wchar_t* target, int32_t rotation,
                            bool grayscale);

// The size at which the exports show a picture: its upright size, what
// decodes of a damaged file, or the placeholder's when the picture cannot be read.
SIZE GetExportPictureSize(uint32_t pictureId);

// Creates or replaces the file with the bytes; false on any failure, with the
// system's error as the last error and no part of the file left.
bool WriteBinaryFile(const wchar_t* path, const void* bytes, uint32_t count);
