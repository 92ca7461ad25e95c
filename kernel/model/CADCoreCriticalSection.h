// The lock objects of the kernel. A list's lock serialises its node changes and
// its iterator counters; it may be taken again by the thread that holds it.
// lock()/unlock() let std::lock_guard and std::scoped_lock use them.
#pragma once

#include <mutex>

namespace calvoro {

// A lock that does nothing, for objects that need no guarding.
class TCADCoreSynchroObject {
public:
    virtual ~TCADCoreSynchroObject() = default;
    virtual void Lock() {}
    virtual void Unlock() {}

    void lock() { Lock(); }
    void unlock() { Unlock(); }
};

class TCADCoreCriticalSection : public TCADCoreSynchroObject {
public:
    void Lock() override { mutex_.lock(); }
    void Unlock() override { mutex_.unlock(); }

private:
    std::recursive_mutex mutex_;
};

}  // namespace calvoro
