#include "settings/Counters.h"

namespace tovik::settings {

// Until the registry store is built, counting behaves as on a fresh profile
// that keeps nothing: no value is written.
void Counters::BumpCounter(CounterKind) {}

}  // namespace tovik::settings
