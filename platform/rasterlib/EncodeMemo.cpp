#include "platform/rasterlib/EncodeMemo.h"

#include <windows.h>

#include <cstring>
#include <mutex>
#include <new>

namespace rasterlib {

namespace {

struct MemoKey {
    DWORD thread = 0;
    const uint8_t* pixels = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t stride = 0;
    uint64_t digest = 0;
    std::string format;

    bool operator==(const MemoKey& o) const
    {
        return thread == o.thread && pixels == o.pixels && width == o.width && height == o.height &&
               stride == o.stride && digest == o.digest && format == o.format;
    }
};

std::mutex g_lock;
MemoKey g_key;
std::vector<uint8_t> g_bytes;

MemoKey KeyOf(const PixelView& view, const char* formatName)
{
    MemoKey key;
    key.thread = ::GetCurrentThreadId();
    key.pixels = view.pixels;
    key.width = view.width;
    key.height = view.height;
    key.stride = view.stride;
    key.digest = EncodeMemo::Digest(view);
    key.format = formatName ? formatName : "";
    return key;
}

}  // namespace

uint64_t EncodeMemo::Digest(const PixelView& view)
{
    uint64_t h = 0x9E3779B97F4A7C15ull ^ (uint64_t(view.width) << 32 | view.height);
    const size_t rowBytes = size_t(view.width) * 4;
    for (uint32_t y = 0; y < view.height; ++y) {
        const uint8_t* p = view.Row(y);
        size_t i = 0;
        for (; i + 8 <= rowBytes; i += 8) {
            uint64_t v;
            std::memcpy(&v, p + i, 8);
            h = (h ^ v) * 0x100000001B3ull;
            h ^= h >> 29;
        }
        for (; i < rowBytes; ++i)
            h = (h ^ p[i]) * 0x100000001B3ull;
    }
    return h;
}

bool EncodeMemo::Take(const PixelView& view, const char* formatName, std::vector<uint8_t>& out)
{
    const MemoKey key = KeyOf(view, formatName);
    std::lock_guard<std::mutex> hold(g_lock);
    if (g_bytes.empty() || !(g_key == key))
        return false;
    out.swap(g_bytes);
    g_bytes.clear();
    g_key = MemoKey();
    return true;
}

void EncodeMemo::Keep(const PixelView& view, const char* formatName, const std::vector<uint8_t>& bytes)
{
    MemoKey key = KeyOf(view, formatName);
    std::lock_guard<std::mutex> hold(g_lock);
    try {
        g_bytes = bytes;
        g_key = std::move(key);
    } catch (const std::bad_alloc&) {
        g_bytes.clear();
        g_key = MemoKey();
    }
}

}  // namespace rasterlib
