#pragma once
// The skin object of framed windows and the base of every control's skin object. It does not
// paint yet: until it does, every message goes on to the window as if there were no skin.
#include "CSkinObjectBase.h"

class CSkinObjectFrame : public CSkinObjectBase {
    DECLARE_DYNCREATE(CSkinObjectFrame)
public:
    CSkinObjectFrame();

    int GetDialogTextureMode() const { return m_dialogTextureMode; }
    void SetDialogTextureMode(int mode) { m_dialogTextureMode = mode; }
    // What the frame asks its parent for its client brush.
    virtual UINT GetCtlColorMessage() { return m_ctlColorMessage; }

protected:
    int m_dialogTextureMode;
    UINT m_ctlColorMessage = WM_CTLCOLORDLG;
};
