#pragma once
// Progress bars drawn from the theme class "PROGRESS": the bar, then chunks up to the position, or
// one smooth chunk; a marquee runs on a timer of its own (id 102) so that it moves in the skin's
// steps.
#include "CSkinObjectBuffered.h"
#include "SkinControlGeometry.h"

class CSkinObjectProgress : public CSkinObjectBuffered {
    DECLARE_DYNCREATE(CSkinObjectProgress)
public:
    static constexpr UINT_PTR kMarqueeTimer = 102;

    CSkinObjectProgress();

    void OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) override;
    void OnDetached(BOOL windowDestroyed) override;
    int GetMarqueeStep() const { return m_marqueeStep; }

protected:
    DECLARE_MESSAGE_MAP()

    LRESULT OnCreateMessage(WPARAM wParam, LPARAM lParam);
    void DrawClient(HDC buffer, const RECT& client, CSkinClassTheme& theme, CSkinSchema* schema) override;
    LRESULT OnChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMarquee(WPARAM wParam, LPARAM lParam);
    LRESULT OnStepIt(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimerMessage(WPARAM wParam, LPARAM lParam);

private:
    void StartMarquee(UINT interval);
    bool IsMarquee() const;

    int m_marqueeStep = 0;
    UINT m_marqueeInterval = 0;  // 0: not running
};
