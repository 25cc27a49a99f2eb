// JPEG files made with libjpeg-turbo for tests and benchmarks: photograph-like
// pixels (light falling across the frame, detail of several sizes, sensor
// noise) encoded baseline or progressive, in colour, grey or CMYK.
#pragma once

#include <turbojpeg.h>

#include <cstdint>
#include <string>

namespace testpictures {

// R, G, B rows, top row first. noise: the amplitude of the grain (0 to 64).
inline std::string PhotoPixels(uint32_t width, uint32_t height, uint32_t seed, int noise = 12)
{
    std::string rgb(size_t(width) * height * 3, '\0');
    uint32_t state = seed * 2654435761u + 1;
    const int amplitude = noise < 1 ? 1 : noise;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int grain = int(state >> 24) % amplitude - amplitude / 2;
            // Broad light, a mid-sized pattern and fine texture.
            const int light = int(160 * (x + y) / (width + height + 1));
            const int pattern = ((x / 37 + y / 23 + seed) % 5) * 12;
            const int fine = ((x * 7 + y * 13) % 17) * 2;
            const int base[3] = {40 + light + pattern, 60 + light / 2 + fine * 2, 90 + pattern - fine};
            char* p = &rgb[(size_t(y) * width + x) * 3];
            for (int c = 0; c < 3; ++c) {
                const int v = base[c] + grain;
                p[c] = char(v < 0 ? 0 : v > 255 ? 255 : v);
            }
        }
    }
    return rgb;
}

// Encodes width x height pixels of the format (TJPF_RGB, TJPF_GRAY, TJPF_CMYK);
// flags as tjCompress2 takes them (TJFLAG_PROGRESSIVE). Empty on failure.
inline std::string EncodeJpeg(const std::string& pixels, uint32_t width, uint32_t height, int pixelFormat = TJPF_RGB,
                              int quality = 90, int flags = 0)
{
    tjhandle handle = tjInitCompress();
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const int subsampling = pixelFormat == TJPF_GRAY ? TJSAMP_GRAY : TJSAMP_420;
    std::string jpeg;
    if (handle && tjCompress2(handle, reinterpret_cast<const unsigned char*>(pixels.data()), int(width), 0, int(height),
                              pixelFormat, &buffer, &size, subsampling, quality, flags) == 0)
        jpeg.assign(reinterpret_cast<char*>(buffer), size);
    tjFree(buffer);
    if (handle)
        tjDestroy(handle);
    return jpeg;
}

}  // namespace testpictures
