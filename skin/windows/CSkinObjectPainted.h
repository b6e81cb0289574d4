#pragma once
// Base of the skin objects that paint the whole client area of their control themselves: a paint
// or a print (with PRF_CLIENT) draws everything through Paint, and an erase is answered without
// erasing, as the paint that follows covers it all.
#include "CSkinObjectFrame.h"

class CSkinObjectPainted : public CSkinObjectFrame {
    DECLARE_DYNAMIC(CSkinObjectPainted)

protected:
    // printedResult: what a WM_PRINTCLIENT the object painted answers.
    explicit CSkinObjectPainted(LRESULT printedResult = 0);

    // The whole client area into dc: the window's paint context, a caller's, or a print context.
    virtual void Paint(HDC dc) = 0;
    // While true, painting, printing and erasing all stay the control's.
    virtual bool LeavesPaintToControl() const { return false; }
    // While true, a print stays the control's: it is printing itself into one of our buffers.
    virtual bool PassesPrintToControl() const { return false; }

    DECLARE_MESSAGE_MAP()
    LRESULT OnPaintMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBackground(WPARAM wParam, LPARAM lParam);

private:
    LRESULT m_printedResult;
};
