#include "SkinButtonState.h"

namespace skin {

ButtonPartState ButtonPartAndState(const ButtonRole& role, const ButtonFlags& f) {
    if (role.kind == ButtonKind::NotSkinned) return {};
    if (role.pushLike) {
        int state = !f.enabled ? PBS_DISABLED_
                  : f.pushed ? PBS_PRESSED_
                  : f.hot ? PBS_HOT_
                  : f.check != BST_UNCHECKED ? PBS_PRESSED_
                  : role.isDefault ? PBS_DEFAULTED_
                  : PBS_NORMAL_;
        return {BP_PUSH, state};
    }
    switch (role.kind) {
    case ButtonKind::CheckBox:
    case ButtonKind::Radio: {
        int state = !f.enabled ? 4 : f.pushed ? 3 : f.hot ? 2 : 1;
        if (f.check == BST_CHECKED) state += 4;
        // Only three-state boxes have the mixed row; a plain box reporting it shows as checked.
        if (f.check == BST_INDETERMINATE) state += (role.kind == ButtonKind::CheckBox && role.threeState) ? 8 : 4;
        return {role.kind == ButtonKind::CheckBox ? BP_CHECK : BP_RADIO, state};
    }
    case ButtonKind::GroupBox:
        return {BP_GROUP, f.enabled ? 1 : 2};
    default:  // user buttons and push boxes paint as push buttons
        return {BP_PUSH, !f.enabled ? PBS_DISABLED_ : f.pushed ? PBS_PRESSED_ : f.hot ? PBS_HOT_ : PBS_NORMAL_};
    }
}

}  // namespace skin
