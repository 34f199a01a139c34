#include <gtest/gtest.h>

#include "core/module_settings.h"

namespace {

TEST(Settings, PoeModels) {
    for (const char* poe : {"KMS-7300-08E", "KMS-7300-28E", "KMS-7300-08P", "kms-7300p"})
        EXPECT_TRUE(IsPoeModel(poe)) << poe;
    for (const char* other : {"KMS-7300-08", "KMS-7300-08e", "", "KMS-7300-28E "})
        EXPECT_FALSE(IsPoeModel(other)) << other;
}

}  // namespace
