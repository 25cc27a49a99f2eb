#pragma once
// COleDataObject: the receiving side of a data transfer: a wrapper of an
// IDataObject (of a drop or of the clipboard) that asks for formats and
// takes their data.
#include "platform/classlib/Object.h"

#include <ole2.h>

class CFile;

// A drop effect (DROPEFFECT_COPY ...).
typedef DWORD DROPEFFECT;
// Any medium.
constexpr DWORD TYMED_ALL =
    TYMED_HGLOBAL | TYMED_FILE | TYMED_ISTREAM | TYMED_ISTORAGE | TYMED_GDI | TYMED_MFPICT | TYMED_ENHMF;

class COleDataObject {
public:
    COleDataObject();
    // Releases the data object when it was attached with bAutoRelease.
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();
    // The clipboard's data object.
    BOOL AttachClipboard();
    LPDATAOBJECT GetIDataObject(BOOL bAddRef);

    // Formats: the content aspect, index -1 and any medium unless lpFormatEtc says.
    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    // The medium belongs to the caller (ReleaseStgMedium).
    BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
    // A global block of the caller's own (GlobalFree), null when not available.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    // The data as a file positioned at its start (delete it), null when not available.
    CFile* GetFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);

    void BeginEnumFormats();
    BOOL GetNextFormat(LPFORMATETC lpFormatEtc);

protected:
    LPDATAOBJECT m_lpDataObject;
    LPENUMFORMATETC m_lpEnumerator;
    BOOL m_bAutoRelease;
};
