#include "shell/core/HelperFunction.h"

#include <QtGlobal>

#include "model/UserConfig.h"

bool HelperFunction::isSandboxed()
{
    return qEnvironmentVariableIsSet("APP_SANDBOX_CONTAINER_ID");
}

bool HelperFunction::saveUserConfig()
{
    return UserConfig::share()->save();
}
