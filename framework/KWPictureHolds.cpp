// The holds of the picture store (CKWRasterLib): who still needs a file of
// the store's own folder, and the deletion of the files nobody needs.
#include "framework/KWRasterLib.h"

namespace {

bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void CKWRasterLib::HoldPicture(uint32_t id)
{
    if (id == 0)
        return;
    std::lock_guard<std::mutex> lock(m_storeLock);
    ++m_holdCounts[id];
}

void CKWRasterLib::ReleasePicture(uint32_t id)
{
    std::wstring path;
    {
        std::lock_guard<std::mutex> lock(m_storeLock);
        auto held = m_holdCounts.find(id);
        if (held == m_holdCounts.end() || --held->second > 0)
            return;
        m_holdCounts.erase(held);
        path = ForgetStoreFileLocked(id);
    }
    if (!path.empty())
        DeleteReleasedFile(id, path);
}

uint32_t CKWRasterLib::GetHoldCount(uint32_t id)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    auto held = m_holdCounts.find(id);
    return held == m_holdCounts.end() ? 0 : held->second;
}

void CKWRasterLib::DiscardStoreFile(uint32_t id)
{
    std::wstring path;
    {
        std::lock_guard<std::mutex> lock(m_storeLock);
        if (m_holdCounts.count(id))
            return;
        path = ForgetStoreFileLocked(id);
    }
    if (!path.empty())
        DeleteReleasedFile(id, path);
}

std::wstring CKWRasterLib::ForgetStoreFileLocked(uint32_t id)
{
    auto found = m_pathsById.find(id);
    // Files outside the store are the user's: their ids stay for good.
    if (found == m_pathsById.end() || !IsStoreFile(found->second.c_str()))
        return std::wstring();
    std::wstring path = found->second;
    m_pathsById.erase(found);
    auto byPath = m_idsByPath.find(path);
    if (byPath != m_idsByPath.end() && byPath->second == id)
        m_idsByPath.erase(byPath);
    m_infos.erase(id);
    m_states.erase(id);
    m_walkedStates.erase(id);
    m_checkedStamps.erase(id);
    m_shownSizes.erase(id);
    m_reported.erase(id);
    m_sources.erase(id);
    // Another copy's file stands for this id no longer: asked again, it is copied again.
    auto adopted = m_adoptedPaths.equal_range(id);
    for (auto alias = adopted.first; alias != adopted.second; ++alias) {
        auto byAlias = m_idsByPath.find(alias->second);
        if (byAlias != m_idsByPath.end() && byAlias->second == id)
            m_idsByPath.erase(byAlias);
    }
    m_adoptedPaths.erase(id);
    m_embeddedTexts.erase(id);
    auto origin = m_originsById.find(id);
    if (origin != m_originsById.end()) {
        m_idsByOrigin.erase(origin->second);
        m_originsById.erase(origin);
    }
    return path;
}

void CKWRasterLib::DeleteReleasedFile(uint32_t id, const std::wstring& path)
{
    // Ids are never given again, so a cached image of this one is dead weight.
    m_thumbnails.Remove(id);
    m_previews.Remove(id);
    // A file still open (a picture-loading thread reading it) cannot go yet.
    if (!::DeleteFileW(path.c_str()) && FileExists(path)) {
        std::lock_guard<std::mutex> lock(m_storeLock);
        m_pendingDeletes.push_back(path);
    }
}

void CKWRasterLib::DeleteReleasedFiles()
{
    std::vector<std::wstring> pending;
    {
        std::lock_guard<std::mutex> lock(m_storeLock);
        pending.swap(m_pendingDeletes);
    }
    std::vector<std::wstring> kept;
    for (const std::wstring& path : pending) {
        if (!::DeleteFileW(path.c_str()) && FileExists(path))
            kept.push_back(path);
    }
    if (kept.empty())
        return;
    std::lock_guard<std::mutex> lock(m_storeLock);
    m_pendingDeletes.insert(m_pendingDeletes.end(), kept.begin(), kept.end());
}

size_t CKWRasterLib::GetPendingDeleteCount()
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    return m_pendingDeletes.size();
}

void CKWRasterLib::SetPictureOrigin(uint32_t id, const std::wstring& origin)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    if (id == 0 || !m_pathsById.count(id))
        return;
    // A file still held keeps the origin: it was read from there first.
    auto previous = m_idsByOrigin.find(origin);
    if (previous != m_idsByOrigin.end() && m_holdCounts.count(previous->second))
        return;
    if (previous != m_idsByOrigin.end())
        m_originsById.erase(previous->second);
    m_idsByOrigin[origin] = id;
    m_originsById[id] = origin;
}

uint32_t CKWRasterLib::FindHeldByOrigin(const std::wstring& origin, std::wstring& path)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    auto found = m_idsByOrigin.find(origin);
    if (found == m_idsByOrigin.end() || !m_holdCounts.count(found->second))
        return 0;
    auto known = m_pathsById.find(found->second);
    if (known == m_pathsById.end())
        return 0;
    path = known->second;
    return found->second;
}

void CKWRasterLib::SetEmbeddedText(uint32_t id, const EmbeddedText& text)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    if (id != 0 && m_pathsById.count(id))
        m_embeddedTexts[id] = text;
}

bool CKWRasterLib::GetEmbeddedText(uint32_t id, EmbeddedText& text)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    auto found = m_embeddedTexts.find(id);
    if (found == m_embeddedTexts.end())
        return false;
    text = found->second;
    return true;
}
