#include "NumberedError.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(NumberedError, CarriesNumberAndReadableMessage)
{
    const NumberedError error(NumberedError::SubscriptOutOfRange, "slot 600");
    EXPECT_EQ(error.number(), 9);
    EXPECT_STREQ(error.what(), "Subscript out of range (error 9): slot 600");

    const NumberedError missing = NumberedError::FromErrno("/nowhere/a.tvm", ENOENT);
    EXPECT_EQ(missing.number(), NumberedError::FileNotFound);
    EXPECT_NE(std::string(missing.what()).find("/nowhere/a.tvm"), std::string::npos);
    EXPECT_EQ(NumberedError::FromErrno("x", ENOSPC).number(), NumberedError::DiskFull);
    EXPECT_EQ(NumberedError::FromErrno("x", EACCES).number(), NumberedError::PermissionDenied);
}
