#pragma once
// CKWRefPtr: a holder of one counted reference to a CKWRefCounter object.
// Taking a raw pointer adds a reference; the holder releases it when it is
// reset, reassigned or destroyed.
#include <cstddef>
#include <utility>

template <class T>
class CKWRefPtr {
public:
    CKWRefPtr() = default;
    CKWRefPtr(std::nullptr_t) {}
    CKWRefPtr(T* object) : m_object(object) { AddRefObject(); }
    CKWRefPtr(const CKWRefPtr& other) : m_object(other.m_object) { AddRefObject(); }
    CKWRefPtr(CKWRefPtr&& other) noexcept : m_object(other.m_object) { other.m_object = nullptr; }
    template <class U>
    CKWRefPtr(const CKWRefPtr<U>& other) : m_object(other.Get()) { AddRefObject(); }
    ~CKWRefPtr() { Release(); }

    CKWRefPtr& operator=(const CKWRefPtr& other) { Reset(other.m_object); return *this; }
    CKWRefPtr& operator=(CKWRefPtr&& other) noexcept
    {
        if (this != &other) {
            T* old = m_object;
            m_object = other.m_object;
            other.m_object = nullptr;
            if (old)
                old->Release();
        }
        return *this;
    }
    CKWRefPtr& operator=(T* object) { Reset(object); return *this; }
    CKWRefPtr& operator=(std::nullptr_t) { Release(); return *this; }

    // Holds the object instead (the new reference is added before the old one
    // goes, so resetting to the object already held is safe).
    void Reset(T* object = nullptr)
    {
        if (object)
            object->AddRef();
        T* old = m_object;
        m_object = object;
        if (old)
            old->Release();
    }
    // Drops the reference and leaves the holder empty; an empty one is left alone.
    void Release()
    {
        T* old = m_object;
        m_object = nullptr;
        if (old)
            old->Release();
    }

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    bool operator!() const { return m_object == nullptr; }

    void Swap(CKWRefPtr& other) noexcept { std::swap(m_object, other.m_object); }

private:
    void AddRefObject()
    {
        if (m_object)
            m_object->AddRef();
    }

    T* m_object = nullptr;
};

template <class T, class U>
bool operator==(const CKWRefPtr<T>& a, const CKWRefPtr<U>& b) { return a.Get() == b.Get(); }
template <class T, class U>
bool operator!=(const CKWRefPtr<T>& a, const CKWRefPtr<U>& b) { return a.Get() != b.Get(); }
template <class T, class U>
bool operator==(const CKWRefPtr<T>& a, const U* b) { return a.Get() == b; }
template <class T, class U>
bool operator!=(const CKWRefPtr<T>& a, const U* b) { return a.Get() != b; }
template <class T, class U>
bool operator==(const U* a, const CKWRefPtr<T>& b) { return a == b.Get(); }
template <class T, class U>
bool operator!=(const U* a, const CKWRefPtr<T>& b) { return a != b.Get(); }
template <class T>
bool operator==(const CKWRefPtr<T>& a, std::nullptr_t) { return a.Get() == nullptr; }
template <class T>
bool operator!=(const CKWRefPtr<T>& a, std::nullptr_t) { return a.Get() != nullptr; }

// A counted holder of the object as another class of its hierarchy; empty
// when the object is not of that class.
template <class U, class T>
CKWRefPtr<U> RefPtrDynamicCast(const CKWRefPtr<T>& p) { return CKWRefPtr<U>(dynamic_cast<U*>(p.Get())); }
