#pragma once
// One change of the user's places bar at a time, across every process of that
// user in every session (a task that runs while nobody is logged on included).

namespace velbrook {

// How long a change waits for another process's change before it gives up.
inline constexpr unsigned kChangeLockWaitMs = 60000;

class PlacesBarChangeLock {
  public:
    // Waits for the change of another process to end; raises Error
    // msg::kPlacesBarBusy when it has not ended within kChangeLockWaitMs.
    PlacesBarChangeLock();
    ~PlacesBarChangeLock();
    PlacesBarChangeLock(const PlacesBarChangeLock&) = delete;
    PlacesBarChangeLock& operator=(const PlacesBarChangeLock&) = delete;

  private:
    void* mutex_ = nullptr;
};

} // namespace velbrook
