#pragma once
// The sizes of pictures as independent readers see them: JPEG files decoded
// whole by libjpeg-turbo, PNG files by their header, and the image objects of
// a PDF file with their JPEG data decoded.
#include <windows.h>

#include <turbojpeg.h>

#include <cstdint>
#include <regex>
#include <string>
#include <vector>

namespace test_support {

// The width and height of a JPEG or PNG file read by libjpeg-turbo and by the
// PNG header; 0 x 0 for anything else or a JPEG that does not decode whole.
inline SIZE PictureSize(const std::string& bytes)
{
    SIZE size = {0, 0};
    if (bytes.compare(0, 8, "\x89PNG\r\n\x1A\n") == 0 && bytes.size() > 24) {
        auto be32 = [&](size_t at) {
            return LONG(uint8_t(bytes[at])) << 24 | LONG(uint8_t(bytes[at + 1])) << 16 |
                   LONG(uint8_t(bytes[at + 2])) << 8 | LONG(uint8_t(bytes[at + 3]));
        };
        size.cx = be32(16);
        size.cy = be32(20);
        return size;
    }
    tjhandle tj = tjInitDecompress();
    const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data());
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(tj, data, static_cast<unsigned long>(bytes.size()), &width, &height, &subsampling,
                            &colourspace) == 0) {
        std::vector<unsigned char> pixels(size_t(width) * height * 4);
        if (tjDecompress2(tj, data, static_cast<unsigned long>(bytes.size()), pixels.data(), width, width * 4, height,
                          TJPF_BGRX, TJFLAG_STOPONWARNING) == 0) {
            size.cx = width;
            size.cy = height;
        }
    }
    tjDestroy(tj);
    return size;
}

// The sizes of the image objects of a PDF, in the file's order; the DCT
// ones are decoded to prove their size (-1 x -1 when the data do not decode
// whole at the size the object states).
inline std::vector<SIZE> PdfImageSizes(const std::string& pdf)
{
    std::vector<SIZE> sizes;
    static const std::regex image("/Subtype /Image\r\n/Width (\\d+)\r\n/Height (\\d+)\r\n");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), image); it != std::sregex_iterator(); ++it) {
        SIZE size = {std::stol((*it)[1].str()), std::stol((*it)[2].str())};
        const size_t stream = pdf.find("stream\r\n", size_t(it->position()));
        if (pdf.find("/DCTDecode", size_t(it->position())) < stream) {
            const size_t end = pdf.find("\r\nendstream", stream);
            const SIZE decoded = PictureSize(pdf.substr(stream + 8, end - stream - 8));
            if (decoded.cx != size.cx || decoded.cy != size.cy)
                size.cx = size.cy = -1;
        }
        sizes.push_back(size);
    }
    return sizes;
}

}  // namespace test_support
