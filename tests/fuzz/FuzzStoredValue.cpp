// A stored value of any type, size and bytes, read as text, integer and
// boolean: a value by the type rules, or exactly one of the store's error texts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/UserError.h"
#include "settings/SettingsStore.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/MemoryRegistry.h"

using namespace tovik;

namespace {

template <class Read>
std::string outcome(Read&& read) {
    try {
        return "value:" + read();
    } catch (const UserError& error) {
        return std::string("error:") + error.what();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // First byte: the type (a few beyond the known ones too); second: the
    // length of the value's name; then the name and the data.
    const std::uint32_t type = data[0] % 12;
    const std::size_t nameLength = std::min<std::size_t>(data[1] % 16, size - 2);
    // Value names are the program's own and never hold a zero character.
    std::string name = "V" + std::string(reinterpret_cast<const char*>(data + 2), nameLength);
    std::replace(name.begin(), name.end(), '\0', '0');
    const std::string bytes(reinterpret_cast<const char*>(data + 2 + nameLength), size - 2 - nameLength);

    test::MemoryRegistry registry;
    registry.plantValue(platform::RegistryHive::CurrentUser, "Software\\Zeb\\Tovik", name, {type, bytes});
    settings::SettingsStore store(registry);
    fuzz::check(store.openForReading(platform::RegistryHive::CurrentUser, "\\Software\\Zeb\\Tovik"), "key opens");

    const bool text = type == 1 || type == 2;  // REG_SZ, REG_EXPAND_SZ
    const std::string typeError = "error:Ungültiger Datentyp für '" + name + "'";
    const std::string getError = "error:Fehler beim Holen der Daten für '" + name + "'";
    const std::string which = "type " + std::to_string(type) + ", " + std::to_string(bytes.size()) + " bytes";

    const std::string expectedText = bytes.empty() ? "value:"
                                     : text         ? "value:" + bytes.substr(0, bytes.find('\0'))
                                                    : typeError;
    fuzz::check(outcome([&] { return store.readText(name); }) == expectedText, which + ": text");

    std::string expectedInteger;
    if (bytes.size() > 4) {
        expectedInteger = getError;
    } else if (type != 4) {  // REG_DWORD
        expectedInteger = typeError;
    } else {
        unsigned char four[4] = {0, 0, 0, 0};
        std::memcpy(four, bytes.data(), bytes.size());
        const std::int32_t value =
            static_cast<std::int32_t>(four[0] | four[1] << 8 | four[2] << 16 | static_cast<std::uint32_t>(four[3]) << 24);
        expectedInteger = "value:" + std::to_string(value);
    }
    fuzz::check(outcome([&] { return std::to_string(store.readInteger(name)); }) == expectedInteger, which + ": integer");
    const std::string expectedBoolean = expectedInteger.rfind("error:", 0) == 0 ? expectedInteger
                                        : expectedInteger == "value:0"        ? "value:0"
                                                                              : "value:1";
    fuzz::check(outcome([&] { return std::string(store.readBoolean(name) ? "1" : "0"); }) == expectedBoolean,
                which + ": boolean");
    return 0;
}
