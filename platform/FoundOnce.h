#pragma once
#include <utility>

namespace tovik::platform {

// Keeps what a lookup has found, for as long as this object lives. A lookup
// that finds nothing (a null or empty result) keeps nothing, so the next call
// looks again; once something is found, the lookup is not asked again.
template <class T>
class FoundOnce {
public:
    // What was found before, or else the result of asking the lookup now.
    template <class Lookup>
    T get(Lookup&& lookup) {
        if (!found_) found_ = std::forward<Lookup>(lookup)();
        return found_;
    }
    bool holds() const { return static_cast<bool>(found_); }

private:
    T found_{};
};

}  // namespace tovik::platform
