// The section image panel: its controls and layout, the two modes, the
// current image, title editing, navigation, the buttons' states and the
// properties text.
#include "editor/TalControlsWnd.h"

#include "appwindows/KWAbstractApp.h"
#include "appwindows/KWStatusBar.h"
#include "editor/TalApplication.h"
#include "editor/TalDocFrame.h"
#include "editor/TalImageViewData.h"
#include "framework/KWKeyRecord.h"
#include "framework/KWPathUtils.h"
#include "framework/KWRasterLib.h"
#include "framework/KWSystemInfo.h"
#include "model/TalPrefs.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "document/TalDocument.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/StringResource.h"
#include "resources/Editor.h"

#include <algorithm>

namespace {

// The push buttons: id, icon on XP and later, icon before, disabled icon,
// tooltip string (the button's id).
struct PanelButton {
    UINT id;
    UINT iconXP;
    UINT iconOld;
    UINT iconDisabled;
};

const PanelButton kButtons[15] = {
    {IDC_TAL_IMG_ADD, 201, 253, 0},          {IDC_TAL_IMG_REMOVE, 202, 254, 0},
    {IDC_TAL_IMG_PREVIEW_MODE, 199, 251, 0}, {IDC_TAL_IMG_THUMBNAILS_MODE, 200, 252, 0},
    {IDC_TAL_IMG_GRAYSCALE, 205, 257, 0},    {IDC_TAL_IMG_ROTATE_LEFT, 203, 255, 0},
    {IDC_TAL_IMG_ROTATE_RIGHT, 204, 256, 0}, {IDC_TAL_IMG_DESCRIPTION, 206, 258, 0},
    {IDC_TAL_IMG_SHOW, 207, 259, 0},         {IDC_TAL_IMG_NEW_PAGE, 208, 260, 0},
    {IDC_TAL_IMG_GENERATE, 246, 246, 0},     {IDC_TAL_IMG_FIRST, 213, 265, 217},
    {IDC_TAL_IMG_PREVIOUS, 214, 266, 218},   {IDC_TAL_IMG_NEXT, 215, 267, 219},
    {IDC_TAL_IMG_LAST, 216, 268, 220},
};

// The facades, in their order: the navigation buttons, then the image buttons.
const UINT kFacadeIds[13] = {IDC_TAL_IMG_FIRST,         IDC_TAL_IMG_PREVIOUS,   IDC_TAL_IMG_NEXT,
                             IDC_TAL_IMG_LAST,          IDC_TAL_IMG_THUMBNAILS_MODE, IDC_TAL_IMG_PREVIEW_MODE,
                             IDC_TAL_IMG_REMOVE,        IDC_TAL_IMG_ROTATE_LEFT, IDC_TAL_IMG_ROTATE_RIGHT,
                             IDC_TAL_IMG_SHOW,          IDC_TAL_IMG_DESCRIPTION, IDC_TAL_IMG_GRAYSCALE,
                             IDC_TAL_IMG_NEW_PAGE};
enum { kFirst, kPrevious, kNext, kLast, kThumbMode, kPreviewMode, kRemove, kRotLeft, kRotRight, kShow,
       kDescription, kGrayscale, kNewPage };

// The buttons that act on the current image.
const int kImageButtons[] = {kRemove, kRotLeft, kRotRight, kShow, kDescription, kGrayscale, kNewPage};
// The buttons of the lower row, which keep their left edge.
const UINT kLowerRow[] = {IDC_TAL_IMG_ADD,       IDC_TAL_IMG_REMOVE,      IDC_TAL_IMG_PREVIEW_MODE,
                          IDC_TAL_IMG_THUMBNAILS_MODE, IDC_TAL_IMG_GRAYSCALE, IDC_TAL_IMG_ROTATE_LEFT,
                          IDC_TAL_IMG_ROTATE_RIGHT, IDC_TAL_IMG_DESCRIPTION, IDC_TAL_IMG_SHOW,
                          IDC_TAL_IMG_NEW_PAGE,  IDC_TAL_IMG_GENERATE};
const UINT kUpperRow[] = {1144, IDC_TAL_IMG_FIRST, IDC_TAL_IMG_PREVIOUS, IDC_TAL_IMG_NEXT, IDC_TAL_IMG_LAST};

// The report category and the preferred format of "Generate Report".
constexpr uint32_t kGenerateCategory = 224;

// The name the status bar gives a picture: its file's name, or, where the
// picture store named the file (a picture a report carried inside, or one
// kept beside a saved report), the picture's title with the file's extension.
CString PictureName(const CTalPicture& picture)
{
    const CString path = g_rasterLib.GetImagePath(static_cast<uint32_t>(picture.GetPictureId()));
    const CString name = GetPathFileName(path, true);
    if (picture.GetTitle().IsEmpty() || !CKWRasterLib::IsStoreFileName(name))
        return name;
    const CString extension = L"." + GetPathExtension(path);
    CString own = picture.GetTitle();
    CString ending = own.Right(extension.GetLength());
    ending.MakeLower();
    CString wanted = extension;
    wanted.MakeLower();
    return ending == wanted ? own : own + extension;
}

}  // namespace

BEGIN_MESSAGE_MAP(CTalControlsWnd, CTalPaneWnd)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_COMMAND_RANGE(IDC_TAL_IMG_ADD, IDC_TAL_IMG_LAST, OnButton)
    ON_CONTROL(STN_DBLCLK, IDC_TAL_IMG_PREVIEW_PICTURE, OnPreviewClicked)
    ON_EN_SETFOCUS(IDC_TAL_IMG_TITLE, OnTitleSetFocus)
    ON_EN_KILLFOCUS(IDC_TAL_IMG_TITLE, OnTitleKillFocus)
    ON_REGISTERED_MESSAGE(g_msgImageItemLoaded, OnImageLoadedMessage)
    ON_MESSAGE(WM_TAL_DRAG_TIMER, OnDragTimerMessage)
    ON_MESSAGE(WM_TIMER, OnTimerMessage)
END_MESSAGE_MAP()

CTalControlsWnd::CTalControlsWnd() : CTalPaneWnd(IDD_TAL_IMAGE_PANEL, 2) {}

CTalControlsWnd::~CTalControlsWnd()
{
    StopDragTimer();
    m_titleEdit.DestroyImp();
    m_list.DestroyImp();
    m_preview.DestroyImp();
    for (CKWButtonControl& facade : m_buttonFacades)
        facade.DestroyImp();
}

void CTalControlsWnd::InitControls()
{
    m_reading.SetPanel(m_hWnd);
    const bool xp = IsWindowsXPOrLater();
    for (size_t i = 0; i < 15; ++i) {
        const PanelButton& button = kButtons[i];
        if (!m_buttons[i].SubclassDlgItem(button.id, this))
            continue;
        m_buttons[i].SetThemeHelper(&m_themeHelper);
        m_buttons[i].SetIconById(xp ? button.iconXP : button.iconOld, 0, button.iconDisabled);
        m_buttons[i].SetTooltipTextById(button.id, TRUE);
    }
    for (size_t i = 0; i < 13; ++i)
        m_buttonFacades[i].CreateImp(GetItemHwnd(kFacadeIds[i]));
    m_titleEdit.CreateImp(TitleEdit());
    m_list.CreateImageViewImp(GetItemHwnd(kList), false);
    m_list.SetThumbnailSize(kThumbnailSide, kThumbnailSide, 4, 4, 1);
    m_list.SetContextMenu(IDR_TAL_THUMBNAILS_MENU);
    m_list.SetDefaultBitmap(IDB_TAL_DEFAULT_PICTURE);
    m_list.SetBackgroundBitmap(IDB_TAL_PANEL_BACKGROUND);
    m_preview.CreateImp(GetItemHwnd(kPreviewPicture));
    m_preview.SetContextMenu(IDR_TAL_PREVIEW_MENU);
    m_titleEdit.SetEditOption(0);
    m_list.SetDropHandler(this);
    m_preview.SetDropHandler(this);
    m_list.SetDragSourceHandler(this);
    m_preview.EnableDragDrop(true);
    m_preview.LoadResourceBitmap(IDB_TAL_PANEL_BACKGROUND);
    m_list.SetMultiSelect(true);
    m_list.EnableDragStart(false);
    m_list.EnableDragDrop(true);
    // A click on a picture makes the panel the pane that the clipboard
    // commands and Delete act on; the frame is known before the controls.
    TellFocusOfPictures();
    RegisterDropTarget(this);
}

void CTalControlsWnd::TakeFocus()
{
    if (m_thumbnailsMode && m_list.GetImp())
        m_list.SetFocus();
    else
        CTalPaneWnd::TakeFocus();
}

CTalDocument* CTalControlsWnd::GetDocument() const
{
    return m_frame ? m_frame->GetDocument() : nullptr;
}

CTalSection* CTalControlsWnd::GetSection() const
{
    CTalDocument* document = GetDocument();
    return document ? document->GetCurrentSection().Get() : nullptr;
}

bool CTalControlsWnd::GrayscaleDefault() const
{
    CTalDocument* document = GetDocument();
    return document && document->GetProperties().m_grayscale != 0;
}

void CTalControlsWnd::OnDestroy()
{
    StopDragTimer();
    m_reading.Cancel();
    // While the window still exists: OLE keeps the target by its window.
    RevokeDropTarget();
    CTalPaneWnd::OnDestroy();
}

LRESULT CTalControlsWnd::OnTimerMessage(WPARAM wParam, LPARAM)
{
    if (wParam == kDeferredTimer) {
        ShowDeferredThumbnails();
        return 0;
    }
    if (wParam != CTalPictureReading::kProgressTimer)
        return Default();
    m_reading.OnProgressTimer();
    return 0;
}

// ---- Layout ---------------------------------------------------------------------------

void CTalControlsWnd::OnSize(UINT nType, int cx, int cy)
{
    CTalPaneWnd::OnSize(nType, cx, cy);
    HWND list = GetItemHwnd(kList);
    HWND preview = GetItemHwnd(kPreviewPicture);
    if (!list || !preview)
        return;
    const int h = std::max(cy - kButtonRow, 0);
    ::SetWindowPos(list, nullptr, 0, 0, cx, h, SWP_NOZORDER | (::IsWindowVisible(list) ? 0 : SWP_NOREDRAW));
    ::SetWindowPos(preview, nullptr, 0, 0, cx, std::max(h - kButtonRow, 0),
                   SWP_NOZORDER | (::IsWindowVisible(preview) ? 0 : SWP_NOREDRAW));
    ::InvalidateRect(preview, nullptr, TRUE);
    ::UpdateWindow(preview);
    const int y = std::max(cy - 30, 0);
    auto moveTo = [this](UINT id, int top) {
        HWND item = GetItemHwnd(id);
        if (!item)
            return;
        WINDOWPLACEMENT placement = {sizeof(placement)};
        ::GetWindowPlacement(item, &placement);
        ::SetWindowPos(item, nullptr, placement.rcNormalPosition.left, top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    for (UINT id : kLowerRow)
        moveTo(id, y);
    for (UINT id : kUpperRow)
        moveTo(id, y - kButtonRow);
    ::SendMessageW(list, LVM_ARRANGE, LVA_DEFAULT, 0);
}

// ---- Commands -------------------------------------------------------------------------

void CTalControlsWnd::OnButton(UINT id)
{
    CTalDocument* document = GetDocument();
    switch (id) {
    case IDC_TAL_IMG_PREVIEW_MODE: ShowPreview(); return;
    case IDC_TAL_IMG_THUMBNAILS_MODE: ShowThumbnails(); return;
    case IDC_TAL_IMG_FIRST: GoToFirstImage(); return;
    case IDC_TAL_IMG_PREVIOUS: GoToPreviousImage(); return;
    case IDC_TAL_IMG_NEXT: GoToNextImage(); return;
    case IDC_TAL_IMG_LAST: GoToLastImage(); return;
    default: break;
    }
    if (!document)
        return;
    switch (id) {
    case IDC_TAL_IMG_ADD: document->OnAddImage(); break;
    case IDC_TAL_IMG_REMOVE: document->OnRemoveImage(); break;
    case IDC_TAL_IMG_ROTATE_LEFT: document->OnRotateLeft(); break;
    case IDC_TAL_IMG_ROTATE_RIGHT: document->OnRotateRight(); break;
    case IDC_TAL_IMG_SHOW: document->OnShowInReport(); break;
    case IDC_TAL_IMG_DESCRIPTION: document->OnUseDescription(); break;
    case IDC_TAL_IMG_GRAYSCALE: document->OnConvertToGrayscale(); break;
    case IDC_TAL_IMG_NEW_PAGE: document->OnTurnToNewPage(); break;
    case IDC_TAL_IMG_GENERATE: {
        CTalApplication* app = GetTalApp();
        const int32_t format = app ? app->GetPrefs().GetDefExportFormat() : 128;
        document->GenerateReport(kGenerateCategory, static_cast<uint32_t>(format));
        break;
    }
    default: break;
    }
}

void CTalControlsWnd::OnPreviewClicked()
{
    ToggleViewMode();
}

void CTalControlsWnd::OnTitleSetFocus()
{
    NotifyFocus();
}

void CTalControlsWnd::OnTitleKillFocus()
{
    CommitTitleEdit(true);
}

BOOL CTalControlsWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CTalPaneWnd::OnNotify(wParam, lParam, pResult))
        return TRUE;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header)
        return FALSE;
    auto sendKey = [this](WORD key) {
        CTalDocument* document = GetDocument();
        if (document)
            document->HandleKey(CKWKeyRecord::FromMessage(key));
    };
    if (header->idFrom == kList) {
        switch (header->code) {
        case LVN_ITEMCHANGED: {
            const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if ((change->uChanged & LVIF_STATE) && (change->uNewState & (LVIS_SELECTED | LVIS_FOCUSED))) {
                if (change->iItem != -1)
                    m_currentIndex = change->iItem;
                if (m_notifications)
                    UpdateImageButtons();
            }
            return TRUE;
        }
        case LVN_ENDLABELEDITW: {
            const auto* info = reinterpret_cast<const NMLVDISPINFOW*>(lParam);
            if (info->item.pszText)
                OnImageTitleChanged(info->item.iItem, info->item.pszText);
            return TRUE;
        }
        case LVN_BEGINDRAG: {
            const auto* drag = reinterpret_cast<const NMLISTVIEW*>(lParam);
            BeginDrag(CPoint(drag->ptAction.x, drag->ptAction.y));
            return TRUE;
        }
        case NM_DBLCLK: ShowPreview(); return TRUE;
        case LVN_KEYDOWN: sendKey(reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey); return FALSE;
        default: break;
        }
    }
    if (header->idFrom == kPreviewPicture && header->code == NM_DBLCLK) {
        ShowThumbnails();
        return TRUE;
    }
    if (header->code == NM_KEYDOWN)
        sendKey(static_cast<WORD>(reinterpret_cast<const NMKEY*>(lParam)->nVKey));
    return FALSE;
}

BOOL CTalControlsWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN)
        return CTalPaneWnd::PreTranslateMessage(pMsg);
    const bool title = TitleHasFocus();
    switch (pMsg->wParam) {
    case VK_RETURN:
        if (title) {
            CommitTitleEdit(true);
            return TRUE;
        }
        if (m_thumbnailsMode && m_list.IsEditingLabel()) {
            m_list.EndEditLabel(false);
            return TRUE;
        }
        break;
    case VK_ESCAPE:
        if (title) {
            CommitTitleEdit(false);
            return TRUE;
        }
        if (m_thumbnailsMode && m_list.IsEditingLabel()) {
            m_list.EndEditLabel(true);
            return TRUE;
        }
        break;
    case VK_DELETE:
        if (title) {
            // The key deletes text of the title, never the images.
            m_titleEdit.Clear();
            return TRUE;
        }
        break;
    default: break;
    }
    return CTalPaneWnd::PreTranslateMessage(pMsg);
}

// ---- The current image ----------------------------------------------------------------

int CTalControlsWnd::GetCurrentImageIndex()
{
    const int count = m_list.GetItemCount();
    if (count == 0 || m_currentIndex < 0)
        return -1;
    if (m_thumbnailsMode) {
        const int selected = m_list.GetFirstSelected();
        if (selected >= 0)
            return selected;
        const int hot = m_list.GetCurrentItem();
        return hot >= 0 && hot < count ? hot : -1;
    }
    return m_currentIndex < count ? m_currentIndex : -1;
}

bool CTalControlsWnd::HasCurrentImage()
{
    if (m_thumbnailsMode)
        return m_list.GetFirstSelected() >= 0 || m_list.GetCurrentItem() >= 0;
    return m_list.GetItemCount() > 0 && m_currentIndex != -1;
}

bool CTalControlsWnd::ApplyToSelectedImages(CTalPositionList& indices)
{
    indices.clear();
    const int count = m_list.GetItemCount();
    if (count == 0 || m_currentIndex < 0)
        return false;
    if (m_thumbnailsMode) {
        int index = m_list.GetFirstSelected();
        while (index >= 0) {
            indices.push_back(index);
            m_list.GetNextSelected(index);
        }
        if (indices.empty() && m_list.GetCurrentItem() >= 0)
            indices.push_back(m_list.GetCurrentItem());
    } else if (m_currentIndex < count) {
        indices.push_back(m_currentIndex);
    }
    return !indices.empty();
}

void CTalControlsWnd::SelectImages(const CTalPositionList& indices)
{
    const int count = m_list.GetItemCount();
    if (count == 0 || indices.empty())
        return;
    ::SetFocus(m_hWnd);
    if (!m_thumbnailsMode) {
        ShowImage(indices.front(), false);
        m_preview.Redraw(false);
        UpdateImageButtons();
        return;
    }
    m_notifications = false;
    m_list.ClearSelection();
    int first = -1;
    for (int index : indices) {
        if (index < 0 || index >= count)
            continue;
        m_list.SelectItem(index);
        if (first < 0)
            first = index;
    }
    if (first >= 0) {
        m_currentIndex = first;
        m_list.EnsureVisible(first, false);
    }
    m_notifications = true;
    UpdateImageButtons();
}

void CTalControlsWnd::SelectAll()
{
    EndAnyTitleEdit();
    m_notifications = false;
    m_list.SelectAll();
    m_notifications = true;
    UpdateImageButtons();
}

bool CTalControlsWnd::CanSelectAll()
{
    return m_thumbnailsMode && m_list.GetItemCount() > 0;
}

// ---- Modes ----------------------------------------------------------------------------

void CTalControlsWnd::EndAnyTitleEdit()
{
    if (m_thumbnailsMode) {
        if (m_list.IsEditingLabel())
            m_list.EndEditLabel(false);
    } else {
        CommitTitleEdit(true);
    }
}

void CTalControlsWnd::EnableNavigation(bool first, bool last)
{
    m_buttonFacades[kFirst].Enable(first);
    m_buttonFacades[kPrevious].Enable(first);
    m_buttonFacades[kNext].Enable(last);
    m_buttonFacades[kLast].Enable(last);
}

void CTalControlsWnd::ShowPreview()
{
    EndAnyTitleEdit();
    if (m_thumbnailsMode) {
        const int count = m_list.GetItemCount();
        int chosen = m_list.GetFirstSelected();
        if (chosen < 0)
            chosen = m_currentIndex;
        if (chosen < 0)
            chosen = m_list.GetCurrentItem();
        if (chosen < 0 && count > 0)
            chosen = 0;
        m_titleEdit.Enable(true);
        m_titleEdit.Show(true);
        m_preview.Show(true);
        for (int i = kFirst; i <= kLast; ++i)
            m_buttonFacades[i].Show(true);
        m_list.Show(false);
        m_thumbnailsMode = false;
        if (count == 0) {
            EnableNavigation(false, false);
            m_titleEdit.Enable(false);
            m_titleEdit.SetText(CString());
        } else {
            ShowImage(chosen, false);
        }
    }
    m_buttonFacades[kPreviewMode].SetCheck(BST_CHECKED);
    m_buttonFacades[kThumbMode].SetCheck(BST_UNCHECKED);
}

void CTalControlsWnd::ShowThumbnails()
{
    EndAnyTitleEdit();
    if (!m_thumbnailsMode) {
        m_list.Show(true);
        m_thumbnailsMode = true;
        m_preview.Show(false);
        m_titleEdit.Enable(false);
        m_titleEdit.Show(false);
        for (int i = kFirst; i <= kLast; ++i)
            m_buttonFacades[i].Show(false);
        if (m_list.GetFirstSelected() < 0 && m_list.GetItemCount() > 0 && m_currentIndex >= 0)
            m_list.SelectItem(m_currentIndex);
    }
    m_buttonFacades[kPreviewMode].SetCheck(BST_UNCHECKED);
    m_buttonFacades[kThumbMode].SetCheck(BST_CHECKED);
}

void CTalControlsWnd::ToggleViewMode()
{
    if (m_thumbnailsMode)
        ShowPreview();
    else
        ShowThumbnails();
}

void CTalControlsWnd::ShowImage(int index, bool onlyIfChanged)
{
    const int count = m_list.GetItemCount();
    if (index < 0 || index >= count || (onlyIfChanged && index == m_currentIndex))
        return;
    m_currentIndex = index;
    if (m_thumbnailsMode)
        return;
    CTalSection* section = GetSection();
    auto* data = dynamic_cast<CTalImageViewData*>(m_list.GetItemData(index));
    CKWRefPtr<CTalPicture> picture = section ? section->GetPicture(index) : CKWRefPtr<CTalPicture>();
    if (!data || !picture)
        return;
    m_titleEdit.Enable(true);
    m_titleEdit.SetText(picture->GetTitle());
    if (KWSharedRasterImage cached = g_rasterLib.GetPreviewImage(data->GetPictureId())) {
        KWRasterImagePtr display(MakeDisplayImage(cached.get(), *picture));
        m_preview.SetImage(display ? display.get() : cached.get());
    }
    EnableNavigation(index > 0, index < count - 1);
    m_preview.Invalidate();
    UpdateImageButtons();
}

void CTalControlsWnd::GoToFirstImage()
{
    if (m_thumbnailsMode || m_currentIndex < 1)
        return;
    CommitTitleEdit(true);
    ShowImage(0, false);
}

void CTalControlsWnd::GoToPreviousImage()
{
    if (m_thumbnailsMode || m_currentIndex < 1)
        return;
    CommitTitleEdit(true);
    ShowImage(m_currentIndex - 1, false);
}

void CTalControlsWnd::GoToNextImage()
{
    const int count = m_list.GetItemCount();
    if (m_thumbnailsMode || m_currentIndex > count - 1)
        return;
    CommitTitleEdit(true);
    ShowImage(m_currentIndex + 1, false);
}

void CTalControlsWnd::GoToLastImage()
{
    const int count = m_list.GetItemCount();
    if (m_thumbnailsMode || m_currentIndex > count - 1)
        return;
    CommitTitleEdit(true);
    ShowImage(count - 1, false);
}

// ---- Buttons and properties -----------------------------------------------------------

void CTalControlsWnd::UpdateImageButtons()
{
    CTalSection* section = GetSection();
    if (!section)
        return;
    m_buttonFacades[kThumbMode].SetCheck(m_thumbnailsMode ? BST_CHECKED : BST_UNCHECKED);
    m_buttonFacades[kPreviewMode].SetCheck(m_thumbnailsMode ? BST_UNCHECKED : BST_CHECKED);
    const int index = GetCurrentImageIndex();
    CKWRefPtr<CTalPicture> picture =
        index >= 0 && index < section->GetPictureCount() ? section->GetPicture(index) : CKWRefPtr<CTalPicture>();
    if (!picture) {
        for (int button : kImageButtons)
            m_buttonFacades[button].Enable(false);
        EnableNavigation(false, false);
        m_titleEdit.Enable(false);
        SetStatusText(CString());
        return;
    }
    const bool current = HasCurrentImage();
    for (int button : kImageButtons)
        m_buttonFacades[button].Enable(current);
    CTalDocument* document = GetDocument();
    const bool descriptionDefault = document && document->GetProperties().m_useDescription != 0;
    m_buttonFacades[kShow].SetCheck(picture->GetShown() ? BST_CHECKED : BST_UNCHECKED);
    m_buttonFacades[kDescription].SetCheck(picture->IsUseDescription(descriptionDefault) ? BST_CHECKED
                                                                                          : BST_UNCHECKED);
    m_buttonFacades[kGrayscale].SetCheck(picture->IsGrayscale(GrayscaleDefault()) ? BST_CHECKED : BST_UNCHECKED);
    m_buttonFacades[kNewPage].SetCheck(picture->GetNewPage() ? BST_CHECKED : BST_UNCHECKED);
    if (!m_thumbnailsMode)
        EnableNavigation(index > 0, index < section->GetPictureCount() - 1);
    ShowImageProperties();
}

void CTalControlsWnd::ShowImageProperties()
{
    CTalSection* section = GetSection();
    const int index = GetCurrentImageIndex();
    CKWRefPtr<CTalPicture> picture =
        section && index >= 0 && index < section->GetPictureCount() ? section->GetPicture(index)
                                                                     : CKWRefPtr<CTalPicture>();
    if (!picture) {
        SetStatusText(CString());
        return;
    }
    const uint32_t id = static_cast<uint32_t>(picture->GetPictureId());
    CString text = PictureName(*picture);
    if (!text.IsEmpty())
        text += L" | ";
    // A file whose header tells no size is measured as it is shown: what
    // decodes of it, or the placeholder drawn for it.
    SIZE size = {};
    if (!g_rasterLib.GetImageSize(id, size))
        size = g_rasterLib.GetShownSize(id);
    CString width, height, number;
    AfxLoadStringResource(IDS_TAL_WIDTH, width);
    AfxLoadStringResource(IDS_TAL_HEIGHT, height);
    number.Format(L": %d", static_cast<int>(size.cx));
    text += width + number + L" ";
    number.Format(L": %d", static_cast<int>(size.cy));
    text += height + number;
    SetStatusText(text);
}

void CTalControlsWnd::SetStatusText(const CString& text)
{
    // The picture's name and size go to the stretching second pane: there
    // they show in full, and the first pane keeps the prompts and the idle text.
    auto* app = dynamic_cast<CKWAbstractApp*>(AfxGetApp());
    CKWStatusBar* bar = app ? app->GetStatusBar() : nullptr;
    if (bar && bar->GetSafeHwnd() && bar->GetCount() > 1)
        bar->SetPaneText(1, text);
}

// ---- Titles ---------------------------------------------------------------------------

bool CTalControlsWnd::TitleHasFocus() const
{
    HWND edit = TitleEdit();
    return edit && ::GetFocus() == edit;
}

void CTalControlsWnd::OnImageTitleChanged(int index, const CString& title)
{
    m_list.SetItemText(index, title);
    if (CTalDocument* document = GetDocument())
        document->SetPictureTitle(index, title);
}

bool CTalControlsWnd::TitleTyped(CString& text)
{
    // Filling the box clears its modification flag: a title shown for one
    // picture is never taken for a title typed for another.
    HWND edit = TitleEdit();
    if (m_currentIndex < 0 || !edit || !::SendMessageW(edit, EM_GETMODIFY, 0, 0))
        return false;
    m_titleEdit.GetText(text);
    return text != m_list.GetItemText(m_currentIndex);
}

void CTalControlsWnd::CommitTitleEdit(bool save)
{
    if (m_currentIndex == -1)
        return;
    if (save) {
        CString text;
        if (TitleTyped(text))
            OnImageTitleChanged(m_currentIndex, text);
    } else {
        m_titleEdit.SetText(m_list.GetItemText(m_currentIndex));
    }
}

bool CTalControlsWnd::Rename()
{
    if (!HasCurrentImage())
        return false;
    if (m_thumbnailsMode) {
        m_list.EditLabel(GetCurrentImageIndex());
    } else {
        m_titleEdit.SetFocus();
        m_titleEdit.SetSel(0, -1);
    }
    return true;
}

bool CTalControlsWnd::IsEditingTitle()
{
    return m_thumbnailsMode ? m_list.IsEditingLabel() : TitleHasFocus();
}

void CTalControlsWnd::EndTitleEdit(bool cancel)
{
    if (!m_thumbnailsMode)
        CommitTitleEdit(!cancel);
    else if (m_list.IsEditingLabel())
        m_list.EndEditLabel(cancel);
}

bool CTalControlsWnd::IsTitleModified()
{
    if (m_thumbnailsMode)
        return m_list.IsLabelModified();
    CString text;
    return TitleHasFocus() && TitleTyped(text);
}

bool CTalControlsWnd::UpdateImageTitle(int index, const CString& title, bool startEdit)
{
    m_list.ClearSelection();
    m_list.SelectItem(index);
    m_currentIndex = index;
    m_list.SetItemText(index, title);
    if (m_thumbnailsMode) {
        m_list.SetFocus();
        RECT rect = {};
        if (m_list.GetItemRect(index, rect))
            m_list.InvalidateRect(rect);
    } else {
        ShowImage(index, false);
        m_titleEdit.Invalidate();
    }
    return startEdit && Rename();
}

// The clipboard commands act on a title being edited; false otherwise.
bool CTalControlsWnd::Cut() { return m_thumbnailsMode ? m_list.Cut() : TitleHasFocus() && m_titleEdit.Cut(); }
bool CTalControlsWnd::DeleteSelected()
{
    return m_thumbnailsMode ? m_list.Clear() : TitleHasFocus() && m_titleEdit.Clear();
}
bool CTalControlsWnd::Copy() { return m_thumbnailsMode ? m_list.Copy() : TitleHasFocus() && m_titleEdit.Copy(); }
bool CTalControlsWnd::Paste() { return m_thumbnailsMode ? m_list.Paste() : TitleHasFocus() && m_titleEdit.Paste(); }
bool CTalControlsWnd::CanCut() { return m_thumbnailsMode ? m_list.CanCut() : TitleHasFocus() && m_titleEdit.CanCut(); }
bool CTalControlsWnd::CanDelete()
{
    return m_thumbnailsMode ? m_list.CanClear() : TitleHasFocus() && m_titleEdit.CanClear();
}
bool CTalControlsWnd::CanCopy() { return m_thumbnailsMode ? m_list.CanCopy() : TitleHasFocus() && m_titleEdit.CanCopy(); }
bool CTalControlsWnd::CanPaste()
{
    return m_thumbnailsMode ? m_list.CanPaste() : TitleHasFocus() && m_titleEdit.CanPaste();
}

void CTalControlsWnd::AttachFocusManager(CKWFocusManager* manager)
{
    CTalPaneWnd::AttachFocusManager(manager);
    TellFocusOfPictures();
}

void CTalControlsWnd::TellFocusOfPictures()
{
    m_list.SetOwner(GetFocusManager(), GetFocusCode());
    m_preview.SetOwner(GetFocusManager(), GetFocusCode());
}
