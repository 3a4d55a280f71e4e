#pragma once
// Lets a test that runs as root meet permission bits as a user would.

namespace testing_support {

// Turns off, for the calling thread, the capabilities that let root read
// and search any folder, so that permission bits refuse as they would for a
// user. ok() is false when the process cannot do that (then the test skips).
class NoDacOverride {
public:
    NoDacOverride();
    ~NoDacOverride();
    NoDacOverride(const NoDacOverride&) = delete;
    NoDacOverride& operator=(const NoDacOverride&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
    bool changed_ = false;
    unsigned saved_[6] = {};
};

}  // namespace testing_support
