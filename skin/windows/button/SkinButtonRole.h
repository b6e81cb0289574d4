#pragma once
// What a button window is to the skin, decided from its style bits alone.
#include <windows.h>
#include <commctrl.h>  // split button types

namespace skin {

enum class ButtonKind { Push, CheckBox, Radio, GroupBox, User, NotSkinned };

// Where the content goes; the numbers are the layouts the drawing code knows.
enum class ButtonContent { Client = 0, BesideCheck = 3, BesideRadio = 4, GroupCaption = 5, Inner = 7 };

struct ButtonRole {
    int type = 0;                 // effective BS_TYPEMASK value
    ButtonKind kind = ButtonKind::Push;
    bool pushLike = false;        // drawn as a push button
    bool isDefault = false;
    bool split = false;
    bool threeState = false;
    bool multiLine = false;
    ButtonContent content = ButtonContent::Inner;
};

// typeOverride 255 means "the window's own type bits".
ButtonRole ClassifyButton(DWORD style, BYTE typeOverride = 255);

// The parent's WM_CTLCOLORBTN answer, read as what to fill the button with.
enum class ButtonFill { SkinFace, SystemColor, Brush, Transparent };
struct ButtonBackground {
    ButtonFill fill = ButtonFill::SkinFace;
    int sysColor = COLOR_BTNFACE;  // for SystemColor (and SkinFace)
    HBRUSH brush = nullptr;        // for Brush
};
ButtonBackground ClassifyParentBrush(bool hasParent, LRESULT answer);

}  // namespace skin
