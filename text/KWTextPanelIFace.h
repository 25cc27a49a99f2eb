#pragma once
// CKWTextPanelIFace: the edit engine as a text panel presents it; it adds the
// virtual destructor, through which the whole panel is destroyed.
#include "text/KWEditEngine.h"

class CKWTextPanelIFace : public CKWEditEngine {
public:
    virtual ~CKWTextPanelIFace() {}
};
