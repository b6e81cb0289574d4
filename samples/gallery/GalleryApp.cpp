// SkinGallery: one window with a control of every kind the skin handles or leaves alone,
// plus an MDI frame, a property sheet and a wizard from its menu.
#include "GalleryApp.h"

#include <commctrl.h>
#include <cstdlib>
#include <cstring>

#include "CGalleryWindow.h"
#include "CMdiFrameWindow.h"
#include "CSkinApiHookManager.h"
#include "CSkinEngine.h"
#include "CSkinHookManager.h"

namespace gallery {

bool WantsNoSkin(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (argv[i] && std::strcmp(argv[i], "--no-skin") == 0)
            return true;
    return false;
}

SkinState StartSkin(HMODULE module)
{
    // The module's full path: a bare name would make the loader search the current folder and PATH.
    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    CSkinEngine* skin = CSkinEngine::Instance();
    CSkinHookManager::Instance();
    CSkinApiHookManager::Instance()->Register(skin);
    skin->SetApplyOptions(skin->GetApplyOptions() | SkinApplyMetrics);
    if (length == 0 || length >= MAX_PATH)
        return SkinState::Failed;
    return skin->LoadSkin(path, nullptr) && skin->IsEnabled() ? SkinState::On : SkinState::Failed;
}

}  // namespace gallery

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES |
                                                ICC_PAGESCROLLER_CLASS | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&icc);

    // Before the first window exists, so that every window is attached.
    const gallery::SkinState skin =
        gallery::WantsNoSkin(__argc, __argv) ? gallery::SkinState::Off : gallery::StartSkin(instance);

    CGalleryWindow window;
    if (!window.Create(instance, skin, showCommand))
        return 1;

    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1)
            return 1;
        if (CMdiFrameWindow::TranslateAccelerators(&msg) || window.TranslateAccelerators(&msg) ||
            IsDialogMessageA(window.Handle(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
