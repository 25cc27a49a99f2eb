#pragma once
// The maps from Windows handles to the wrapper objects of the class library.
// Permanent entries are made by Attach and live until Detach; they are shared
// by all threads. FromHandle makes a temporary wrapper for a handle that has no
// permanent one; temporaries belong to the calling thread and are deleted when
// that thread goes idle.
#include "platform/classlib/ThreadState.h"

#include <cstddef>
#include <unordered_map>

class CHandleMap {
public:
    typedef CObject* (*PFN_CONSTRUCT)(void* handle);
    // Clears the wrapper's handle without releasing it, then deletes the wrapper.
    typedef void (*PFN_DESTRUCT)(CObject* pObject);

    CHandleMap(AfxHandleKind kind, PFN_CONSTRUCT pfnConstruct, PFN_DESTRUCT pfnDestruct);
    ~CHandleMap();
    CHandleMap(const CHandleMap&) = delete;
    CHandleMap& operator=(const CHandleMap&) = delete;

    CObject* FromHandle(void* handle);
    CObject* LookupPermanent(void* handle);
    CObject* LookupTemporary(void* handle);
    void SetPermanent(void* handle, CObject* pObject);
    void RemoveHandle(void* handle);
    void DeleteTemp();

    size_t GetPermanentCount();
    size_t GetTemporaryCount();

private:
    AfxHandleKind m_kind;
    PFN_CONSTRUCT m_pfnConstruct;
    PFN_DESTRUCT m_pfnDestruct;
    CRITICAL_SECTION m_lock;
    std::unordered_map<void*, CObject*> m_permanent;
};

CHandleMap* afxMapHWND();
CHandleMap* afxMapHDC();
CHandleMap* afxMapHGDIOBJ();
CHandleMap* afxMapHMENU();
CHandleMap* afxMapHIMAGELIST();

// Deletes the calling thread's temporary wrappers of every kind.
void AfxDeleteTempMaps();
