#pragma once
// The decisions of menu tracking over plain data: which item the keyboard moves to, which item a
// typed character names, where a popup or submenu goes on a work area, how an owner's
// WM_MENUCHAR reply is read and how a chosen command is delivered. The tracker feeds them from
// real menus and windows.
#include <windows.h>

#include <string>
#include <vector>

namespace skin {
namespace menurules {

// What keyboard stepping needs of an item.
struct StepItem {
    bool separator = false;
    UINT id = 0;
};

// The next position from `from` (-1: none selected) in `direction` (+1 or -1), skipping
// separators and, when skipBarButtons, the MDI child buttons of a bar (SC_MINIMIZE, SC_CLOSE,
// SC_RESTORE). Wraps at the ends unless told not to; -1 when nothing qualifies.
int NextItem(const std::vector<StepItem>& items, int from, int direction, bool wrap, bool skipBarButtons);

// What mnemonic matching needs of an item.
struct MnemonicItem {
    std::string text;  // as in the menu, with "&" marking the mnemonic
    bool enabled = true;
};

struct MnemonicMatch {
    enum Kind { None, AllDisabled, Select, Execute };
    Kind kind = None;
    int position = -1;
};

// The item a typed character names, searching from the one after `selected` round once:
// an "&"-marked letter matches at once; an item without "&" whose text begins with the
// character is the fallback. Disabled matches are passed over (AllDisabled when every match is
// disabled). A match is executed when no other enabled item matches, otherwise only selected.
MnemonicMatch MatchMnemonic(const std::vector<MnemonicItem>& items, int selected, char ch);

// How an owner's WM_MENUCHAR reply is taken.
struct MenuCharAction {
    enum Kind { Ignore, Beep, Close, Select, Execute };
    Kind kind = Ignore;
    int position = -1;
};
// Replies above 0x3FFFF and positions outside the menu's `count` items are ignored.
MenuCharAction ReadMenuCharReply(LRESULT reply, int count);

// How EndMenu hands over the command message.
enum class Delivery { None, Post, Send };
struct DeliveryPlan {
    Delivery how = Delivery::None;
    bool repaintFrameAfter = false;  // WM_NCPAINT to the owner after a system command
};
DeliveryPlan PlanDelivery(UINT message, bool returnCommand);

// Tracking flags the geometry reads.
constexpr UINT kCenterAlign = TPM_CENTERALIGN;
constexpr UINT kRightAlign = TPM_RIGHTALIGN;
constexpr UINT kVCenterAlign = TPM_VCENTERALIGN;
constexpr UINT kBottomAlign = TPM_BOTTOMALIGN;

struct Placement {
    POINT at = {0, 0};
    bool leftwards = false;
};

// The point a popup of size w x h opens at for the caller's point and alignment flags; a
// mirrored owner swaps left and right alignment unless centred.
Placement AlignPopup(POINT point, int w, int h, UINT flags, bool mirroredOwner);

// Keeps a new popup inside the work area; exclude (may be null) is clipped to it first.
// `leftwards` comes in from the alignment and is set when the popup is moved to the left.
Placement FitToScreen(Placement placement, int w, int h, UINT flags, const RECT* exclude, const RECT& work);

struct SubmenuRequest {
    RECT item = {0, 0, 0, 0};  // the opening item, screen coordinates
    int w = 0, h = 0;          // the submenu's size
    bool underBar = false;     // the item is on a menu bar
    bool parentLeftwards = false;
    bool ownerMinimized = false;
    bool ownerMirrored = false;
    int menuBarHeight = 0;     // SM_CYMENUSIZE
    RECT work = {0, 0, 0, 0};
};
Placement PlaceSubmenu(const SubmenuRequest& request);

// The WM_MENUSELECT wParam for an item: identifier (the position for an item with a submenu)
// and the item's type and state bits with the popup, mouse and system-menu marks.
WPARAM MenuSelectParam(UINT id, int position, UINT type, UINT state, bool hasSubmenu, bool keyboard,
                       bool systemMenu);

}  // namespace menurules
}  // namespace skin
