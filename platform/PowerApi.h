#pragma once

namespace tovik::platform {

// The requests that end, suspend or lock the user's session.
class PowerApi {
public:
    virtual ~PowerApi() = default;
    // Enables the shutdown right in the process token; the result is not looked at.
    virtual void enableShutdownPrivilege() = 0;
};

}  // namespace tovik::platform
