#pragma once
// CKWPictureHold: a picture id of the program's picture store (g_rasterLib)
// that holds the picture's file while it names it. The model keeps its
// picture ids in these, so that a report's pictures, logo, watermarks and
// page templates, and every copy of them an undo step or the clipboard keeps,
// hold their files; when the last of them lets go, a file of the store's own
// folder is deleted. It reads and assigns as the plain id it holds.
#include <cstdint>

class CKWPictureHold {
public:
    CKWPictureHold() = default;
    // Holds the id's file (0: nothing).
    CKWPictureHold(int32_t id);
    CKWPictureHold(const CKWPictureHold& other);
    CKWPictureHold(CKWPictureHold&& other) noexcept;
    CKWPictureHold& operator=(const CKWPictureHold& other);
    CKWPictureHold& operator=(CKWPictureHold&& other) noexcept;
    CKWPictureHold& operator=(int32_t id);
    ~CKWPictureHold();

    operator int32_t() const { return m_id; }
    int32_t Get() const { return m_id; }

private:
    int32_t m_id = 0;
};
