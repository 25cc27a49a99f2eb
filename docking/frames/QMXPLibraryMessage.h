#pragma once
// The library's own messages to the user: one of its strings in a message
// box, and its internal-error message for a customisation command that
// throws, so that the dialog that ran it goes on.
#include "platform/classlib/Exception.h"

#include <windows.h>

#include <exception>

// "QMX Toolbar internal error. Please contact your application vendor."
constexpr UINT IDS_QMXP_INTERNAL_ERROR = 16008;

// The library's string in a message box with the icon (an MB_ICON value).
void QMXPShowLibraryMessage(UINT nID, UINT nIcon);

// Runs the command. An exception of the class library or of the language
// (a failed allocation) that it throws ends in message 16008 and FALSE.
template <class Command>
BOOL QMXPRunGuarded(Command command) {
    try {
        command();
        return TRUE;
    } catch (CException* pException) {
        pException->Delete();
    } catch (const std::exception&) {
    }
    QMXPShowLibraryMessage(IDS_QMXP_INTERNAL_ERROR, MB_ICONSTOP);
    return FALSE;
}
