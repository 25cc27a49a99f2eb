#pragma once
// A cache of decoded images keyed by picture id. The front entry is the most
// favoured; a hit moves its entry one place towards the front, a miss reads
// the image at the cache's target size and evicts the last entry when full.
//
// Each cache has its own lock, so the user-interface thread and the
// picture-loading thread may use it at the same time; the images it hands out
// are shared, so an eviction never frees an image a caller still holds.
#include "framework/KWRasterImage.h"

#include <cstdint>
#include <list>
#include <mutex>
#include <vector>

class CKWRasterLib;

class CKWImageCache {
public:
    // Images are read through the binding's RasterReadFile.
    CKWImageCache(CKWRasterLib& reader, uint32_t capacity, uint32_t targetWidth, uint32_t targetHeight);
    ~CKWImageCache();
    CKWImageCache(const CKWImageCache&) = delete;
    CKWImageCache& operator=(const CKWImageCache&) = delete;

    // The cached image of the id, moved one place towards the front; null on a miss.
    KWSharedRasterImage Find(uint32_t id);

    // Reads the image at the target size and inserts it at the front; null,
    // and nothing changed, when nothing could be read. An image that comes
    // back larger than the target is scaled down to fit it.
    KWSharedRasterImage Load(const wchar_t* path, uint32_t id);

    // Drops entries from the back until at most n remain.
    void SetCapacity(uint32_t n);
    void SetTargetSize(uint32_t width, uint32_t height);
    // Drops the id's entry: its picture is gone from the store.
    void Remove(uint32_t id);
    void Clear();

    uint32_t GetCount() const;
    uint32_t GetCapacity() const;
    uint32_t GetTargetWidth() const;
    uint32_t GetTargetHeight() const;
    // The ids from front to back.
    std::vector<uint32_t> GetIds() const;

private:
    struct Entry {
        uint32_t id;
        KWSharedRasterImage image;
    };

    KWRasterImage* FitToTarget(KWRasterImage* image, uint32_t targetWidth, uint32_t targetHeight);

    CKWRasterLib& m_reader;
    mutable std::mutex m_lock;
    std::list<Entry> m_entries;
    uint32_t m_capacity;
    uint32_t m_targetWidth;
    uint32_t m_targetHeight;
};
