#include "SkinButtonRole.h"

namespace skin {

ButtonRole ClassifyButton(DWORD style, BYTE typeOverride) {
    ButtonRole r;
    r.type = typeOverride == 255 ? static_cast<int>(style & BS_TYPEMASK) : typeOverride;
    const bool pushLikeStyle = (style & BS_PUSHLIKE) != 0;
    r.multiLine = (style & BS_MULTILINE) != 0;
    switch (r.type) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        r.kind = ButtonKind::Push;
        r.pushLike = true;
        r.isDefault = r.type == BS_DEFPUSHBUTTON;
        r.content = ButtonContent::Inner;
        break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        r.kind = ButtonKind::CheckBox;
        r.threeState = r.type == BS_3STATE || r.type == BS_AUTO3STATE;
        r.pushLike = pushLikeStyle;
        r.content = ButtonContent::BesideCheck;
        break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        r.kind = ButtonKind::Radio;
        r.pushLike = pushLikeStyle;
        r.content = ButtonContent::BesideRadio;
        break;
    case BS_GROUPBOX:
        r.kind = ButtonKind::GroupBox;
        r.pushLike = pushLikeStyle;
        r.content = ButtonContent::GroupCaption;
        break;
    case BS_USERBUTTON:
    case BS_PUSHBOX:
        r.kind = ButtonKind::User;
        r.pushLike = pushLikeStyle;
        r.content = ButtonContent::Client;
        break;
    case BS_SPLITBUTTON:
    case BS_DEFSPLITBUTTON:
        r.kind = ButtonKind::Push;
        r.pushLike = true;
        r.split = true;
        r.isDefault = r.type == BS_DEFSPLITBUTTON;
        r.content = ButtonContent::Inner;
        break;
    default:  // owner-drawn and unknown types stay the system's
        r.kind = ButtonKind::NotSkinned;
        break;
    }
    if (r.pushLike) r.content = ButtonContent::Inner;
    return r;
}

ButtonBackground ClassifyParentBrush(bool hasParent, LRESULT answer) {
    ButtonBackground b;
    if (!hasParent || answer == 0) return b;
    if (answer >= 1 && answer <= 30) {
        b.fill = ButtonFill::SystemColor;
        b.sysColor = static_cast<int>(answer) - 1;
        return b;
    }
    HBRUSH brush = reinterpret_cast<HBRUSH>(answer);
    if (brush == static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))) {
        b.fill = ButtonFill::Transparent;
        return b;
    }
    b.fill = ButtonFill::Brush;
    b.brush = brush;
    return b;
}

}  // namespace skin
