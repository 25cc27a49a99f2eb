#pragma once
// CTalPictureChecks: the pictures whose files a picture-loading thread
// checks once its thumbnails are read, shared by the image panel (which adds
// the pictures a user adds while the thread runs) and the thread (which
// takes them in order). Once the thread finds it empty it is closed: what is
// added later needs a thread of its own.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

class CTalPictureChecks {
public:
    explicit CTalPictureChecks(const std::vector<uint32_t>& ids = std::vector<uint32_t>()) : m_ids(ids) {}
    CTalPictureChecks(const CTalPictureChecks&) = delete;
    CTalPictureChecks& operator=(const CTalPictureChecks&) = delete;

    // False, adding nothing, once the list is closed.
    bool Add(const std::vector<uint32_t>& ids);
    // The next picture to check; false, closing the list, when none is left.
    bool Take(uint32_t& id);

private:
    std::mutex m_lock;
    std::vector<uint32_t> m_ids;
    size_t m_next = 0;
    bool m_closed = false;
};
