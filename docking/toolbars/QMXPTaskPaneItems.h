#pragma once
// What a task pane hands the visual manager to draw: a group of tasks under
// its caption, and one task of a group (a link, or a caption-like label).
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

struct CQMXPTasksGroup {
    CString strName;
    // The caption's rectangle.
    CRect rect;
    // The group that stands out (the first of a pane, in the highlight colour).
    BOOL bIsSpecial = FALSE;
    BOOL bIsCollapsed = FALSE;
};

struct CQMXPTask {
    CString strName;
    CRect rect;
    // Into the pane's image list; -1: none.
    int nIcon = -1;
    // FALSE: a label that runs no command, drawn as plain text.
    BOOL bIsLink = TRUE;
};
