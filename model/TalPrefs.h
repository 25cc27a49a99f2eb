#pragma once
// CTalPrefs: the user's settings for the whole application and the list of
// report template files, kept in the registry under HKEY_CURRENT_USER. The
// application owns the one instance and passes its settings key to Load and
// Save. A key that cannot be opened leaves the settings (load) or the
// registry (save) unchanged.
#include "platform/classlib/String.h"

#include <cstdint>
#include <vector>

class CTalPrefs {
public:
    // The image cache in kilobytes: 1 MB to 2 GB, so that the caches are
    // never empty and the dialog's value times 1024 never overflows.
    static constexpr int32_t kMinImageCache = 1024;
    static constexpr int32_t kMaxImageCache = 2 * 1024 * 1024;
    // Registry strings are read into a block of this many bytes.
    static constexpr uint32_t kStringBufferSize = 8192;

    // Finds the template files of a folder and its sub-folders.
    typedef void (*TemplateScanner)(const wchar_t* folder, std::vector<CString>& paths);
    // The application installs the scan over its format list; without one a
    // missing template list stays empty.
    static void SetTemplateScanner(TemplateScanner scanner);

    CTalPrefs();
    virtual ~CTalPrefs() = default;

    // keyName is relative to HKEY_CURRENT_USER.
    virtual void Load(const wchar_t* keyName);
    virtual void Save(const wchar_t* keyName);
    // The stored list, or the templates found in the default templates
    // folder when none is stored.
    virtual void LoadTemplateList(std::vector<CString>& paths);
    // Paths inside the default templates folder are stored relative to it.
    virtual void SaveTemplateList(const std::vector<CString>& paths);

    bool GetShowExportDialog() const { return m_showExportDialog != 0; }
    void SetShowExportDialog(bool show) { m_showExportDialog = show ? 1 : 0; }
    bool GetShowAllWatermarks() const { return m_showAllWatermarks != 0; }
    void SetShowAllWatermarks(bool show) { m_showAllWatermarks = show ? 1 : 0; }
    const CString& GetAddFolderPath() const { return m_addFolderPath; }
    void SetAddFolderPath(const wchar_t* path) { m_addFolderPath = path; }
    const CString& GetAddPicturePath() const { return m_addPicturePath; }
    void SetAddPicturePath(const wchar_t* path) { m_addPicturePath = path; }
    // The folder last used by the "Open Image" dialog; until one was used,
    // the default templates folder.
    CString GetOpenImageFolder() const
    {
        return m_addPicturePath.IsEmpty() ? m_defaultTemplatesFolder : m_addPicturePath;
    }
    // The folder of the watermark picture choosers.
    const CString& GetWatermarkPicturePath() const { return m_watermarkPicturePath; }
    void SetWatermarkPicturePath(const wchar_t* path) { m_watermarkPicturePath = path; }
    const CString& GetDefaultFile() const { return m_defaultFile; }
    void SetDefaultFile(const wchar_t* path) { m_defaultFile = path; }
    const CString& GetLastFile() const { return m_lastFile; }
    void SetLastFile(const wchar_t* path) { m_lastFile = path; }
    int32_t GetImageCache() const { return m_imageCache; }
    // Clamped to kMinImageCache..kMaxImageCache.
    void SetImageCache(int32_t kilobytes);
    int32_t GetStartUpMode() const { return m_startUpMode; }
    void SetStartUpMode(int32_t mode) { m_startUpMode = mode; }
    int32_t GetDefExportFormat() const { return m_defExportFormat; }
    void SetDefExportFormat(int32_t format) { m_defExportFormat = format; }
    bool GetWysiwygFonts() const { return m_wysiwygFonts != 0; }
    void SetWysiwygFonts(bool use) { m_wysiwygFonts = use ? 1 : 0; }
    const CString& GetTemplatesFolder() const { return m_templatesFolder; }
    void SetTemplatesFolder(const wchar_t* folder) { m_templatesFolder = folder; }
    const CString& GetDefaultTemplatesFolder() const { return m_defaultTemplatesFolder; }
    void SetDefaultTemplatesFolder(const wchar_t* folder) { m_defaultTemplatesFolder = folder; }
    // The image gallery bar's floating rectangle, dock side and floating state.
    void GetGalleryRect(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) const;
    void SetGalleryRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    int32_t GetGalleryDockSide() const { return m_galleryDockSide; }
    void SetGalleryDockSide(int32_t side) { m_galleryDockSide = side; }
    bool GetGalleryFloating() const { return m_galleryFloating != 0; }
    void SetGalleryFloating(bool floating) { m_galleryFloating = floating ? 1 : 0; }

protected:
    // The key of the template list below HKEY_CURRENT_USER: string 934
    // followed by "OTN_Templates\"; empty when the string is missing.
    virtual CString GetTemplateListKey() const;

private:
    uint8_t m_showExportDialog = 1;
    uint8_t m_showAllWatermarks = 0;
    CString m_addFolderPath;
    CString m_addPicturePath;
    CString m_watermarkPicturePath;
    CString m_defaultFile;
    CString m_lastFile;
    int32_t m_imageCache = 32768;
    int32_t m_startUpMode = 0;
    int32_t m_defExportFormat = 128;
    uint8_t m_wysiwygFonts = 1;
    CString m_templatesFolder;
    CString m_defaultTemplatesFolder;
    int32_t m_galleryLeft = 20;
    int32_t m_galleryTop = 40;
    int32_t m_galleryRight = 200;
    int32_t m_galleryBottom = 240;
    int32_t m_galleryDockSide = 0;
    uint8_t m_galleryFloating = 0;
};
