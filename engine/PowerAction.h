#pragma once

namespace tovik::engine {

// The code passed to PwrOff.
enum class PowerAction : unsigned {
    PowerOff = 1,
    Restart = 2,
    LogOff = 3,
    Hibernate = 4,
    Lock = 5,
};

}  // namespace tovik::engine
