#include "platform/classlib/Object.h"

#include "platform/classlib/Archive.h"

#include <cstring>
#include <string>

namespace {
// Zero-initialised before any static constructor runs, so classes may enter
// the list from initialisers of any translation unit.
CRuntimeClass* g_pFirstClass = nullptr;

std::string NarrowName(LPCWSTR name) {
    std::string result;
    if (name == nullptr)
        return result;
    for (; *name != L'\0'; ++name) {
        // Class names are plain identifiers; anything else cannot match.
        if (*name > 0x7F)
            return std::string();
        result += static_cast<char>(*name);
    }
    return result;
}
}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr,
                                       nullptr, nullptr};

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) {
    pNewClass->m_pNextClass = g_pFirstClass;
    g_pFirstClass = pNewClass;
}

CObject* CRuntimeClass::CreateObject() const {
    if (m_pfnCreateObject == nullptr)
        return nullptr;
    return m_pfnCreateObject();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pBaseClass) {
        if (p == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
    if (lpszClassName == nullptr)
        return nullptr;
    for (CRuntimeClass* p = g_pFirstClass; p != nullptr; p = p->m_pNextClass) {
        if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0)
            return p;
    }
    return nullptr;
}

CRuntimeClass* CRuntimeClass::FromName(LPCWSTR lpszClassName) {
    std::string name = NarrowName(lpszClassName);
    return name.empty() ? nullptr : FromName(name.c_str());
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName) {
    CRuntimeClass* p = FromName(lpszClassName);
    return p != nullptr ? p->CreateObject() : nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCWSTR lpszClassName) {
    CRuntimeClass* p = FromName(lpszClassName);
    return p != nullptr ? p->CreateObject() : nullptr;
}

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

CObject::~CObject() { CArchive::OnObjectDeleted(this); }

void CObject::Serialize(CArchive&) {}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }
