#include "CSkinObjectFrame.h"

#include <uxtheme.h>

IMPLEMENT_DYNCREATE(CSkinObjectFrame, CWnd)

CSkinObjectFrame::CSkinObjectFrame() : m_dialogTextureMode(ETDT_DISABLE) { m_themeClassName = "WINDOW"; }
