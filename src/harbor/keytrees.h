#pragma once
// The key trees the Safe Harbor builder scans: the platform's (package file
// lists and desktop entries), unless a test put trees of its own in place so
// that no test scans the real system.

#include "platform/keytree.h"

#include <functional>
#include <memory>

namespace harbor {

using KeyTreeFactory = std::function<std::unique_ptr<plat::KeyTree>()>;

struct KeyTreeSource {
    KeyTreeFactory machine;
    KeyTreeFactory user;
};

// An empty factory stands for the platform's tree of that scope.
void setKeyTreeSource(KeyTreeSource source);
void resetKeyTreeSource();

std::unique_ptr<plat::KeyTree> MachineKeyTree();
std::unique_ptr<plat::KeyTree> UserKeyTree();

}  // namespace harbor
