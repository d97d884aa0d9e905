#include "support/change_lock.h"

namespace velbrook {

// Off Windows the registry is the process's own in-memory store: no other
// process can change it.
PlacesBarChangeLock::PlacesBarChangeLock() = default;
PlacesBarChangeLock::~PlacesBarChangeLock() = default;

} // namespace velbrook
