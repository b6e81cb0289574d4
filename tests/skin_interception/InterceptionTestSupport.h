#pragma once
// The skin of this test program's own theme, installed with the interception for one scope.
#include "CSkinApiHookManager.h"
#include "CSkinEngine.h"
#include "SkinTestSupport.h"

namespace interceptiontest {

inline CSkinEngine* Engine() { return CSkinEngine::Instance(); }

class Skinned {
public:
    explicit Skinned(unsigned options = SkinApplyAll) {
        CSkinApiHookManager::Instance()->Register(Engine());
        Engine()->SetApplyOptions(options);
        ok = Engine()->LoadSkin(skintest::ExePath().c_str(), nullptr) != FALSE;
    }
    ~Skinned() {
        Engine()->LoadSkin("", nullptr);
        Engine()->SetApplyOptions(SkinApplyAll);
    }
    Skinned(const Skinned&) = delete;
    Skinned& operator=(const Skinned&) = delete;
    bool ok = false;
};

}  // namespace interceptiontest
