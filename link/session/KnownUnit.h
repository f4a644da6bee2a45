#pragma once

#include "settings/UnitState.h"

#include <functional>
#include <utility>

namespace orb {

/// What the session knows of the attached unit and the connection; whoever shows it (the window's form) is
/// told of every change as it happens.
class KnownUnit {
  public:
    const UnitState& state() const { return state_; }
    void set(const UnitState& state) {
        state_ = state;
        if (shown_) shown_(state_);
    }
    /// Enters a link state; going inactive forgets what the unit reported.
    void enter(LinkState link) {
        UnitState state = link == LinkState::Inactive ? UnitState{} : state_;
        state.link = link;
        set(state);
    }
    void showIn(std::function<void(const UnitState&)> shown) { shown_ = std::move(shown); }

  private:
    UnitState state_;
    std::function<void(const UnitState&)> shown_;
};

} // namespace orb
