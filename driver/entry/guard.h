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

}  // namespace qf
