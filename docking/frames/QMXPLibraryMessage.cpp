#include "docking/frames/QMXPLibraryMessage.h"

#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

void QMXPShowLibraryMessage(UINT nID, UINT nIcon) {
    CString strText;
    AfxLoadStringResource(nID, strText);
    AfxMessageBox(strText, MB_OK | nIcon);
}
