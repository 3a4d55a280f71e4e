// The builder's hooks: the window's pump runs before every key, also where
// keys add nothing; onAdded only after an added folder.
#include "harbor/harborbuilder.h"
#include "platform/keytree.h"

#include <gtest/gtest.h>

namespace {

TEST(BuilderHooksTest, OnKeyBeforeEveryKeyOnAddedAfterEveryFolder)
{
    plat::MemoryKeyTree machine;
    plat::MemoryKeyTree user;
    machine.add("\\SOFTWARE\\A", {"C:\\Gone\\x.exe"});
    machine.add("\\SOFTWARE\\A\\Sub", {"C:\\Here\\x.exe"});
    machine.add("\\SOFTWARE\\B", {"C:\\Here\\y.exe", "C:\\A;C:\\B"});
    user.add("\\SOFTWARE\\C", {"C:\\Also\\z.exe"});
    QStringList list;
    harbor::HarborBuilder b(list);
    b.folderExists = [](const QString& f) { return f != "C:\\Gone"; };
    b.onRemovableDrive = [](const QString&) { return false; };
    QStringList events;
    b.onKey = [&] { events << "key"; };
    b.onAdded = [&] { events << "added " + list.last(); };
    b.build(machine, user);
    EXPECT_EQ(events, QStringList({"key", "key", "added C:\\Here", "key", "key", "added C:\\Also"}));
}

}  // namespace
