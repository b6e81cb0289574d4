#pragma once
// Combo boxes: the whole outer look comes from the theme class "COMBOBOX" (border and drop-down
// button over the content the system paints into the same buffer); a simple combo gets an edit
// border around its edit part. Borders of the window's own are taken away at creation.
#include "CSkinObjectPainted.h"

class CSkinObjectComboBox : public CSkinObjectPainted {
    DECLARE_DYNCREATE(CSkinObjectComboBox)
public:
    CSkinObjectComboBox();
    // Static colours while the combo or its edit cannot be typed into.
    UINT GetCtlColorMessage() override;
    // The client area as it shows on screen, into dc.
    virtual void DrawCombo(HDC dc);

    BOOL IsHot() const { return m_hot; }
    BOOL IsPrinting() const { return m_printing; }
    // The theme state the next paint uses.
    int GetComboState();

protected:
    DECLARE_MESSAGE_MAP()

    void Paint(HDC dc) override { DrawCombo(dc); }
    bool PassesPrintToControl() const override { return m_printing != FALSE; }

    // Kinds of look; the date-time picker answers as a drop-down list.
    virtual bool IsSimpleCombo() const;
    virtual bool HasDropDownButton() const { return true; }
    virtual bool IsDroppedDown();
    // Drawn into the buffer after the border and button.
    virtual void DrawComboExtras(HDC buffer, const RECT& client, int state) {}
    void DrawDropDown(HDC dc, const RECT& client);
    void DrawSimple(HDC dc, const RECT& client);
    // The system's content into buffer, as it paints it with a DC of its own.
    void PaintSystemContent(HDC buffer);
    // Copies buffer to dc except where child windows (the edit, a simple combo's list) show.
    void CopyAroundChildren(HDC dc, HDC buffer, const RECT& client);

    LRESULT OnCreateMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMoveMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnStateChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);

private:
    // renewLeave: ask for the leave report again even when the state stays.
    void TrackHot(POINT client, bool renewLeave = false);

    BOOL m_hot = FALSE;
    BOOL m_reserved = FALSE;
    BOOL m_printing = FALSE;
};
