#include "framework/KWClipFormats.h"

namespace {

CLIPFORMAT Register(const wchar_t* name) { return static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(name)); }

}  // namespace

const CLIPFORMAT g_cfAppDragInfo = Register(L"KWTallier Application Drag Info");
const CLIPFORMAT g_cfAppObject = Register(L"KWTallier Application Object");
const CLIPFORMAT g_cfAppObjectIcon = Register(L"KWTallier Application Object Icon");
