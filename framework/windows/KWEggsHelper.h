#pragma once
// CKWEggsHelper: what a left click in the About box does. The box owns its
// helper and deletes it through the virtual destructor.
class CKWEggsHelper {
public:
    virtual ~CKWEggsHelper() = default;
    // A left click at (x, y) in the box's client area; code is 0.
    virtual void OnClick(int code, int x, int y) {}
};
