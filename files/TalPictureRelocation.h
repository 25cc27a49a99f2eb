#pragma once
// CTalPictureRelocation: where the pictures of a document being saved end up,
// by its picture storage mode: 0 copied into the picture store (and embedded),
// 1 moved from the store into the picture folder beside the document, 2
// copied into that folder. Nothing the old document file refers to is
// touched before the new file is in place: files are only ever copied to new
// names, the originals of a move are given up by Commit (the picture store
// deletes them once nothing holds them), and Rollback deletes
// the copies when the save fails. Each picture is placed once per save and
// gets a key, its number in order of first use, that the file refers to it by.
// A save of a copy (an archive, a template) moves nothing: its pictures are
// copied, and the document goes on with the files it had.
#include "framework/KWPictureHold.h"
#include "platform/classlib/String.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <vector>

class CTalPictureRelocation {
public:
    struct Entry {
        // The picture the document names; sourceId differs once it is taken anew.
        uint32_t placedId = 0;
        uint32_t sourceId = 0;
        CString sourcePath;
        // The file the document refers to after the save.
        CString finalPath;
        bool createdCopy = false;  // finalPath was made by this save
        bool moveSource = false;   // the source goes once the save succeeded
        bool missing = false;      // the source file does not exist
        bool empty = false;        // the source file holds no byte
        // Embedding: the name of the empty file whose placeholder the final
        // file is, made by this save or kept from an earlier one.
        CString emptyName;
        // A placeholder of no file that its report named by a link the load
        // refused: that name, which a file naming its pictures writes again.
        CString linkName;
        // The save needs the file's bytes and cannot read them (the file is
        // gone, or another program holds it), nor take them anew from the
        // report that embedded them: the system's error. Such a picture
        // would be lost: the save must not go on. (Taken anew, the picture
        // is the new file of the store, in sourceId and sourcePath.)
        DWORD unreadError = 0;
    };

    // Copies a picture file to a target that does not exist yet; 0, or the
    // system's error code (the target may then hold part of the file).
    using Copier = std::function<DWORD(const CString& source, const CString& target)>;

    // mode: 0, 1 or 2. folder: the picture folder with its final backslash
    // (modes 1 and 2). copy: the save writes a copy of the document.
    CTalPictureRelocation(int32_t mode, const CString& folder, bool copy = false, Copier copier = Copier());
    ~CTalPictureRelocation();
    CTalPictureRelocation(const CTalPictureRelocation&) = delete;
    CTalPictureRelocation& operator=(const CTalPictureRelocation&) = delete;

    // Makes the picture folder when it is missing; false when it cannot be made.
    bool EnsureFolder();
    // The key of the picture (1, 2, ...); the file is placed at its first use.
    int32_t Place(uint32_t pictureId);
    // True once a picture file that exists could not be copied, or the
    // folder could not be made; nothing is placed after that.
    bool HasFailed() const { return m_failed; }
    // A picture placed whose file the save then could not read after all
    // (Entry::unreadError).
    void NoteUnread(int32_t key, DWORD error);
    // The file or folder that could not be written, and the reason in words,
    // told when the write failed.
    const CString& GetFailedPath() const { return m_failedPath; }
    const CString& GetFailedReason() const { return m_failedReason; }
    const std::vector<Entry>& GetEntries() const { return m_entries; }
    const Entry& GetEntry(int32_t key) const { return m_entries[static_cast<size_t>(key - 1)]; }

    // After the document file was replaced: gives up the originals of moved
    // pictures and gives the picture id of every entry's final file. A copy
    // keeps every picture's id and deletes the store's copies it embedded.
    void Commit();
    // The plain copy of a file that is not there yet; the file is read as
    // OpenToRead reads it, so that a picture that passed the check is copied.
    static DWORD CopyNewFile(const CString& source, const CString& target);
    // The picture id a key refers to after Commit.
    uint32_t GetNewId(int32_t key) const;
    // The save failed: deletes the copies made and a folder made when it is empty.
    void Rollback();

    // The picture folder of a document: its path without the extension of its
    // file name, followed by " Images" and a backslash.
    static CString GetPictureFolder(const wchar_t* documentPath);
    // True for a file directly inside the picture store's folder.
    static bool IsStoreFile(const CString& path);
    // True when both files exist and hold the same bytes.
    static bool SameContent(const CString& a, const CString& b);
    // 0 when the file can be opened for reading now; else the system's error.
    static DWORD ReadError(const CString& path);
    // The file opened for reading as the save reads a picture's bytes,
    // sharing reading, writing and deleting with any program that holds it,
    // so that the check above tells what the reading meets. Invalid (the
    // system's error set) when it cannot be opened.
    static HANDLE OpenToRead(const CString& path);

private:
    // Whether the save copies the picture's file (into the store to embed
    // it, or into the picture folder), and so needs its bytes.
    bool NeedsBytes(const Entry& entry) const;
    // Makes sure that the bytes of a picture whose file the save needs can be
    // read: from the file, or taken anew from the report that embedded them.
    void MakeReadable(Entry& entry);
    bool InFolder(const CString& path) const;
    void PlaceInStore(Entry& entry);
    void PlaceInFolder(Entry& entry, bool move);
    // A name in the folder for the source's file name that no other picture
    // of this save uses and whose file is absent or holds the same bytes.
    CString ChooseTarget(const CString& source, bool& reuse);
    void Fail(const CString& path, DWORD error);

    int32_t m_mode;
    CString m_folder;
    bool m_copy;
    Copier m_copier;
    bool m_folderCreated = false;
    bool m_failed = false;
    CString m_failedPath;
    CString m_failedReason;
    std::vector<Entry> m_entries;
    std::map<uint32_t, int32_t> m_keys;
    std::set<CString> m_targets;  // lower-cased final paths used by this save
    std::vector<uint32_t> m_newIds;
    // The pictures taken anew, held while the save runs; a failed save lets
    // them go and the store deletes them.
    std::vector<CKWPictureHold> m_restored;
};
