#pragma once
// CTalPictureKinds: what a clipboard or drag-and-drop record says of its
// pictures that travel without a file, so that each pastes as what it was:
// a placeholder of no file (a report named no readable picture) stays one,
// named as its report named it; a picture the picture store could not keep
// stays one, with the system's error met and the report it came in. The
// record closes the one that holds the picture bodies, where a reader that
// knows nothing of it passes over it.
#include <cstdint>
#include <vector>

class CKWArchive;
class CTalPicture;
class CTalSection;

class CTalPictureKinds {
public:
    enum : uint8_t { kTag = 6 };
    enum : uint8_t { kNone = 0, kFileless = 1, kUnkept = 2 };

    // The pictures of a subtree in one order, which the copy and its source share.
    static void Collect(CTalSection* root, std::vector<CTalPicture*>& pictures);
    // Writes the record when a picture has no file; else nothing.
    static void Store(CKWArchive& ar, const std::vector<CTalPicture*>& pictures);
    // Reads the record when the open one holds it, and gives every picture
    // read without a file what it was. A block made before the record was
    // known gives each of them a picture the store could not keep, as it did.
    static void Load(CKWArchive& ar, const std::vector<CTalPicture*>& pictures);
};
