#pragma once
// IKWLinkOpener: how the controls open a web link through the application
// without knowing the application's classes, which live in a higher layer.
#include "platform/classlib/String.h"

class IKWLinkOpener {
public:
    virtual ~IKWLinkOpener() = default;
    virtual void OpenLink(const CString& text) = 0;
};

// The running application object as a link opener; null when there is no
// application or it opens no links.
IKWLinkOpener* KWGetLinkOpener();
