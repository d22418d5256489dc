// The driven benchmarks, one procedure each; each prints its RESULT lines and returns 0, or
// explains on stderr why it could not measure and returns 1.
#pragma once
#include <string>

// root holds QQ\Users with `accounts` account folders.
int RunStartupBench(const std::string& root, int accounts, int rounds);
// root holds QQ\Users\<account> (with an Image folder) and noimage\<account>, the same account
// without Image, made of hard links: what the archiver alone packs for the ticked box.
int RunBackupBench(const std::string& root, const std::string& account, int rounds);
