#include "link/LinkState.h"

namespace orb {

void SetLinkState(SettingsForm& form, Progress& progress, LinkState state) {
    UnitState unit = state == LinkState::Inactive ? UnitState{} : form.unit();
    unit.link = state;
    form.setUnitState(unit);
    if (state == LinkState::Refused) progress.hideProgress();
}

} // namespace orb
