#include "harbor/keytrees.h"

namespace harbor {

namespace {
KeyTreeSource& current()
{
    static KeyTreeSource source;
    return source;
}
}  // namespace

void setKeyTreeSource(KeyTreeSource source)
{
    current() = std::move(source);
}

void resetKeyTreeSource()
{
    current() = KeyTreeSource();
}

std::unique_ptr<plat::KeyTree> MachineKeyTree()
{
    return current().machine ? current().machine() : plat::machineKeyTree();
}

std::unique_ptr<plat::KeyTree> UserKeyTree()
{
    return current().user ? current().user() : plat::userKeyTree();
}

}  // namespace harbor
