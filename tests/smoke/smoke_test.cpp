#include <gtest/gtest.h>
#include <windows.h>
TEST(Smoke, AnsiCodePageIsGbk) { EXPECT_EQ(GetACP(), 936u); }
