#include "appwindows/KWImportFileDialog.h"

#include "framework/KWDib.h"
#include "framework/KWFileFilter.h"
#include "framework/KWFileHelpers.h"
#include "framework/KWRasterLib.h"
#include "resources/FrameworkDialogs.h"

#include <cstring>

namespace {

const DWORD kOpenFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
// The box the preview picture is read into; the pane fits it to its size.
constexpr uint32_t kPreviewSide = 256;

}  // namespace

HBITMAP KWMakeImagePreview(const wchar_t* file, int)
{
    if (!file || !KWIsRegularFile(file))
        return nullptr;
    KWRasterImagePtr image(g_rasterLib.RasterReadFile(file, kPreviewSide, kPreviewSide));
    if (!image || image->width == 0 || image->height == 0)
        return nullptr;
    BITMAPINFO info;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = KWCreateTopDownDib(screen, static_cast<int>(image->width), static_cast<int>(image->height),
                                        info, &bits);
    ::ReleaseDC(nullptr, screen);
    if (!bitmap)
        return nullptr;
    const size_t row = size_t(image->width) * 4;
    for (uint32_t y = 0; y < image->height; ++y)
        std::memcpy(static_cast<uint8_t*>(bits) + y * row, image->Pixels() + size_t(y) * image->stride, row);
    return bitmap;
}

CKWImportFileDialog::CKWImportFileDialog(const CQMFormatInfo* formats, uint32_t category, uint32_t defaultFlags,
                                         const wchar_t* defaultExt, bool preview, const wchar_t* title,
                                         bool multiSelect)
    : CFileDialog(TRUE, defaultExt, nullptr, kOpenFlags | (multiSelect ? OFN_ALLOWMULTISELECT : 0)),
      m_formats(formats), m_category(category), m_showPreview(preview), m_files(kFileBufferChars + 1, L'\0')
{
    m_preview.SetPreviewMaker(KWMakeImagePreview);
    // A large selection does not fit the class library's buffer of one path.
    m_ofn.lpstrFile = m_files.data();
    m_ofn.nMaxFile = kFileBufferChars;
    if (preview) {
        m_ofn.Flags |= OFN_ENABLETEMPLATE;
        m_ofn.lpTemplateName = MAKEINTRESOURCEW(IDD_KW_IMPORT_PREVIEW);
    }
    if (title) {
        m_title = title;
        m_ofn.lpstrTitle = m_title;
    }
    KWImportFilter filter = KWBuildImportFilter(formats, category, defaultFlags, defaultExt);
    m_filter = filter.filter;
    m_ofn.lpstrFilter = m_filter;
    m_ofn.nFilterIndex = filter.filterIndex;
}

void CKWImportFileDialog::SetInitialDir(const wchar_t* folder)
{
    m_initialDir = folder ? folder : L"";
    m_ofn.lpstrInitialDir = m_initialDir.IsEmpty() ? nullptr : static_cast<const wchar_t*>(m_initialDir);
}

void CKWImportFileDialog::GetSelectedFiles(std::vector<CString>& files) const
{
    files.clear();
    POSITION pos = GetStartPosition();
    while (pos)
        files.push_back(GetNextPathName(pos));
}

BOOL CKWImportFileDialog::OnInitDialog()
{
    BOOL result = CFileDialog::OnInitDialog();
    if (m_showPreview) {
        m_preview.SubclassDlgItem(IDC_KW_PREVIEW, this);
        m_previewCheck = ::GetDlgItem(m_hWnd, IDC_KW_PREVIEW_CHECK);
        if (m_previewCheck)
            ::SendMessageW(m_previewCheck, BM_SETCHECK, BST_CHECKED, 0);
    }
    return result;
}

void CKWImportFileDialog::UpdatePreview()
{
    if (!m_showPreview || !m_hWnd)
        return;
    const bool show = m_previewCheck && ::SendMessageW(m_previewCheck, BM_GETCHECK, 0, 0) == BST_CHECKED;
    m_preview.SetFile(CFileDialog::GetPathName(), show ? 1 : 0, true);
}

void CKWImportFileDialog::OnFileNameChange()
{
    CFileDialog::OnFileNameChange();
    UpdatePreview();
}

void CKWImportFileDialog::OnFolderChange()
{
    CFileDialog::OnFolderChange();
    UpdatePreview();
}

void CKWImportFileDialog::OnTypeChange()
{
    CFileDialog::OnTypeChange();
    UpdatePreview();
}
