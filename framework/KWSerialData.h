// CKWSerialData: the base of every record that serializes itself through a
// binary archive; the clipboard and drag-and-drop records derive
// from it.
#pragma once

class CKWArchive;

class CKWSerialData {
public:
    virtual ~CKWSerialData();
    // Stores or loads the record, as the archive's direction says; the base
    // serializes nothing and returns false. Loading may throw CKWArchiveException.
    virtual bool Serialize(CKWArchive& ar);
};
