#include <gtest/gtest.h>

#include "ops/unpacking_name.h"

TEST(UnpackingName, LooksForTheExtensionInTheFileNameOnly)
{
    struct Case { const char* path; const char* expected; } cases[] = {
        {"E:\\Backup\\12345.qq", "E:\\Backup\\12345.zip"},
        {"E:\\Backup\\12345.old.qq", "E:\\Backup\\12345.old.zip"},
        {"E:\\my.backups\\12345", "E:\\my.backups\\12345.zip"},
        {"E:\\Backup\\12345", "E:\\Backup\\12345.zip"},
        {"12345.qq", "12345.zip"},
        {"E:\\Backup\\12345.zip", "E:\\Backup\\12345.zip"},
        // B1 5C is one character whose second byte is 0x5C: it must not be taken for a folder separator.
        {"E:\\\xB1\x5C.d\\\xB1\x5C", "E:\\\xB1\x5C.d\\\xB1\x5C.zip"},
        {"E:\\\xB1\x5C\\a.qq", "E:\\\xB1\x5C\\a.zip"},
    };
    for (const Case& c : cases) EXPECT_EQ(UnpackingName(c.path), c.expected) << c.path;
}

TEST(UnpackingName, AlternativesStayInTheSameFolderAndEndInZip)
{
    EXPECT_EQ(AlternativeUnpackingName("E:\\Backup\\12345.qq", 1), "E:\\Backup\\12345~1.zip");
    EXPECT_EQ(AlternativeUnpackingName("E:\\my.backups\\12345", 2), "E:\\my.backups\\12345~2.zip");
}
