#pragma once
// CTalBaseDocument: the report-content half of a document: the document
// properties (heading section, page setup, text formats, watermarks, command
// history, font table) and the commander that changes them. The command
// handlers report each model change through the notifications below; the
// defaults do nothing. The editor's document overrides them to keep its
// windows in step; the report files read and write the content through it.
//
// Each notification takes its model objects as counted pointers by value.
// They are sent after the change, except OnSectionRemoved, OnSectionMoving and
// OnPicturesChanging, which come while the model still holds the old state.
#include <cstdint>
#include <memory>

#include "framework/KWRefPtr.h"
#include "model/TalDocProperties.h"
#include "model/TalObject.h"

class CTalCommander;
class CTalCommandHistory;
class CTalPicture;
class CTalSection;

class CTalBaseDocument {
public:
    CTalBaseDocument();
    virtual ~CTalBaseDocument();
    CTalBaseDocument(const CTalBaseDocument&) = delete;
    CTalBaseDocument& operator=(const CTalBaseDocument&) = delete;

    // --- Notifications, in slot order ---
    virtual void OnModelReset(CKWRefPtr<CTalSection> heading) {}
    virtual void OnSectionInserted(CKWRefPtr<CTalSection> section, bool select) {}
    virtual void OnSectionRemoved(CKWRefPtr<CTalSection> section) {}
    virtual void OnSectionMoving(CKWRefPtr<CTalSection> section) {}
    virtual void OnSectionMoved(CKWRefPtr<CTalSection> section) {}
    virtual void OnSectionRenamed(CKWRefPtr<CTalSection> section, bool startLabelEdit) {}
    virtual void OnSectionTemplateChanged(CKWRefPtr<CTalSection> section) {}
    virtual void OnSectionExpandedChanged(CKWRefPtr<CTalSection> section) {}
    virtual void OnPictureTitleChanged(CKWRefPtr<CTalSection> section, CKWRefPtr<CTalPicture> picture,
                                       bool startEdit) {}
    virtual void OnPicturesChanging(CKWRefPtr<CTalSection> section) {}
    virtual void OnPicturesRemoved(CKWRefPtr<CTalSection> section, const CTalPositionList& positions) {}
    virtual void OnPicturesInserted(CKWRefPtr<CTalSection> section, const CTalPositionList& positions) {}
    // Kind 15.
    virtual void OnPicturesRotated(CKWRefPtr<CTalSection> section, const CTalPositionList& positions) {}
    // Kind 13; a second entry with the same behaviour.
    virtual void OnPicturesGrayscaleChanged(CKWRefPtr<CTalSection> section, const CTalPositionList& positions)
    {
        OnPicturesRotated(section, positions);
    }
    virtual void OnPicturePropertiesChanged(CKWRefPtr<CTalSection> section, const CTalPositionList& positions) {}
    virtual void OnDefaultGrayscaleChanged() {}
    virtual void OnTextNoteChanged(CKWRefPtr<CTalSection> section) {}
    virtual void OnTextRangeChanged(CKWRefPtr<CTalSection> section, int32_t first, int32_t last) {}
    virtual void OnTextLayoutChanged() {}
    // The default page size in millimetres; A4 here.
    virtual bool GetDefaultPageSize(double& width, double& height);

    // --- Content ---
    CTalDocProperties& GetProperties() { return m_properties; }
    const CTalDocProperties& GetProperties() const { return m_properties; }
    CTalCommander& GetCommander() { return *m_commander; }
    // The history held by the properties.
    CTalCommandHistory* GetCommandHistory() const;
    // The heading section when its id matches, else the first section of that
    // id in its subtree; null when absent.
    CKWRefPtr<CTalSection> FindSectionById(int32_t id) const;
    // Pictures of the file the document was read from that the picture store
    // could not keep: they exist only in that file, and a save would lose them.
    // error: the system's error met at the first of them.
    void SetUnkeptPictures(int32_t count, uint32_t error)
    {
        m_unkeptPictures = count;
        m_unkeptError = error;
    }
    int32_t GetUnkeptPictures() const { return m_unkeptPictures; }
    uint32_t GetUnkeptError() const { return m_unkeptError; }

private:
    CTalDocProperties m_properties;
    std::unique_ptr<CTalCommander> m_commander;
    int32_t m_unkeptPictures = 0;
    uint32_t m_unkeptError = 0;
};
