#pragma once
#include "platform/DateTime.h"

namespace tovik::platform {

// The local wall clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

}  // namespace tovik::platform
