#pragma once
// The About box's team dialog and its picture.
#define IDD_TAL_TEAM 251
// The team picture, a JPEG file of our own (resources/make_team_picture.py).
#define IDR_TAL_TEAM_PICTURE 251
