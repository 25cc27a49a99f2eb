#pragma once
// The photographs the benchmarks measure with: photo-like JPEGs of 5 to 24
// megapixels and about 2 to 16 MB, with the EXIF and XMP segments cameras
// write, a third of them recorded sideways (orientation 6 or 8). They are
// made once and kept in their folder between runs.
#include "tests/support/TestJpegs.h"
#include "tests/support/TestPictureFiles.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The cameras: size, quality and grain of their photographs.
struct Camera {
    uint32_t width, height;
    int quality, grain;
};
const Camera kCameras[] = {
    {2592, 1944, 90, 18}, {3264, 2448, 92, 18}, {4000, 3000, 92, 20},
    {4608, 3456, 93, 22}, {5184, 3888, 94, 24}, {6000, 4000, 96, 28},
};
const uint16_t kOrientations[] = {1, 1, 6, 1, 8, 1};

// What a photograph carries besides its picture: XMP metadata and a comment
// that makes every file differ.
std::string Metadata(int index)
{
    std::string xmp = "http://ns.adobe.com/xap/1.0/";
    xmp += '\0';
    xmp += "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>";
    xmp += std::string(6000, ' ') + "</rdf:RDF></x:xmpmeta>";
    std::string segments = "\xFF\xE1";
    testpictures::Put16(segments, uint16_t(xmp.size() + 2), true);
    segments += xmp;
    const std::string comment = "photograph " + std::to_string(index);
    segments += "\xFF\xFE";
    testpictures::Put16(segments, uint16_t(comment.size() + 2), true);
    return segments + comment;
}

int64_t FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

bool WriteWhole(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    const bool ok = ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &put, nullptr) && put == bytes.size();
    return ::CloseHandle(file) && ok;
}

// The camera of the given size ("4000x3000"); null when none makes it.
const Camera* FindCamera(const char* size)
{
    for (const Camera& camera : kCameras) {
        if (std::to_string(camera.width) + "x" + std::to_string(camera.height) == size)
            return &camera;
    }
    return nullptr;
}

// The camera and the recorded orientation of photograph number index.
size_t CameraIndexOf(int index, const Camera* only)
{
    return only ? size_t(only - kCameras) : size_t(index) % (sizeof kCameras / sizeof kCameras[0]);
}
uint16_t OrientationOf(int index, const Camera* only)
{
    return kOrientations[size_t(only ? index : index / int(sizeof kCameras / sizeof kCameras[0])) % 6];
}

// Makes the photographs that are not in the folder yet; their paths. With a
// camera, all come from that one (named after its size), a third still
// recorded sideways.
std::vector<std::wstring> MakePhotographs(const std::wstring& folder, int count, int64_t& bytes,
                                          const Camera* only = nullptr)
{
    std::vector<std::string> bodies(sizeof kCameras / sizeof kCameras[0]);
    std::vector<std::wstring> paths;
    bytes = 0;
    for (int i = 0; i < count; ++i) {
        const size_t camera = CameraIndexOf(i, only);
        const uint16_t orientation = OrientationOf(i, only);
        wchar_t name[64];
        if (only)
            std::swprintf(name, 64, L"IMG_%ux%u_%04d_%u.jpg", only->width, only->height, i + 1, unsigned(orientation));
        else
            std::swprintf(name, 64, L"IMG_%04d_%u.jpg", i + 1, unsigned(orientation));
        const std::wstring path = folder + name;
        if (FileSize(path) <= 0) {
            if (bodies[camera].empty()) {
                const Camera& c = kCameras[camera];
                std::printf("  making a %u x %u photograph...\n", c.width, c.height);
                bodies[camera] = testpictures::EncodeJpeg(
                    testpictures::PhotoPixels(c.width, c.height, uint32_t(camera) + 1, c.grain), c.width, c.height,
                    TJPF_RGB, c.quality);
            }
            const std::string& body = bodies[camera];
            const std::string file = body.substr(0, 2) + testpictures::ExifSegment(orientation, i % 2 != 0) +
                                     Metadata(i) + body.substr(2);
            if (body.empty() || !WriteWhole(path, file)) {
                std::printf("cannot make %ls\n", path.c_str());
                return {};
            }
        }
        bytes += FileSize(path);
        paths.push_back(path);
    }
    return paths;
}

// count names for the photographs in the folder's sub-folder, each a hard
// link to one of them (a copy's path where linking is refused), so that every
// picture is a file of its own that is read and scaled.
std::vector<std::wstring> LinkedPictures(const std::wstring& folder, const std::vector<std::wstring>& photos,
                                         int count, const wchar_t* subFolder)
{
    const std::wstring links = folder + subFolder + L"\\";
    ::CreateDirectoryW(links.c_str(), nullptr);
    std::vector<std::wstring> paths;
    int refused = 0;
    for (int i = 0; i < count; ++i) {
        wchar_t name[32];
        std::swprintf(name, 32, L"P%05d.jpg", i + 1);
        const std::wstring path = links + name;
        const std::wstring& photo = photos[size_t(i) % photos.size()];
        if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
            !::CreateHardLinkW(path.c_str(), photo.c_str(), nullptr)) {
            ++refused;
            paths.push_back(photo);
            continue;
        }
        paths.push_back(path);
    }
    if (refused)
        std::printf("%d links refused: those pictures repeat a photograph\n", refused);
    return paths;
}

// The folder named by the argument (with a final backslash), else the
// photographs' own folder in TEMP; made when missing.
std::wstring FolderArgument(int argc, char** argv, int index, const std::wstring& otherwise = std::wstring())
{
    std::wstring folder = otherwise;
    if (folder.empty()) {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"pdf_bench\\";
    }
    if (argc > index) {
        const std::string given = argv[index];
        folder.assign(given.begin(), given.end());
        if (folder.back() != L'\\')
            folder += L'\\';
    }
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

}  // namespace
