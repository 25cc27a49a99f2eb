#pragma once
// CKWAbstractApp: the application as the framework sees it, without the
// class library: the default printer's page geometry, the registry key
// stack, and the operations through which the framework asks the
// application for its settings, tool bars, frames and documents. The
// operations without a body here are the application's own.
#include "framework/KWRegKeyStack.h"
#include "platform/classlib/String.h"

#include <windows.h>

#include <cstdint>

class CFrameWnd;
class CKWDocManager;
class CKWDocument;
class CKWStatusBar;
class CKWToolBarManager;
class CQMFormatInfo;
class CWnd;

// A printer's page in device pixels, as its device context reports it.
struct KWPrinterPage {
    int pixelsPerInchX;
    int pixelsPerInchY;
    int physicalWidth;
    int physicalHeight;
    int offsetX;
    int offsetY;
    int printableWidth;   // HORZRES
    int printableHeight;  // VERTRES
};

class CKWAbstractApp {
public:
    CKWAbstractApp() = default;
    // Closes the keys of the key stack.
    virtual ~CKWAbstractApp() = default;
    CKWAbstractApp(const CKWAbstractApp&) = delete;
    CKWAbstractApp& operator=(const CKWAbstractApp&) = delete;

    virtual void InitializeApp() {}
    virtual void TerminateApp() {}
    // The application writes and reads its settings in the registry.
    virtual void SaveSettings() = 0;
    virtual void LoadSettings() = 0;
    // A docking-library tool bar asks to be built again.
    virtual void ResetToolBar(UINT toolBarId) = 0;
    virtual void OnMainFrameCreate(CFrameWnd* frame) = 0;
    // Whether the Control key is held, which default registry script to
    // import, and whether to skip the import.
    virtual void GetResetRequest(bool& controlHeld, UINT& scriptId, bool& skip) = 0;
    // The resource id of the default registry script; 0 for none.
    virtual UINT GetDefaultScriptId() { return 0; }
    virtual CKWToolBarManager* GetToolBarManager() { return nullptr; }
    // Called just before the main frame is made.
    virtual void PrepareApp() {}
    virtual CKWStatusBar* CreateStatusBar(CWnd* parent) { return nullptr; }
    virtual CKWStatusBar* GetStatusBar() { return nullptr; }
    virtual DWORD GetStartTickCount() { return 0; }
    // The first record of the application's list of file formats.
    virtual CQMFormatInfo* GetFormatList() = 0;
    virtual CKWDocManager* GetDocManager() { return nullptr; }
    virtual CKWDocument* GetFirstDocument() { return nullptr; }
    virtual CKWDocument* GetNextDocument() { return nullptr; }
    // The folder under which the program keeps its data, with a final backslash.
    virtual CString GetDataRoot() { return CString(); }
    // The application registers its document templates.
    virtual void AddDocTemplates() = 0;
    // The new main frame, or null.
    virtual CFrameWnd* CreateMainFrame() = 0;
    // Whether settings of a compatible version were saved.
    virtual void GetSettingsPresent(bool& present) { present = true; }
    virtual void PassKeyStackToStatusBar() {}
    // At every idle call, before the class library's idle processing.
    virtual void OnIdleHook() {}

    // The page geometry from the printer's measures: margins, printable size
    // and the paper in tenths of a millimetre (the integers truncated).
    void SetPageGeometry(const KWPrinterPage& page);
    // All measures 0; the orientation and the scale keep their values.
    void ClearPageGeometry();

    CKWRegKeyStack& GetKeyStack() { return m_keyStack; }

    // The default printer's page, in tenths of a millimetre.
    double m_leftMargin = 0;
    double m_topMargin = 0;
    double m_rightMargin = 0;
    double m_bottomMargin = 0;
    double m_printableWidth = 0;
    double m_printableHeight = 0;
    int32_t m_paperWidth = 0;
    int32_t m_paperHeight = 0;
    int32_t m_largestMargin = 0;
    // The device mode's orientation and scale (100 until a printer is read).
    uint16_t m_orientation = 0;
    uint16_t m_scale = 100;

protected:
    CKWRegKeyStack m_keyStack;
};
