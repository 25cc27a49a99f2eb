#include "platform/classlib/HandleMap.h"

#include <utility>

CHandleMap::CHandleMap(AfxHandleKind kind, PFN_CONSTRUCT pfnConstruct, PFN_DESTRUCT pfnDestruct)
    : m_kind(kind), m_pfnConstruct(pfnConstruct), m_pfnDestruct(pfnDestruct) {
    ::InitializeCriticalSection(&m_lock);
}

CHandleMap::~CHandleMap() { ::DeleteCriticalSection(&m_lock); }

CObject* CHandleMap::FromHandle(void* handle) {
    if (handle == nullptr)
        return nullptr;
    if (CObject* p = LookupPermanent(handle))
        return p;
    auto& temps = AfxGetThreadState()->m_tempMaps[m_kind];
    auto it = temps.find(handle);
    if (it != temps.end())
        return it->second;
    CObject* pTemp = m_pfnConstruct(handle);
    temps.emplace(handle, pTemp);
    return pTemp;
}

CObject* CHandleMap::LookupPermanent(void* handle) {
    ::EnterCriticalSection(&m_lock);
    auto it = m_permanent.find(handle);
    CObject* p = it != m_permanent.end() ? it->second : nullptr;
    ::LeaveCriticalSection(&m_lock);
    return p;
}

CObject* CHandleMap::LookupTemporary(void* handle) {
    auto& temps = AfxGetThreadState()->m_tempMaps[m_kind];
    auto it = temps.find(handle);
    return it != temps.end() ? it->second : nullptr;
}

void CHandleMap::SetPermanent(void* handle, CObject* pObject) {
    ::EnterCriticalSection(&m_lock);
    m_permanent[handle] = pObject;
    ::LeaveCriticalSection(&m_lock);
}

void CHandleMap::RemoveHandle(void* handle) {
    ::EnterCriticalSection(&m_lock);
    m_permanent.erase(handle);
    ::LeaveCriticalSection(&m_lock);
}

void CHandleMap::DeleteTemp() {
    // Detached first: a wrapper's destructor must not find itself in the map.
    std::unordered_map<void*, CObject*> temps;
    std::swap(temps, AfxGetThreadState()->m_tempMaps[m_kind]);
    for (auto& entry : temps)
        m_pfnDestruct(entry.second);
}

size_t CHandleMap::GetPermanentCount() {
    ::EnterCriticalSection(&m_lock);
    size_t n = m_permanent.size();
    ::LeaveCriticalSection(&m_lock);
    return n;
}

size_t CHandleMap::GetTemporaryCount() { return AfxGetThreadState()->m_tempMaps[m_kind].size(); }

void AfxDeleteTempMaps() {
    afxMapHWND()->DeleteTemp();
    afxMapHDC()->DeleteTemp();
    afxMapHGDIOBJ()->DeleteTemp();
    afxMapHMENU()->DeleteTemp();
    afxMapHIMAGELIST()->DeleteTemp();
}
