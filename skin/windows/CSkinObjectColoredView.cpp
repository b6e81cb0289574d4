#include "CSkinObjectColoredView.h"

IMPLEMENT_DYNAMIC(CSkinObjectColoredView, CSkinObjectScrolled)

BEGIN_MESSAGE_MAP(CSkinObjectColoredView, CSkinObjectScrolled)
    ON_MESSAGE(WM_CREATE, OnCreateMessage)
END_MESSAGE_MAP()

void CSkinObjectColoredView::ReloadMetrics() {
    CSkinObjectScrolled::ReloadMetrics();
    ApplyColors();
}

LRESULT CSkinObjectColoredView::OnCreateMessage(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (result != -1) ApplyColors();
    return result;
}
