#pragma once
// CKWKeyRecord: a key as the panels and views receive it: the virtual-key
// code and the Shift, Alt and Ctrl states at the time of the message.
#include <windows.h>

#include <cstdint>

struct CKWKeyRecord {
    uint32_t key = 0;
    uint8_t shift = 0;
    uint8_t alt = 0;
    uint8_t ctrl = 0;
    uint8_t reserved = 0;

    // The key of a WM_KEYDOWN or WM_KEYUP with the modifier states read now.
    static CKWKeyRecord FromMessage(WPARAM key)
    {
        CKWKeyRecord record;
        record.key = static_cast<uint32_t>(key);
        record.shift = ::GetKeyState(VK_SHIFT) < 0 ? 1 : 0;
        record.alt = ::GetKeyState(VK_MENU) < 0 ? 1 : 0;
        record.ctrl = ::GetKeyState(VK_CONTROL) < 0 ? 1 : 0;
        return record;
    }
};
