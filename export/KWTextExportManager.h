#pragma once
// CKWTextExportManager: the base of the objects that cut a text into blocks
// for the pages of an export.
class CKWTextExportManager {
public:
    CKWTextExportManager() = default;
    virtual ~CKWTextExportManager() {}
    CKWTextExportManager(const CKWTextExportManager&) = delete;
    CKWTextExportManager& operator=(const CKWTextExportManager&) = delete;
};
