#include "framework/KWGdiPlusStartup.h"

#include <windows.h>
#include <gdiplus.h>

#include <cstdlib>
#include <mutex>

using namespace Gdiplus;

namespace {

std::mutex g_lock;
ULONG_PTR g_token = 0;
bool g_running = false;
bool g_exitHookSet = false;

void ShutdownAtExit()
{
    ShutdownGdiPlus();
}

}  // namespace

bool StartupGdiPlus()
{
    std::lock_guard<std::mutex> guard(g_lock);
    if (g_running)
        return true;
    GdiplusStartupInput input;  // version 1, no callback, background thread on
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ULONG_PTR token = 0;
    if (GdiplusStartup(&token, &input, nullptr) != Ok)
        return false;
    g_token = token;
    g_running = true;
    // Registered after GDI+ runs, so objects built from here on (static ones
    // included) are destroyed before GDI+ goes.
    if (!g_exitHookSet)
        g_exitHookSet = std::atexit(ShutdownAtExit) == 0;
    return true;
}

void ShutdownGdiPlus()
{
    std::lock_guard<std::mutex> guard(g_lock);
    if (!g_running)
        return;
    GdiplusShutdown(g_token);
    g_token = 0;
    g_running = false;
}
