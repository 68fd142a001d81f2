#include <gtest/gtest.h>

#include "model/encodings.h"

TEST(Encodings, ReadRealPlaceholder) { EXPECT_DOUBLE_EQ(ReadReal("12,5"), 12.5); }
