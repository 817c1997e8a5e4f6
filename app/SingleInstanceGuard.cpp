#include "app/SingleInstanceGuard.h"

namespace tovik::app {

namespace {

// Byte length of the first `limit` characters of a UTF-8 text. A byte that
// does not start a valid sequence counts as one character of its own.
std::size_t prefixOfCharacters(std::string_view text, std::size_t limit) {
    std::size_t at = 0;
    for (std::size_t count = 0; count < limit && at < text.size(); ++count) {
        const auto lead = static_cast<unsigned char>(text[at]);
        std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
        if (at + length > text.size()) length = 1;
        for (std::size_t i = 1; i < length; ++i)
            if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) length = 1;
        at += length;
    }
    return at;
}

}  // namespace

std::string InstanceName(std::string_view executablePath) {
    std::string_view name = executablePath.substr(0, prefixOfCharacters(executablePath, instancePathLimit));
    const std::size_t separator = name.find_last_of("\\:");
    if (separator != std::string_view::npos) name.remove_prefix(separator + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
    return std::string(name);
}

SingleInstanceGuard::SingleInstanceGuard(platform::NamedLocks& locks, std::string_view executablePath)
    : locks_(locks), name_(InstanceName(executablePath)) {
    const platform::NamedLockResult result = locks_.createOrOpen(name_);
    handle_ = result.handle;
    if (result.existedBefore)
        state_ = GuardState::Refused;
    else if (handle_ == 0)
        state_ = GuardState::Unguarded;
    else
        state_ = GuardState::Held;
}

SingleInstanceGuard::~SingleInstanceGuard() { close(); }

void SingleInstanceGuard::close() {
    if (handle_ == 0) return;
    locks_.close(handle_);
    handle_ = 0;
}

}  // namespace tovik::app
