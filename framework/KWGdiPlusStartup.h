#pragma once
// Process-wide start and end of GDI+. The drawing layer starts GDI+ when its
// first object is built; the application may call both itself. Whatever is
// still started when the program exits is shut down then.

// Starts GDI+ (version 1, no debug callback, its background thread) unless it
// runs already; true when it runs.
bool StartupGdiPlus();
// Shuts GDI+ down with the token of the start; nothing when it is not running.
void ShutdownGdiPlus();
