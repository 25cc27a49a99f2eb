#pragma once
// CEggsDlg: the "Our Team" dialog: one picture, decoded from the JPEG held in
// the program's resources, the dialog's client area sized to it.
#include "framework/KWGdipBitmap.h"
#include "appwindows/KWDialog.h"

#include <cstdint>

struct KWRasterImage;

class CEggsDlg : public CKWDialog {
public:
    // The picture is the JPEG of the given bytes (kept by the caller until the
    // dialog ends); without bytes, the program's team picture.
    explicit CEggsDlg(CWnd* parent = nullptr, const void* picture = nullptr, uint32_t pictureSize = 0);
    ~CEggsDlg() override;

    BOOL OnInitDialog() override;
    // The decoded picture; null before the dialog starts or when it did not decode.
    const KWRasterImage* GetRasterImage() const { return m_image; }

protected:
    // The picture decoded (freed with KWFreeRasterImage); null when it does not decode.
    virtual KWRasterImage* DecodePicture();
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    void FreeImage();
    void CenterOverOwner();

    const void* m_picture;
    uint32_t m_pictureSize;
    CKWGdipBitmap m_bitmap;
    KWRasterImage* m_image = nullptr;
};
