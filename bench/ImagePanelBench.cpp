// The speed of showing a section of camera photographs in the section image
// panel's thumbnail list the way the panel does it: every item with its
// title at once (the list's batch with the default picture), then a
// picture-loading thread that brings each thumbnail into the cache and posts
// one message per picture, on which the item's image is replaced and its
// rectangle repainted. The list does not repaint while it is filled. The photographs are those of pdf_bench (made once and
// kept in the folder).
//
// Printed: the time until all titles show, and the thumbnails per second
// that arrive (from the thread's start to the last one shown).
//
// Usage: panel_bench [picture count [photograph folder]]
#include "bench/BenchPhotographs.h"
#include "controls/KWListImagesView.h"
#include "editor/TalApplication.h"
#include "editor/TalImageViewData.h"
#include "editor/TalPicThreadWin.h"
#include "framework/KWRasterLib.h"
#include "framework/KWThreadOwner.h"
#include "platform/classlib/Wnd.h"

#include <commctrl.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr UINT kDefaultPicture = 250;

double Since(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 200;
    const std::wstring folder = FolderArgument(argc, argv, 2);
    std::printf("photographs in %ls\n", folder.c_str());
    int64_t bytes = 0;
    const std::vector<std::wstring> photos = MakePhotographs(folder, count, bytes);
    if (photos.empty())
        return 1;
    std::printf("%d photographs, %.1f MB\n", count, double(bytes) / 1048576.0);
    std::vector<uint32_t> ids;
    for (const std::wstring& path : photos)
        ids.push_back(g_rasterLib.GetPictureId(path.c_str()));

    CWnd host;
    host.CreateEx(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr);
    CKWListImagesView list;
    list.CreateImageView(0, WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_AUTOARRANGE, CRect(0, 0, 800, 600), &host, 1122,
                         false);
    list.SetThumbnailSize(124, 124, 4, 4, 1);
    list.SetDefaultBitmap(kDefaultPicture);

    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    HWND listWindow = ::GetDlgItem(host.m_hWnd, 1122);
    ::SendMessageW(listWindow, WM_SETREDRAW, FALSE, 0);
    list.BeginAddItems(count, -1);
    for (int i = 0; i < count; ++i)
        list.AddItem(CString(L"Photograph ") + std::to_wstring(i + 1).c_str(), nullptr, new CTalImageViewData(ids[i]));
    list.EndAddItems();
    ::SendMessageW(listWindow, WM_SETREDRAW, TRUE, 0);
    list.Update();
    const double titles = Since(start);
    std::printf("titles of %d pictures shown in %.1f ms\n", count, titles * 1000.0);

    CKWWinThreadOwner owner;
    ::QueryPerformanceCounter(&start);
    auto* thread = static_cast<CTalPicThreadWin*>(
        AfxBeginThread(RUNTIME_CLASS(CTalPicThreadWin), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr));
    thread->SetOwnerWindow(host.m_hWnd);
    thread->AttachOwner(&owner);
    thread->QueuePictureIds(ids);
    thread->Resume();
    int arrived = 0;
    double first = 0;
    MSG message;
    while (arrived < count && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != g_msgImageItemLoaded) {
            ::DispatchMessageW(&message);
            continue;
        }
        if (arrived++ == 0)
            first = Since(start);
        for (int i = 0; i < count; ++i) {
            auto* data = dynamic_cast<CTalImageViewData*>(list.GetItemData(i));
            if (!data || data->GetPictureId() != message.wParam)
                continue;
            KWSharedRasterImage thumbnail = g_rasterLib.GetThumbnail(data->GetPictureId());
            list.ReplaceImage(i, thumbnail.get());
            RECT rect = {};
            if (list.GetItemRect(i, rect))
                list.InvalidateRect(rect);
        }
        list.Update();
    }
    const double loading = Since(start);
    std::printf("first thumbnail after %.1f ms; %d thumbnails in %.2f s: %.1f thumbnails per second\n",
                first * 1000.0, arrived, loading, arrived / loading);
    host.DestroyWindow();
    return arrived == count ? 0 : 1;
}
