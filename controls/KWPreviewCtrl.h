#pragma once
// CKWPreviewCtrl: a small picture of a file over a static control, beside
// the image-import dialog. Its owner gives it a file name and a function
// that makes a bitmap of a file; the control asks for the bitmap when the
// file is set and paints it fitted into its window.
#include "platform/classlib/Static.h"
#include "platform/classlib/String.h"

// A device bitmap of the file (the caller owns it), or null; the second
// argument is always 0.
using KWPreviewMaker = HBITMAP (*)(const wchar_t* file, int reserved);

class CKWPreviewCtrl : public CStatic {
public:
    CKWPreviewCtrl() = default;
    // Deletes the preview and lets the window go: it belongs to the dialog.
    ~CKWPreviewCtrl() override;
    CKWPreviewCtrl(const CKWPreviewCtrl&) = delete;
    CKWPreviewCtrl& operator=(const CKWPreviewCtrl&) = delete;

    void SetPreviewMaker(KWPreviewMaker maker) { m_maker = maker; }
    // Takes the name (when it differs) and the show flag, then rebuilds the
    // preview: the same name asks the maker again.
    void SetFile(const wchar_t* file, int show, bool redraw);
    // A new preview when the flag is set, a name is given and there is a
    // maker; with redraw the window is repainted at once.
    void Rebuild(bool redraw);

    const CString& GetFile() const { return m_file; }
    int GetShow() const { return m_show; }
    HBITMAP GetPreview() const { return m_preview; }

protected:
    // The static's own painting without a preview; with one, the bitmap
    // unscaled and centred when it fits inside a 2-pixel margin, else scaled
    // to fit, centred, its proportions kept.
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    void DeletePreview();

    CString m_file;
    int m_show = 0;
    HBITMAP m_preview = nullptr;
    KWPreviewMaker m_maker = nullptr;
};
