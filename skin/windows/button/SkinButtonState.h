#pragma once
// The theme part and state a button is drawn with.
#include "SkinButtonRole.h"

namespace skin {

// Parts and states of the theme class "BUTTON".
enum { BP_PUSH = 1, BP_RADIO = 2, BP_CHECK = 3, BP_GROUP = 4 };
enum { PBS_NORMAL_ = 1, PBS_HOT_ = 2, PBS_PRESSED_ = 3, PBS_DISABLED_ = 4, PBS_DEFAULTED_ = 5 };

struct ButtonFlags {
    bool enabled = true;
    bool pushed = false;   // the last BM_SETSTATE
    bool hot = false;      // mouse over the client area, or the button holds the capture
    int check = BST_UNCHECKED;
};

struct ButtonPartState {
    int part = 0;
    int state = 0;
    bool operator==(const ButtonPartState& o) const { return part == o.part && state == o.state; }
};

ButtonPartState ButtonPartAndState(const ButtonRole& role, const ButtonFlags& flags);

}  // namespace skin
