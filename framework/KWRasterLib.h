#pragma once
// CKWRasterLib: the binding to the raster-image library DAZiruraRuv.dll, with
// the picture store (picture ids, their files and the store's own folder) and
// the two image caches. The program has one instance (g_rasterLib), built
// before the program's entry; every image read, scaled, rotated or written
// goes through it. A missing library or export never stops the program: reads
// fall back to the placeholder image and the other calls answer null or 0.
//
// The wrappers take no lock (the library is callable from any thread); the
// placeholder, the store's maps and each cache have a lock of their own, so the
// user-interface thread and the picture-loading thread may share the binding.
#include "framework/KWImageCache.h"
#include "framework/KWRasterFunctions.h"
#include "framework/KWRasterImage.h"
#include "platform/classlib/String.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

struct RasterExportRequest;

class CKWRasterLib {
public:
    // libraryName is searched the usual way; resourceModule holds the
    // placeholder bitmap (null: the program itself).
    explicit CKWRasterLib(const wchar_t* libraryName = kLibraryName, HMODULE resourceModule = nullptr);
    // Deletes the store's files and the configuration files and frees the library.
    ~CKWRasterLib();
    CKWRasterLib(const CKWRasterLib&) = delete;
    CKWRasterLib& operator=(const CKWRasterLib&) = delete;

    static constexpr const wchar_t* kLibraryName = L"DAZiruraRuv.dll";
    static constexpr uint32_t kFirstPictureId = 128;
    static constexpr uint32_t kThumbnailSide = 128;
    static constexpr uint32_t kPreviewSide = 1024;

    // Start-up, after the framework's own: writes the library's configuration
    // files into the application's data folder (with a trailing backslash) and
    // starts the library. Without a data folder (no application object)
    // nothing is written and the library is not started.
    void StartRasterLibrary(const wchar_t* dataFolder);

    // The loaded library; null when loading failed. The application takes
    // CreateFormatList and DisposeFormatList through it.
    HMODULE GetLibraryModule() const { return m_library; }
    // The table of exports (every entry null when the library is missing).
    KWRasterFunctions& GetFunctions() { return m_functions; }
    const CString& GetDataFolder() const { return m_dataFolder; }
    // The store's own folder, with a trailing backslash: a folder of this run
    // inside the folder that every running copy of the program shares, which
    // holds only files this copy made.
    const CString& GetStoreFolder() const { return m_storeFolder; }
    // The shared folder ("ImagesCache"), with a trailing backslash: the one
    // under the local application data or, where that cannot be made or
    // written, the one under the user's temporary folder ("TEMP").
    const CString& GetStoreRoot() const { return m_storeRoot; }
    // False when no folder for the store could be made or written: pictures
    // that exist only in memory cannot be kept. Then the folder tried last
    // and the system's error met there.
    bool HasStoreFolder() const { return !m_storeFolder.IsEmpty(); }
    // The folder the store makes its files in from now on (with a trailing
    // backslash), for tests that meet a store on a full or a read-only disk;
    // the folder it had.
    CString ReplaceStoreFolder(const CString& folder);
    const CString& GetStoreFailedFolder() const { return m_storeFailedFolder; }
    DWORD GetStoreError() const { return m_storeError; }
    // The name that the folders of the runs carry before their number.
    static constexpr const wchar_t* kRunFolderPrefix = L"run_";
    // Deletes the folders of runs that ended without clearing theirs (a copy
    // killed or crashed), in either shared folder: a running copy holds the
    // lock file of its folder open, which no other may delete. A file the
    // clipboard still names (pictures copied in a copy that ended) stays
    // with its folder until it names it no more. The number of folders removed.
    size_t RemoveEndedRuns();
    // The first part of generated file names: the start-up time as hh_mm_ss.
    const std::string& GetNamePrefix() const { return m_namePrefix; }

    // Wrappers. Each returns a new record that the caller frees
    // (KWFreeRasterImage), or null; the source records stay the caller's.
    // A file read upright at the target size (0, 0: full size); the placeholder
    // on any failure.
    KWRasterImage* RasterReadFile(const wchar_t* path, uint32_t targetWidth, uint32_t targetHeight);
    // Null for no bytes and whenever a target size is given.
    KWRasterImage* RasterReadFromMemory(const void* bytes, uint32_t count, const char* formatHint,
                                        uint32_t targetWidth, uint32_t targetHeight);
    // The angle in degrees, passed as a whole number.
    KWRasterImage* RasterRotate(const KWRasterImage* image, double angle);
    KWRasterImage* RasterResize(const KWRasterImage* image, uint32_t newWidth, uint32_t newHeight);
    // Every 4-byte pixel becomes v, v, v, a with v the mean of its first three
    // bytes and a its own fourth byte: a picture's transparency (or the
    // padding of an opaque one) stays, so the grey copy is shown, blended and
    // encoded as its colour version is.
    static KWRasterImage* RasterToGray(const KWRasterImage* image);
    // The library's type code of encoded bytes; 0 when the function is missing.
    uint8_t RasterReadTypeFromMemory(const void* bytes, uint32_t count, const char* formatName);
    // A copy of the placeholder image; null when it cannot be decoded.
    KWRasterImage* RasterCopyPlaceholder();

    // Picture store. Paths are compared character by character, so the same
    // path in other letter case is another picture.
    uint32_t GetPictureId(const wchar_t* path);
    // Empty for an id that was never registered.
    CString GetImagePath(uint32_t id);
    // The part of the path after its last backslash; empty when there is none.
    CString GetImageFileName(uint32_t id);
    void RegisterImagePath(uint32_t id, const wchar_t* path);
    // What the picture's file header tells, read once per picture.
    struct ImageInfo {
        SIZE size = {0, 0};       // upright, as every read gives the picture
        uint8_t orientation = 1;  // recorded by the camera (1 to 8), undone by reads
        std::string format;       // "jpg", "png", "gif", "bmp", "tif", "ico"; empty when unknown
    };
    // False, with a size of 0 x 0, when the file cannot be read as an image.
    bool GetImageInfo(uint32_t id, ImageInfo& info);
    // 1 x 1 for id 0; otherwise the upright size read once from the file.
    // False, with size 0 x 0, when the file cannot be read as an image.
    bool GetImageSize(uint32_t id, SIZE& size);
    // What the check of a whole file says, the file not taken into the store.
    // A file it calls sound reads whole: a JPEG's data are walked block by
    // block (about what a thumbnail costs), other formats decoded. decode is
    // passed on to a library that still tells the two kinds apart.
    KWPictureState CheckPictureFile(const wchar_t* path, bool decode);
    // What the check of the picture's whole file says, asked once per picture
    // (again while the file is missing: it may appear): the insert's answer
    // serves the exports, which then walk none of its bytes again.
    KWPictureState GetPictureState(uint32_t id, bool decode = true);
    // The check of every picture of the list not yet checked, one thread per
    // processor, so that a report of photographs no check has seen (opened
    // from its file) is checked before its export in a fraction of the time.
    // A picture whose file changed since its check (cut short, rewritten,
    // gone) is checked anew.
    void CheckPictures(const std::vector<uint32_t>& ids, bool decode);
    // Forgets what the check and the header of the picture's file said when
    // the file is no longer the one checked (its size or its time of writing
    // differ), so that the next question checks it again and a problem it now
    // has is told; true when it was forgotten. A picture never checked has
    // nothing to forget.
    bool ForgetIfChanged(uint32_t id);
    // The size every read gives the picture: its header's for a sound file,
    // otherwise what decodes of it (the placeholder's when nothing does).
    SIZE GetShownSize(uint32_t id);
    // True the first time it is asked for a picture, so that a problem of its
    // file is reported once however often the picture is used.
    bool TakeReport(uint32_t id);
    // The name of the empty picture file whose placeholder the picture is
    // (embedded in its place by a save), so that each later save and load
    // still says what the placeholder stands for; empty for any other picture.
    void SetEmptySourceName(uint32_t id, const wchar_t* name);
    CString GetEmptySourceName(uint32_t id);
    // Where a picture whose file is a copy the store made came from, so that
    // a warning can name it to the user: the picture file it was copied from,
    // or the report file it was embedded in (embedded). Kept for the run only.
    void SetPictureSource(uint32_t id, const wchar_t* file, bool embedded);
    // The source kept for the picture; else its own file when that is not a
    // file of a store; else empty (pixels pasted, another copy's picture).
    CString GetPictureSource(uint32_t id, bool* embedded = nullptr);
    // The name a report gave a picture of no file that was not taken as a
    // file's name (a link refused), which shows as missing; empty for any
    // other picture.
    CString GetRefusedName(uint32_t id);
    // The picture at full size, the placeholder when it cannot be read.
    KWRasterImage* LoadImage(uint32_t id);
    // format 1 writes JPEG, anything else BMP; the new id, or 0.
    uint32_t SaveImage(const KWRasterImage* image, int format, int quality);
    // Writes the bytes to a new file of the store; the new id, or 0 when the
    // file could not be written in full (the system's error then the last error).
    uint32_t AddImageFromMemory(const void* bytes, uint32_t count, const char* extension);
    // A picture whose bytes the store could not keep as a file (no folder
    // for pictures, a full disk): a new id of no file, shown as missing, with
    // the system's error met kept for what tells the user of it.
    uint32_t AddUnkeptPicture(DWORD error);
    // That error (0: the write fell short naming none); false for any other picture.
    bool GetUnkeptError(uint32_t id, DWORD& error);
    // A picture a report names that was given no file (data that decode to
    // nothing, a named file that is not a picture and was not taken): a new
    // id of no file, shown as the placeholder, whose check says state, so
    // that what tells of placeholders names it as well.
    uint32_t AddFilelessPicture(KWPictureState state);
    // A file name (without folder and extension) that no file of the store has
    // yet with that extension (null: "jpg"). The folder is listed once, for
    // the files an earlier run left under the same prefix; the names of this
    // run come from a counter, so no name is looked for on the disk.
    void GenerateStoreFileName(std::string& name, const char* extension);
    // A new file of the store with a generated name, made (never opened over
    // another) and open for writing; its path in path. A name that proves
    // taken (by another program's file) gives way to the next one.
    // INVALID_HANDLE_VALUE, the system's error the last error, when no file
    // could be made.
    HANDLE CreateStoreFile(const char* extension, std::wstring& path);
    // True for a file name (without folder) of the form the store gives its
    // files, in this run or an earlier one ("hh_mm_ss" and a number, perhaps
    // eight hex digits, then the extension): a name that says nothing of the
    // picture, also once a saved report keeps the file beside it.
    static bool IsStoreFileName(const wchar_t* name);
    // Copies the picture's file into targetFolder; the copy's path, empty when the copy failed.
    CString CopyImageFileTo(uint32_t id, const wchar_t* targetFolder);
    // Moves a file of the store into targetFolder; the new path, or the old
    // path when the file is not the store's or could not be copied.
    CString RelocateImageFile(uint32_t id, const wchar_t* targetFolder);
    // Copies a file from outside into the store; its path in the store,
    // empty when the copy failed.
    CString CopyImageFileIntoStore(uint32_t id);
    // Re-encodes the picture as the request asks; true when bytes were produced.
    bool EncodeImageForExport(uint32_t id, RasterExportRequest& request);
    // The same written by the library straight into the file at target (the
    // request's bytes stay empty): the encoded bytes are neither kept nor
    // copied. False when nothing was written.
    bool EncodeImageFileForExport(uint32_t id, RasterExportRequest& request, const wchar_t* target);
    // The same for a JPEG asked for as JPEG at its full size and not grey,
    // encoded by the library from the stream's own planes (no pixels made);
    // false, nothing written, when the library leaves it to the pixel path.
    bool EncodeTurnedJpegFile(uint32_t id, RasterExportRequest& request, const wchar_t* target);
    // Writes a JPEG picture that records a turn or flip upright at target by
    // moving its coded blocks, losing nothing; false (nothing written) when
    // that cannot be done exactly.
    bool WriteUprightJpeg(uint32_t id, const wchar_t* target);
    // Copies a JPEG picture to target recording no turn, for a reader that
    // turns it itself; false (nothing written) when its file records none.
    bool WriteUnturnedJpeg(uint32_t id, const wchar_t* target);

    // Caches. The images are shared: they stay valid for the caller after eviction.
    KWSharedRasterImage GetThumbnail(uint32_t id);
    KWSharedRasterImage GetPreviewImage(uint32_t id);
    // True when id is 0 or its thumbnail is cached (a hit moves it as Find does).
    bool FindThumbnail(uint32_t id);
    // Sets both capacities from the image-cache preference in kilobytes.
    void SetCacheMemory(int64_t kilobytes);
    CKWImageCache& GetThumbnailCache() { return m_thumbnails; }
    CKWImageCache& GetPreviewCache() { return m_previews; }

    // True for a file directly inside the store's own folder.
    bool IsStoreFile(const wchar_t* path) const;
    // True for a file of another copy's store (or of an older program's,
    // directly in the shared folder): that copy may delete it at any time.
    // Decided on the file's full path as the system spells it (its long
    // names, the drive it lies on, whatever the path's letter case or the
    // drive it was named by), so that no spelling of it escapes.
    bool IsOtherStoreFile(const wchar_t* path) const;

    // Holds. Whatever names a picture (a report's picture, logo, watermark or
    // page template, the clipboard's copy, a load in progress) holds it while
    // it does; a file of the store's own folder goes once its last holder lets
    // go, with its id, its path and what was cached of it. A file nobody ever
    // held stays until the program ends; files elsewhere are never deleted.
    void HoldPicture(uint32_t id);
    void ReleasePicture(uint32_t id);
    uint32_t GetHoldCount(uint32_t id);
    // A store file that its holders give up for another (a save moved the
    // picture out of the store): deleted now when nothing holds it, else
    // when the last holder lets go.
    void DiscardStoreFile(uint32_t id);
    // Names where the bytes of a store file came from (a document and the
    // place of the picture in it), so that a later read of the same place can
    // take the file again while it is held. A held file already named by the
    // origin keeps it.
    void SetPictureOrigin(uint32_t id, const std::wstring& origin);
    // The held picture whose bytes came from the origin, with its path; 0
    // when none is held.
    uint32_t FindHeldByOrigin(const std::wstring& origin, std::wstring& path);
    // A file as it was at one time: its size and its time of writing.
    struct FileStamp {
        uint64_t size = 0;
        uint64_t written = 0;
        bool present = false;
        bool operator==(const FileStamp& other) const
        {
            return present == other.present && size == other.size && written == other.written;
        }
    };
    static FileStamp StampOf(const wchar_t* path);
    // Where the bytes of a store file stand as Base64 text in a file of this
    // system (the report that embeds the picture, a template): the text of
    // the element from its first digit on, in that file as it was at the
    // stamp, how many bytes it gives and their SHA-256 digest, made as they
    // were read or written. A save that can no longer read the store's file
    // (a clean-up deleted it, another program holds it) takes the picture
    // from there while that file is unchanged and its text gives the very
    // bytes of the digest. A file written in UTF-16 is named itself: its
    // text stands there in its UTF-8 copy.
    struct EmbeddedText {
        std::wstring file;
        std::string element;
        int64_t textStart = 0;
        FileStamp stamp;
        uint64_t bytes = 0;
        std::array<uint8_t, 32> digest{};
    };
    void SetEmbeddedText(uint32_t id, const EmbeddedText& text);
    bool GetEmbeddedText(uint32_t id, EmbeddedText& text);
    // A picture whose file was missing when its report named it: the
    // placeholder it shows from the start, which a save writes as it was
    // read. Forgotten once the file is found.
    void NoteMissingFromStart(uint32_t id);
    bool WasMissingFromStart(uint32_t id);
    // Deletes the released files that could not be deleted when they were
    // released (a thread was still reading one); called when the program is idle.
    void DeleteReleasedFiles();
    // Released files still waiting to be deleted.
    size_t GetPendingDeleteCount();

private:
    void LoadFunctions();
    // Makes the shared folder and this run's folder with its lock file, in
    // the first place of the two that takes them.
    void MakeStoreFolder();
    // This run's folder with its lock file in the shared folder; false, with
    // the failure kept, when none can be made.
    bool MakeRunFolder(const CString& root);
    // This run's folder, with its lock, made again under its own name where
    // something deleted it while the program ran (a disk clean-up): the
    // pictures the program still names by it are written there anew. False
    // when it cannot be made.
    bool RemakeRunFolder();
    // Deletes every file of this run's folder that the clipboard does not
    // name, its lock, and the folder when that left it empty.
    void EndRun();
    // A copy in the own folder of another copy's store file; its path, empty
    // when the copy could not be made.
    std::wstring CopyIntoOwnStore(const std::wstring& source);
    void WriteConfigurationFile(const wchar_t* name);
    KWRasterImage* DecodePlaceholder();
    // Takes the next id for a path and enters both directions.
    uint32_t RegisterNewPath(const std::wstring& path);
    bool ReadImageInfo(const wchar_t* path, ImageInfo& info);
    // Forgets everything known of a released store file of the id (the
    // store's lock held); its path.
    std::wstring ForgetStoreFileLocked(uint32_t id);
    // Deletes a released file, or keeps it for DeleteReleasedFiles when it
    // cannot be deleted yet; drops the id from the caches.
    void DeleteReleasedFile(uint32_t id, const std::wstring& path);
    // Lists the store's files under this run's prefix, once.
    void ListLeftoverNames();
    // The picture read, grey, turned and reduced as the request asks (whose size
    // becomes the result's), and the format to encode it in; null on failure.
    KWRasterImage* PrepareImageForExport(uint32_t id, RasterExportRequest& request, std::string& format);

    KWRasterFunctions m_functions;
    HMODULE m_library = nullptr;
    HMODULE m_resourceModule;
    CString m_dataFolder;
    CString m_storeFolder;
    CString m_storeRoot;
    // Both places of the shared folder (with a trailing backslash), and each
    // as the system spells it, in lower case.
    std::vector<std::wstring> m_sharedFolders;
    std::vector<std::wstring> m_sharedFolderSpellings;
    CString m_storeFailedFolder;
    DWORD m_storeError = 0;
    HANDLE m_runLock = INVALID_HANDLE_VALUE;
    std::string m_namePrefix = "_QZ_Files_";

    std::mutex m_placeholderLock;
    KWRasterImage* m_placeholder = nullptr;
    bool m_placeholderTried = false;

    std::mutex m_storeLock;
    std::map<std::wstring, uint32_t> m_idsByPath;
    std::map<uint32_t, std::wstring> m_pathsById;
    std::map<uint32_t, ImageInfo> m_infos;
    std::map<uint32_t, KWPictureState> m_states;       // decoded
    std::map<uint32_t, KWPictureState> m_walkedStates; // bytes only
    // The file as it was when its state was found.
    std::map<uint32_t, FileStamp> m_checkedStamps;
    std::map<uint32_t, SIZE> m_shownSizes;
    std::set<uint32_t> m_reported;
    std::map<uint32_t, std::wstring> m_emptySourceNames;
    struct PictureSource {
        std::wstring file;
        bool embedded = false;
    };
    std::map<uint32_t, PictureSource> m_sources;
    std::map<uint32_t, DWORD> m_unkeptErrors;
    std::map<uint32_t, uint32_t> m_holdCounts;  // held ids only
    std::map<std::wstring, uint32_t> m_idsByOrigin;
    std::map<uint32_t, std::wstring> m_originsById;
    std::map<uint32_t, EmbeddedText> m_embeddedTexts;
    std::set<uint32_t> m_missingFromStart;
    // Other copies' store files that were copied into the own folder: the
    // path of each, by the id of its copy, so that it gives the same copy
    // while that is held.
    std::multimap<uint32_t, std::wstring> m_adoptedPaths;
    std::vector<std::wstring> m_pendingDeletes;
    // Lower-cased names of files under this run's prefix that were in the
    // folder before (or that another program made): never given out.
    std::set<std::string> m_takenNames;
    std::once_flag m_leftoversListed;
    uint32_t m_nextPictureId = kFirstPictureId;
    uint32_t m_nameCounter = kFirstPictureId;

    CKWImageCache m_thumbnails;
    CKWImageCache m_previews;
};

// The program's binding.
extern CKWRasterLib g_rasterLib;
// False once the program's binding is being destroyed at the program's end.
bool KWIsRasterLibAlive();
