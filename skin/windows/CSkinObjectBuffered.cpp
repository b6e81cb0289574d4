#include "CSkinObjectBuffered.h"

#include "CSkinPaintBuffer.h"
#include "SkinControlPaint.h"

IMPLEMENT_DYNAMIC(CSkinObjectBuffered, CSkinObjectPainted)

void CSkinObjectBuffered::Paint(HDC dc) {
    const CSkinRef<CSkinSchema> schema = skin::HoldSchema(*this);
    CSkinClassTheme* theme = schema ? schema->GetClassTheme(m_themeClassName) : nullptr;
    RECT client;
    GetClientRect(&client);
    CSkinPaintBuffer buffer(dc, client);
    if (!buffer) return;
    const HDC out = buffer.Get();
    FillRect(out, &client, GetPaintFill(out, schema.Get()));
    if (theme)
        DrawClient(out, client, *theme, schema.Get());
    else
        DrawClientWithoutTheme(out, client, schema.Get());
}

HBRUSH CSkinObjectBuffered::GetPaintFill(HDC buffer, CSkinSchema*) { return GetClientBrush(buffer); }

void CSkinObjectBuffered::SelectWindowText(HDC buffer) {
    if (HFONT font = GetFont()) SelectObject(buffer, font);
    SetBkMode(buffer, TRANSPARENT);
}
