#pragma once
// The server side of the shell's DDE conversation: the main frame answers
// WM_DDE_INITIATE for the application's service and the "system" topic
// (CWinApp::EnableShellOpen), acknowledges each WM_DDE_EXECUTE and hands
// its command to CWinApp::OnDDECommand, and answers WM_DDE_TERMINATE.
#include "platform/classlib/String.h"

#include <windows.h>

class CWnd;

// Each returns the message's result; pServerWnd is the answering frame.
LRESULT AfxDDEInitiate(CWnd* pServerWnd, HWND hWndClient, LPARAM lParam);
// The command runs only while the frame is enabled (a modal dialog is not
// interrupted); it is acknowledged in any case.
LRESULT AfxDDEExecute(CWnd* pServerWnd, HWND hWndClient, LPARAM lParam);
LRESULT AfxDDETerminate(CWnd* pServerWnd, HWND hWndClient, LPARAM lParam);
// The command text of a WM_DDE_EXECUTE (its global block), empty when there is none.
CString AfxGetDDECommand(LPARAM lParam);
