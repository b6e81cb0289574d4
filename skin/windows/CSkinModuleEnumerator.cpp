#include "CSkinModuleEnumerator.h"

#include "CSkinPsapiModuleEnumerator.h"
#include "CSkinToolhelpModuleEnumerator.h"

std::unique_ptr<CSkinModuleEnumerator> CSkinModuleEnumerator::Create() {
    if (auto psapi = CSkinPsapiModuleEnumerator::Create()) return psapi;
    return CSkinToolhelpModuleEnumerator::Create();
}
