#include "framework/KWImageCache.h"

#include "framework/KWRasterLib.h"

#include <algorithm>
#include <iterator>

CKWImageCache::CKWImageCache(CKWRasterLib& reader, uint32_t capacity, uint32_t targetWidth,
                             uint32_t targetHeight)
    : m_reader(reader), m_capacity(capacity), m_targetWidth(targetWidth), m_targetHeight(targetHeight)
{
}

CKWImageCache::~CKWImageCache()
{
    Clear();
}

KWSharedRasterImage CKWImageCache::Find(uint32_t id)
{
    std::lock_guard<std::mutex> lock(m_lock);
    for (auto entry = m_entries.begin(); entry != m_entries.end(); ++entry) {
        if (entry->id != id)
            continue;
        if (entry == m_entries.begin())
            return entry->image;
        // One place towards the front, not to the front: an image seen once
        // does not push out the ones seen often.
        auto before = std::prev(entry);
        std::swap(entry->id, before->id);
        std::swap(entry->image, before->image);
        return before->image;
    }
    return KWSharedRasterImage();
}

KWSharedRasterImage CKWImageCache::Load(const wchar_t* path, uint32_t id)
{
    uint32_t targetWidth, targetHeight;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        targetWidth = m_targetWidth;
        targetHeight = m_targetHeight;
    }
    // The read runs without the lock, so that the other thread is not held up
    // by a slow decode.
    KWRasterImage* read = m_reader.RasterReadFile(path, targetWidth, targetHeight);
    KWSharedRasterImage image = KWShareRasterImage(FitToTarget(read, targetWidth, targetHeight));
    if (!image)
        return image;

    std::lock_guard<std::mutex> lock(m_lock);
    for (const Entry& entry : m_entries) {
        if (entry.id == id)
            return entry.image;  // the other thread read it meanwhile
    }
    if (m_capacity == 0)
        return image;  // nothing is kept, but the caller still gets the image
    while (m_entries.size() >= m_capacity)
        m_entries.pop_back();
    m_entries.push_front(Entry{id, image});
    return image;
}

KWRasterImage* CKWImageCache::FitToTarget(KWRasterImage* image, uint32_t targetWidth, uint32_t targetHeight)
{
    if (!image || targetWidth == 0 || targetHeight == 0)
        return image;
    if (image->width <= targetWidth && image->height <= targetHeight)
        return image;
    // The library may read at a reduced size that is still larger than the
    // target; such an image would break the memory bound of the cache.
    uint64_t width = image->width;
    uint64_t height = image->height;
    uint32_t fitWidth, fitHeight;
    if (width * targetHeight >= height * targetWidth) {
        fitWidth = targetWidth;
        fitHeight = uint32_t(std::max<uint64_t>(1, height * targetWidth / width));
    } else {
        fitHeight = targetHeight;
        fitWidth = uint32_t(std::max<uint64_t>(1, width * targetHeight / height));
    }
    KWRasterImage* fitted = m_reader.RasterResize(image, fitWidth, fitHeight);
    KWFreeRasterImage(image);
    if (fitted && fitted->width <= targetWidth && fitted->height <= targetHeight)
        return fitted;
    KWFreeRasterImage(fitted);
    return m_reader.RasterCopyPlaceholder();
}

void CKWImageCache::SetCapacity(uint32_t n)
{
    std::lock_guard<std::mutex> lock(m_lock);
    while (m_entries.size() > n)
        m_entries.pop_back();
    m_capacity = n;
}

void CKWImageCache::SetTargetSize(uint32_t width, uint32_t height)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_targetWidth = width;
    m_targetHeight = height;
}

void CKWImageCache::Remove(uint32_t id)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_entries.remove_if([id](const Entry& entry) { return entry.id == id; });
}

void CKWImageCache::Clear()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_entries.clear();
}

uint32_t CKWImageCache::GetCount() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return uint32_t(m_entries.size());
}

uint32_t CKWImageCache::GetCapacity() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_capacity;
}

uint32_t CKWImageCache::GetTargetWidth() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_targetWidth;
}

uint32_t CKWImageCache::GetTargetHeight() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_targetHeight;
}

std::vector<uint32_t> CKWImageCache::GetIds() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    std::vector<uint32_t> ids;
    for (const Entry& entry : m_entries)
        ids.push_back(entry.id);
    return ids;
}
