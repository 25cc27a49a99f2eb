#pragma once
// CTalDocumentLoad: what one document load gathers besides the model: what
// the image pre-pass read of the file's pictures, the page templates that
// are to be reloaded from or written to the template folder, and the picture
// files that could not be found. The serializer fills it before the parse;
// the document table's handlers read and add to it.
#include "files/XmlPrepassPictures.h"
#include "framework/KWPictureHold.h"
#include "model/TalTemplate.h"
#include "platform/classlib/String.h"

#include <cstdint>
#include <memory>
#include <vector>

class CTalTitlePageTemplate;

// The attribute of an "Image" of storage mode 0 whose file was empty when the
// document was saved: the data is the placeholder that file showed, and the
// value is the file's name, so that a later load still says so.
extern const char kTalEmptyFileAttribute[];
// The attribute of an "Image" of storage mode 0 with no data that stands for
// a placeholder whose report refused its link (pasted from that report): the
// value is the link as that report named it, or "..." and its end where the
// link is too long for the start tag; the elements naming the picture then
// carry it whole under the same name. In storage modes 1 and 2 it names a
// placeholder by such an end alone, which is no link.
extern const char kTalRefusedLinkAttribute[];

struct CTalDocumentLoad {
    CString path;
    // The "SavePicType" of the file's "Images" element as the parser reads
    // it; -1 before that element and when there is none.
    int32_t storageMode = -1;
    // What the image pre-pass read of every picture element.
    XmlPrepassPictures prepass;
    // The pictures the pre-pass stored, held until the model holds those it
    // uses: a picture no part of the document names is let go after the load.
    std::vector<CKWPictureHold> passHolds;
    // A title template found nowhere else, owned by the template manager;
    // it is written to the template folder after the parse.
    CTalTitlePageTemplate* titleToWrite = nullptr;
    // A title template whose file exists, owned by the template manager; it
    // is filled from its file after the parse.
    CTalTitlePageTemplate* titleToReload = nullptr;
    // Page templates carried by the document that are not in the template
    // manager yet (owned here until they are handed to it).
    std::vector<std::unique_ptr<CTalTemplate>> templatesToWrite;
    std::vector<std::unique_ptr<CTalTemplate>> templatesToReload;
    std::vector<CString> unopenedFiles;
    // Pictures with data that the picture store could not keep (they exist
    // only in the file read), and the system's error met at the first.
    int32_t unkept = 0;
    uint32_t unkeptError = 0;
    void NoteUnkept(uint32_t error)
    {
        if (unkept++ == 0)
            unkeptError = error;
    }
    // The problems of the template files read after the parse, each line
    // led by the file's name.
    std::vector<CString> templateProblems;
};
