#include "ops/staging.h"

#include <cstdlib>
#include <string>

#include "sys/sys_files.h"
#include "sys/sys_tree.h"

Text StagingRoot()
{
    return JoinTexts(GetSpecialFolder(TemporaryFolder), "Brinkvale");
}

Text OwnStagingFolder()
{
    Text root = StagingRoot();
    MakeFolder(root);
    Text own = JoinTexts(root, "\\", std::to_string(CurrentProcessId()));
    MakeFolder(own);
    return own;
}

void ClearAbandonedStaging()
{
    Text root = StagingRoot();
    SearchState search;
    TextList abandoned;
    for (Text name = FindFirstMatch(JoinTexts(root, "\\*.*"), 16, search); !name.empty();
         name = FindFirstMatch(Text(), 16, search)) {
        if (name[0] == '.') continue;
        uint32_t owner = uint32_t(std::strtoul(name.c_str(), nullptr, 10));
        // Another running copy of the program may be packing from its folder right now.
        if (owner == CurrentProcessId() || !IsProcessAlive(owner)) ListAppend(abandoned, name);
    }
    FindMatchClose(search);
    for (int i = 1; i <= ListCount(abandoned); ++i) RemoveStagingTree(JoinTexts(root, "\\", ListAt(abandoned, i)));
}

void RemoveOwnStagingFolder()
{
    RemoveStagingTree(JoinTexts(StagingRoot(), "\\", std::to_string(CurrentProcessId())));
}
