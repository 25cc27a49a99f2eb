#pragma once
// The page templates of a folder (the shipped ones beside the program), each
// read from its own file with one tag table, in the order the folder lists
// them, title templates first, and sorted into the template manager.
#include "platform/classlib/String.h"

#include <vector>

// folder ends in a backslash. A file that does not load is left out. The
// lines that say which files were left out and what the others lack, each
// led by the file's name.
std::vector<CString> TalLoadTemplateFolder(const CString& folder);
