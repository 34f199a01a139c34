#include <gtest/gtest.h>

#include "core/module_settings.h"

namespace {

TEST(Settings, PoeModels) {
    const std::pair<const char*, bool> cases[] = {{"KMS-7300-08E", true},
                                                  {"KMS-7300-28E", true},
                                                  {"KMS-7300-08P", true},
                                                  {"kms-7300p", true},
                                                  {"KMS-7300-08", false},
                                                  {"KMS-7300-08e", false},
                                                  {"", false},
                                                  {"KMS-7300-28E ", false}};
    for (const auto& [name, poe] : cases) EXPECT_EQ(IsPoeModel(name), poe) << name;
}

}  // namespace
