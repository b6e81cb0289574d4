#include "SkinMenuRules.h"

#include <algorithm>

namespace skin {
namespace menurules {

namespace {

bool IsBarButton(UINT id) { return id == SC_MINIMIZE || id == SC_CLOSE || id == SC_RESTORE; }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The character after the first single "&" ("&&" is a literal ampersand), or 0 when unmarked.
char MarkedMnemonic(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return Upper(text[i + 1]);
    }
    return 0;
}

bool HasAmpersand(const std::string& text) { return text.find('&') != std::string::npos; }

bool Overlaps(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// One axis of FitToScreen: position p of extent e inside [lo, hi); `moved` tells the caller the
// popup now opens towards the low side.
int FitAxis(int p, int e, int lo, int hi, bool centred, const RECT* exclude, bool horizontal, int otherP,
            int otherE, bool& towardsLow) {
    if (p + e > hi) {
        if (centred || p - e < lo || p >= hi)
            p = hi - e;
        else
            p -= e;
        towardsLow = true;
        if (exclude) {
            const RECT r = horizontal ? RECT{p, otherP, p + e, otherP + otherE} : RECT{otherP, p, otherP + otherE, p + e};
            if (Overlaps(r, *exclude)) p = (horizontal ? exclude->left : exclude->top) - e;
        }
    }
    if (p < lo) {
        const int flipped = p + e;
        if (centred || flipped + e > hi || flipped < lo) {
            p = lo;
        } else {
            p = flipped;
            towardsLow = false;
        }
    }
    return p;
}

}  // namespace

int NextItem(const std::vector<StepItem>& items, int from, int direction, bool wrap, bool skipBarButtons) {
    const int count = static_cast<int>(items.size());
    if (count == 0 || direction == 0) return -1;
    direction = direction > 0 ? 1 : -1;
    int position = from;
    if (position < 0 || position >= count) position = direction > 0 ? -1 : count;
    for (int steps = 0; steps < count; ++steps) {
        position += direction;
        if (position < 0 || position >= count) {
            if (!wrap) return -1;
            position = direction > 0 ? 0 : count - 1;
        }
        const StepItem& item = items[position];
        if (item.separator) continue;
        if (skipBarButtons && IsBarButton(item.id)) continue;
        return position;
    }
    return -1;
}

MnemonicMatch MatchMnemonic(const std::vector<MnemonicItem>& items, int selected, char ch) {
    MnemonicMatch match;
    const int count = static_cast<int>(items.size());
    if (count == 0 || ch == 0) return match;
    const char wanted = Upper(ch);
    const int start = (selected >= 0 && selected < count) ? selected + 1 : 0;
    std::vector<int> marked, fallback;
    for (int i = 0; i < count; ++i) {
        const int position = (start + i) % count;
        const std::string& text = items[position].text;
        if (MarkedMnemonic(text) == wanted)
            marked.push_back(position);
        else if (!HasAmpersand(text) && !text.empty() && Upper(text[0]) == wanted)
            fallback.push_back(position);
    }
    const std::vector<int>& found = marked.empty() ? fallback : marked;
    if (found.empty()) return match;
    int enabled = 0;
    for (int position : found)
        if (items[position].enabled) {
            if (match.position < 0) match.position = position;
            ++enabled;
        }
    if (enabled == 0) {
        match.kind = MnemonicMatch::AllDisabled;
        return match;
    }
    match.kind = enabled == 1 ? MnemonicMatch::Execute : MnemonicMatch::Select;
    return match;
}

MenuCharAction ReadMenuCharReply(LRESULT reply, int count) {
    MenuCharAction action;
    const ULONG_PTR value = static_cast<ULONG_PTR>(reply);
    if (value > 0x3FFFF) return action;
    const int position = static_cast<int>(LOWORD(value));
    switch (HIWORD(value)) {
        case MNC_IGNORE: action.kind = MenuCharAction::Beep; return action;
        case MNC_CLOSE: action.kind = MenuCharAction::Close; return action;
        case MNC_EXECUTE:
        case MNC_SELECT:
            if (position >= count) return action;
            action.kind = HIWORD(value) == MNC_EXECUTE ? MenuCharAction::Execute : MenuCharAction::Select;
            action.position = position;
            return action;
        default: return action;
    }
}

DeliveryPlan PlanDelivery(UINT message, bool returnCommand) {
    DeliveryPlan plan;
    if (message == 0 || returnCommand) return plan;
    plan.how = message == WM_COMMAND ? Delivery::Post : Delivery::Send;
    plan.repaintFrameAfter = message == WM_SYSCOMMAND;
    return plan;
}

Placement AlignPopup(POINT point, int w, int h, UINT flags, bool mirroredOwner) {
    if (mirroredOwner && !(flags & kCenterAlign)) flags ^= kRightAlign;
    Placement placement;
    placement.at = point;
    if (flags & kRightAlign) {
        placement.at.x -= w;
        placement.leftwards = true;
    } else if (flags & kCenterAlign) {
        placement.at.x -= w / 2;
    }
    if (flags & kBottomAlign)
        placement.at.y -= h;
    else if (flags & kVCenterAlign)
        placement.at.y -= h / 2;
    return placement;
}

Placement FitToScreen(Placement placement, int w, int h, UINT flags, const RECT* exclude, const RECT& work) {
    RECT clipped = {};
    const RECT* ex = nullptr;
    if (exclude && IntersectRect(&clipped, exclude, &work)) ex = &clipped;
    bool upwards = false;
    placement.at.x = FitAxis(placement.at.x, w, work.left, work.right, (flags & kCenterAlign) != 0, ex, true,
                             placement.at.y, h, placement.leftwards);
    placement.at.y = FitAxis(placement.at.y, h, work.top, work.bottom, (flags & kVCenterAlign) != 0, ex, false,
                             placement.at.x, w, upwards);
    return placement;
}

Placement PlaceSubmenu(const SubmenuRequest& r) {
    Placement placement;
    const RECT& item = r.item;
    const RECT& work = r.work;
    int x, y;
    if (r.underBar) {
        x = item.left;
        y = item.bottom;
        if (r.ownerMinimized) {
            y = item.top - r.h;
            if (y < work.top) y = item.bottom;
        }
        if (r.ownerMirrored) {
            x = item.right - r.w;
            placement.leftwards = true;
        }
        x = std::min<int>(x, work.right - r.w);
    } else {
        x = item.right - 3;
        y = item.top - 3;
        const int left = item.left - r.w + 3;
        if ((r.parentLeftwards && left >= work.left) || x + r.w > work.right) {
            x = left;
            placement.leftwards = true;
        }
    }
    if (y + r.h > work.bottom) {
        y = r.underBar ? y - r.h - r.menuBarHeight : item.bottom - r.h;
        if (y < work.top || y + r.h > work.bottom) y = work.bottom - r.h;
    }
    x = std::max<int>(x, work.left);
    y = std::max<int>(y, work.top);
    const RECT shrunk = {x + 3, y + 3, x + r.w - 3, y + r.h - 3};
    if (Overlaps(shrunk, item)) {
        const int found = x;
        x = item.right;
        placement.leftwards = false;
        if (x + r.w > work.right) {
            x = item.left - r.w;
            placement.leftwards = true;
            if (x < work.left) {
                x = found;
                placement.leftwards = found < item.left;
            }
        }
    }
    placement.at = {x, y};
    return placement;
}

WPARAM MenuSelectParam(UINT id, int position, UINT type, UINT state, bool hasSubmenu, bool keyboard,
                       bool systemMenu) {
    UINT flags = type | state;
    if (hasSubmenu) flags |= MF_POPUP;
    if (!keyboard) flags |= MF_MOUSESELECT;
    if (systemMenu) flags |= MF_SYSMENU;
    const UINT first = hasSubmenu ? static_cast<UINT>(position) : id;
    return MAKEWPARAM(first & 0xFFFF, flags & 0xFFFF);
}

}  // namespace menurules
}  // namespace skin
