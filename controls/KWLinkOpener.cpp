#include "controls/KWLinkOpener.h"

#include "platform/classlib/WinApp.h"

IKWLinkOpener* KWGetLinkOpener()
{
    return dynamic_cast<IKWLinkOpener*>(AfxGetApp());
}
