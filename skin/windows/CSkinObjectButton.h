#pragma once
// Paints every "Button" window from the theme class "BUTTON": it keeps its own hot and pushed
// state and keeps the system's button from painting over it. Owner-drawn buttons and types
// above 13 stay the system's.
#include "CSkinObjectPainted.h"
#include "SkinButtonDraw.h"

class CSkinObjectButton : public CSkinObjectPainted {
    DECLARE_DYNCREATE(CSkinObjectButton)
public:
    CSkinObjectButton();

    BOOL OnSubclassMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    BOOL OnDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    BOOL PrefersDefaultRoute(UINT message) override;
    void OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) override;

    // 255: the window's own type bits.
    void SetTypeOverride(BYTE type) { m_typeOverride = type; }
    BYTE GetTypeOverride() const { return m_typeOverride; }
    BOOL IsHot() const { return m_hot; }
    BOOL IsPushed() const { return m_pushed; }

    // Background, content and focus cue in rect, everything read from the window as it is now.
    virtual void DrawButton(HDC dc, const RECT& rect, HBRUSH fill);

protected:
    DECLARE_MESSAGE_MAP()

    void Paint(HDC dc) override;
    LRESULT OnMouseMoveMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnCreateMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnStateChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnEnable(WPARAM wParam, LPARAM lParam);
    LRESULT OnUpdateUIState(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetState(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);

private:
    bool IsSkinnedType() const;
    skin::ButtonRole Role() const;
    void TrackHot(POINT client);
    // The system's button paints at once on these; hidden, it leaves the picture to us.
    LRESULT DefaultHidden();
    HBRUSH ParentBrush(HDC dc, skin::ButtonBackground* background) const;

    BYTE m_typeOverride = 255;
    BOOL m_hot = FALSE;
    BOOL m_pushed = FALSE;
};
