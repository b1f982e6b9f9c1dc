// The main of every test program: GoogleTest's, with the lock check (LockCheck.h) listening.

#include "tests/support/LockCheck.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new LockCheck);
    return RUN_ALL_TESTS();
}
