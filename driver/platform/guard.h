// Keeps C++ exceptions inside the module: every export, callback and window procedure
// runs its body through CallGuarded and answers with its failure value instead.
#pragma once

namespace qf {

template <typename Result, typename Body>
Result CallGuarded(Result failure, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

// Runs a user's action. One that throws part-way (an allocation failed) is not left
// silent: `onFailure` runs, itself guarded, to reset what the action had set and tell
// the user. True when the action ran to its end.
template <typename Action, typename OnFailure>
bool RunOrRecover(Action&& action, OnFailure&& onFailure) noexcept {
    try {
        action();
        return true;
    } catch (...) {
    }
    try {
        onFailure();
    } catch (...) {
    }
    return false;
}

}  // namespace qf
