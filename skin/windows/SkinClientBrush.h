#pragma once
// The brush a skinned window fills its background with: what its parent answers to the window's
// control-colour message, in the theme's colours where the answer is a system colour.
#include <windows.h>

class CSkinMetrics;

// A parent's answer of 1 to 30 is a system colour index + 1. Without a parent or an answer, the theme's
// window brush for edits and list boxes, else its button-face brush. metrics null: the system's brushes.
HBRUSH SkinClientBrush(HWND window, HDC dc, UINT ctlColorMessage, const CSkinMetrics* metrics);
