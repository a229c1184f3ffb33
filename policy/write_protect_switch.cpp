#include "policy/write_protect_switch.h"

namespace {

constexpr std::int32_t kProtected = 1;
constexpr std::int32_t kUnprotected = 0;

}  // namespace

void ShowWriteProtectState(PolicyStore& store, CheckControl& box)
{
    box.SetCheckState(store.ReadNumber(kWriteProtectPath) == kProtected ? 1 : 0);
}

void StoreWriteProtect(PolicyStore& store, CheckControl& box)
{
    const bool checked = box.CheckState() == 1;
    // A failed write puts the mark back: the box must not show a protection
    // that is not in force.
    if (!store.WriteNumber(kWriteProtectPath, checked ? kProtected : kUnprotected))
        box.SetCheckState(checked ? 0 : 1);
    store.RefreshPolicy();
}
