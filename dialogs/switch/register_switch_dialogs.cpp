#include "dialogs/common/dialog_registry.h"

void RegisterSwitchDialogs() {}
