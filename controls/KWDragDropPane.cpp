#include "controls/KWDragDropPane.h"

CKWDragDropPane::~CKWDragDropPane() = default;
