// The check box that sets write protection for removable storage. The
// check mark is the switch's only state; the box toggles it by itself.
#pragma once

#include "policy/policy_store.h"

void ShowWriteProtectState(PolicyStore& store, CheckControl& box);
// Runs after the box has toggled its mark.
void StoreWriteProtect(PolicyStore& store, CheckControl& box);
