#pragma once
// CDocument: the data of one open file (or of a new, untitled one), shown in
// the views attached to it. It belongs to the document template that made
// it; it is deleted when its last view goes (m_bAutoDelete) or when it is
// closed. Commands reach it after its active view and go on to its template.
#include "platform/classlib/CmdTarget.h"
#include "platform/classlib/List.h"
#include "platform/classlib/String.h"

class CArchive;
class CDocTemplate;
class CException;
class CFile;
class CFileException;
class CFrameWnd;
class CView;

// Document commands and the library's strings (the resource module may
// carry its own texts under these ids; built-in English texts stand in).
constexpr UINT ID_FILE_NEW = 0xE100;
constexpr UINT ID_FILE_OPEN = 0xE101;
constexpr UINT ID_FILE_CLOSE = 0xE102;
constexpr UINT ID_FILE_SAVE = 0xE103;
constexpr UINT ID_FILE_SAVE_AS = 0xE104;
constexpr UINT AFX_IDS_OPENFILE = 0xF000;        // "Open"
constexpr UINT AFX_IDS_SAVEFILE = 0xF001;        // "Save As"
constexpr UINT AFX_IDS_ALLFILTER = 0xF002;       // "All Files (*.*)"
constexpr UINT AFX_IDS_UNTITLED = 0xF003;        // "Untitled"
constexpr UINT AFX_IDP_INVALID_FILENAME = 0xF100;
constexpr UINT AFX_IDP_FAILED_TO_OPEN_DOC = 0xF101;
constexpr UINT AFX_IDP_FAILED_TO_SAVE_DOC = 0xF102;
constexpr UINT AFX_IDP_ASK_TO_SAVE = 0xF103;     // "Save changes to %1?"
constexpr UINT AFX_IDP_FAILED_TO_CREATE_DOC = 0xF104;
constexpr UINT AFX_IDP_COMMAND_FAILURE = 0xF109;  // "Command failed."
constexpr UINT AFX_IDP_UNREG_DONE = 0xF10B;
constexpr UINT AFX_IDP_UNREG_FAILURE = 0xF10C;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    // A document that still has views detaches them (they keep no pointer to it).
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    // Sets the title and updates the captions of the document's frames.
    virtual void SetTitle(LPCWSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // The full path; the title becomes the file's display name and the path
    // goes to the recent-file list when bAddToMRU.
    virtual void SetPathName(LPCWSTR lpszPathName, BOOL bAddToMRU = TRUE);
    void ClearPathName() { m_strPathName.Empty(); }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL bModified = TRUE);

    // Views, in the order they were added.
    virtual POSITION GetFirstViewPosition() const;
    virtual CView* GetNextView(POSITION& rPosition) const;
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    // OnUpdate of every view except pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    // Called after a view came or went; without views an auto-delete
    // document closes itself.
    virtual void OnChangedViewList();
    // Numbers the frames of the document (1, 2, ... when there are several,
    // 0 for a single one) and updates their captions.
    virtual void UpdateFrameCounts();

    virtual void DeleteContents();
    // Empties the document, clears the modified flag.
    virtual BOOL OnNewDocument();
    // Serializes from the file through an archive; FALSE with a message on failure.
    virtual BOOL OnOpenDocument(LPCWSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCWSTR lpszPathName);
    // Destroys the frames, empties the document and deletes it (m_bAutoDelete).
    virtual void OnCloseDocument();
    virtual void ReportSaveLoadException(LPCWSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);
    // The file the document is read from or written to; null (pError filled) on failure.
    virtual CFile* GetFile(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
    virtual void ReleaseFile(CFile* pFile, BOOL bAbort);

    // The frame may close when it is not the document's last one, or when the
    // user agreed to save (or drop) the changes.
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    // Asks "Save changes to <title>?" when modified; FALSE when cancelled or
    // when the save failed.
    virtual BOOL SaveModified();
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    // Saves under the path, or asks for a name when it is null (or the
    // document has none); bReplace makes the new name the document's.
    virtual BOOL DoSave(LPCWSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();

    // The menu and accelerators that frames show for the document (null:
    // the frame's own).
    virtual HMENU GetDefaultMenu();
    virtual HACCEL GetDefaultAccelerator();

    // Lets go of the views without destroying them (the session ends and
    // the windows go with it).
    void DisconnectViews();

    // The document's map, then its template's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Deleted when its last view goes and when it is closed.
    BOOL m_bAutoDelete;
    // An embedded document (OLE) or one made without views shown.
    BOOL m_bEmbedded;

protected:
    afx_msg void OnFileClose();
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate;
    CList<CView*, CView*> m_viewList;
    BOOL m_bModified;

    // The template sets m_pDocTemplate when it takes the document.
    friend class CDocTemplate;

    DECLARE_MESSAGE_MAP()
};

// A message box with a string of the resource module, or lpszDefault when
// the module has no string nID; %1 in the text is replaced by lpsz1.
int AfxMessageBoxText(UINT nID, LPCWSTR lpszDefault, UINT nType, LPCWSTR lpsz1 = nullptr);
// Two paths name the same file (compared without regard to case after
// making them full).
BOOL AfxComparePath(LPCWSTR lpszPath1, LPCWSTR lpszPath2);
// The full path of a name (relative names are taken from the current folder).
CString AfxFullPath(LPCWSTR lpszFileIn);
