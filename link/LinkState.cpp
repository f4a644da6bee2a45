#include "link/LinkState.h"

namespace orb {

void SetLinkState(SettingsForm& form, LinkState state) {
    UnitState unit = state == LinkState::Inactive ? UnitState{} : form.unit();
    unit.link = state;
    form.setUnitState(unit);
}

} // namespace orb
