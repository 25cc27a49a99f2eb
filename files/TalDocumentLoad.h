#pragma once
// CTalDocumentLoad: what one document load gathers besides the model: the
// pictures the image pre-pass took out of the file, the page templates that
// are to be reloaded from or written to the template folder, and the picture
// files that could not be found. The serializer fills it before the parse;
// the document table's handlers read and add to it.
#include "framework/KWPictureHold.h"
#include "model/TalTemplate.h"
#include "platform/classlib/String.h"

#include <cstdint>
#include <memory>
#include <vector>

class CTalTitlePageTemplate;

struct CTalDocumentLoad {
    // A picture decoded by the pre-pass: its new id (0 when nothing could be
    // decoded) and the key the file gives it.
    struct EmbeddedPicture {
        int32_t pictureId = 0;
        int32_t key = 0;
    };
    // The pictures of a page template carried by the document.
    struct TemplatePictures {
        int32_t templateId = 0;
        int32_t previewId = 0;
        int32_t backgroundId = 0;
    };

    CString path;
    // The "SavePicType" of the file's "Images" element; -1 when there is none.
    int32_t storageMode = -1;
    int32_t titlePreviewId = 0;
    int32_t titleBackgroundId = 0;
    std::vector<EmbeddedPicture> embeddedPictures;
    // The pictures the pre-pass stored, held until the model holds those it
    // uses: a picture no part of the document names is let go after the load.
    std::vector<CKWPictureHold> passHolds;
    std::vector<TemplatePictures> templatePictures;
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
    // The problems of the template files read after the parse, each line
    // led by the file's name.
    std::vector<CString> templateProblems;

    // The picture of the first block of the key (0 when its data was
    // unusable); false when no block has the key.
    template <class Id>
    bool FindEmbedded(int32_t key, Id& pictureId) const
    {
        for (const EmbeddedPicture& picture : embeddedPictures) {
            if (picture.key == key) {
                pictureId = picture.pictureId;
                return true;
            }
        }
        return false;
    }
};
