#pragma once
// CKWRefCounter: the base of reference-counted objects. A new object starts at
// count 0; every holder adds one reference and releases it, and the release
// that brings the count to 0 deletes the object. The count is not atomic: the
// counted objects (the report model) live on the user-interface thread.
#include <atomic>
#include <cstdint>

class CKWRefCounter {
public:
    CKWRefCounter();
    // A copy is a new object: it starts uncounted.
    CKWRefCounter(const CKWRefCounter&);
    CKWRefCounter& operator=(const CKWRefCounter&) { return *this; }
    virtual ~CKWRefCounter();

    void AddRef() { ++m_refCount; }
    // Deletes the object when the count drops to 0.
    void Release();
    int32_t GetRefCount() const { return m_refCount; }

    // Counted objects alive in the process; leak checks compare it before and after.
    static int32_t GetLiveCount() { return s_liveCount.load(); }

private:
    int32_t m_refCount = 0;
    static std::atomic<int32_t> s_liveCount;
};
