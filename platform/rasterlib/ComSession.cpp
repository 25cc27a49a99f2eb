#include "platform/rasterlib/ComSession.h"

namespace rasterlib {

ComSession::ComSession()
{
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(hr)) {
        m_ready = true;
        m_leave = true;
    } else if (hr == RPC_E_CHANGED_MODE) {
        m_ready = true;  // the thread is already in a single-threaded apartment
    }
}

ComSession::~ComSession()
{
    if (m_leave)
        ::CoUninitialize();
}

}  // namespace rasterlib
