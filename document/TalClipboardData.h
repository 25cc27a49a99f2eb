#pragma once
// The report's own clipboard formats and the moves of their records and of
// images through an open clipboard.
//
// "Tallier Objects" (a section with its subtree), "Tallier Pictures" and
// "Tallier Picture Files" are registered by name on first use, so the editor's
// globals for the same names get the same numbers.
#include "framework/KWPictureHold.h"

#include <windows.h>

#include <cstdint>
#include <vector>

class CKWClipboard;
class CKWSerialData;

UINT TalObjectsClipboardFormat();
UINT TalPicturesClipboardFormat();
UINT TalPictureFilesClipboardFormat();

// Serializes the record and, when that gave a block, opens the clipboard
// for the owner, empties it and puts the block under the format; false when
// nothing was put (the clipboard is then left as it was).
bool PutClipboardRecord(HWND owner, UINT format, CKWSerialData& record);
// Loads the record from the format's data, read within its block; false when
// the format is absent, its data unreadable or the record refused it.
bool GetClipboardRecord(const CKWClipboard& clipboard, UINT format, CKWSerialData& record);

// The records name their pictures by the paths of their files: the pictures
// of the record put last stay held while the clipboard holds it, so that a
// paste after their report closed still finds them.
void HoldClipboardPictures(std::vector<CKWPictureHold> holds);
// Lets them go once the clipboard holds something else; called when the
// program is idle.
void ReleaseReplacedClipboardPictures();

// The image data of a clipboard format as bytes the raster library decodes:
// CF_BITMAP (a handle) as a packed DIB, other formats as their block.
bool GetClipboardImageBytes(const CKWClipboard& clipboard, UINT format, std::vector<uint8_t>& bytes);
