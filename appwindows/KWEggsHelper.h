#pragma once
// CKWEggsHelper: what a left click in the About box does. The box owns its
// helper and deletes it through the virtual destructor.
class CWnd;

class CKWEggsHelper {
public:
    virtual ~CKWEggsHelper() = default;
    // A left click at (x, y) in the host box's client area.
    virtual void OnClick(CWnd* host, int x, int y) {}
};
