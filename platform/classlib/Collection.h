#pragma once
// What the collection classes share: the POSITION cursor, element comparison,
// the hash of map keys and the archiving of elements (SerializeElements).
#include "platform/classlib/Archive.h"
#include "platform/classlib/Object.h"
#include "platform/classlib/String.h"

#include <type_traits>

struct __POSITION {};
typedef __POSITION* POSITION;

// The position before the first association of a map (CMap::GetStartPosition).
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(static_cast<INT_PTR>(-1)))

template <class TYPE, class ARG_TYPE>
BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
    return *pElement1 == *pElement2;
}

// Integral and pointer keys drop their low bits, which are mostly alignment.
template <class ARG_KEY>
UINT HashKey(ARG_KEY key) {
    using Key = std::remove_cv_t<std::remove_reference_t<ARG_KEY>>;
    if constexpr (std::is_pointer_v<Key>)
        return static_cast<UINT>(reinterpret_cast<DWORD_PTR>(key) >> 4);
    else
        return static_cast<UINT>(static_cast<DWORD_PTR>(key) >> 4);
}

inline UINT HashKeyText(const wchar_t* key) {
    UINT nHash = 0;
    if (key != nullptr) {
        while (*key != L'\0')
            nHash = (nHash << 5) + nHash + static_cast<UINT>(*key++);
    }
    return nHash;
}

template <>
inline UINT HashKey<const wchar_t*>(const wchar_t* key) { return HashKeyText(key); }
template <>
inline UINT HashKey<wchar_t*>(wchar_t* key) { return HashKeyText(key); }
template <>
inline UINT HashKey<const CString&>(const CString& key) { return HashKeyText(key); }
template <>
inline UINT HashKey<CString>(CString key) { return HashKeyText(key); }
