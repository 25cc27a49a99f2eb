#pragma once
// CKWFocusManager: remembers which pane of a split frame holds the focus, by
// the code the frame gave that pane (0 while none has told it).
class CKWFocusManager {
public:
    CKWFocusManager() = default;
    virtual ~CKWFocusManager();
    // A pane with this code gained the focus.
    virtual void SetFocusItem(int code);

    int GetFocusItem() const { return m_focusCode; }

private:
    int m_focusCode = 0;
};
