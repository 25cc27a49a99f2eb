// COM for the calling thread for the length of one call, and a reference holder for
// COM interfaces.
#pragma once

#include <objbase.h>

namespace rasterlib {

// Joins an apartment the thread already has, otherwise enters the multithreaded one
// and leaves it again when destroyed.
class ComSession {
public:
    ComSession();
    ~ComSession();
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;
    bool IsReady() const { return m_ready; }

private:
    bool m_ready = false;
    bool m_leave = false;
};

template <class T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* Get() const { return m_ptr; }
    T* operator->() const { return m_ptr; }
    T** Out()
    {
        Reset();
        return &m_ptr;
    }
    void Reset()
    {
        if (m_ptr)
            m_ptr->Release();
        m_ptr = nullptr;
    }

private:
    T* m_ptr = nullptr;
};

}  // namespace rasterlib
