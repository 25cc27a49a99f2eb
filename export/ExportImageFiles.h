#pragma once
// Image and template files: finding a file whose stored path may be
// relative, and file extensions.
#include "platform/classlib/String.h"

// The preferences' folders a relative path is tried in: the one last used
// by the "Open Image" dialog, and the templates folder. The editor installs
// the preferences' answers; without them both are the program's templates
// folder (where those preferences start).
typedef void (*OpenImageFolderSource)(CString& openImageFolder, CString& templatesFolder);
void SetOpenImageFolderSource(OpenImageFolderSource source);

// The program's folder followed by "Templates\".
CString GetTemplatesFolder();

// Tries the path as it stands, then resolved against the program's folder,
// the "Open Image" folder and the preferences' templates folder; gives the
// first that opens for reading. An empty path gives false without touching out.
bool ResolveFilePath(const wchar_t* path, CString& out);

// The text after the last dot of the last path component; false with an
// empty extension when there is no dot or the dot ends the path.
bool GetFileExtension(const wchar_t* path, CString& extension);
