#include "core/credentials.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Any byte travels; lines after the empty one are not the block's; a refused line is named by its number
// and changes nothing.
TEST(Credentials, BlockTakesPercentEncodedValuesUpToTheEmptyLine) {
    EXPECT_EQ(PercentEncode("a b/c%~-._=\xC3\xA9"), "a%20b%2Fc%25~-._%3D%C3%A9");
    ModuleSettings all, back;
    for (int c = 0; c < 256; ++c) all.PrivPassword += static_cast<char>(c);
    EXPECT_TRUE(ParseCredentialBlock(FormatCredentialBlock(all), back).empty());
    EXPECT_EQ(back.PrivPassword, all.PrivPassword);

    // The block; read and write community, authentication and privacy password; the lines refused.
    const std::tuple<const char*, const char*, std::vector<int>> cases[] = {
        {"ReadCommunity=pub%20lic\nAuthPassword=x%2fy\n\nPrivPassword=late\n", "pub lic|wrcomms|x/y|", {}},
        {"WriteCommunity=w\r\nBogus=1\nAuthPassword=%4\nPrivPassword=a "
         "b\nReadCommunity\n=x\nPrivPassword=%41b",
         "rdcomm|w|before|Ab",
         {2, 3, 4, 5, 6}},
        {"AuthPassword=\n", "rdcomm|wrcomms||", {}},
    };
    for (const auto& [block, secrets, refused] : cases) {
        ModuleSettings s;
        s.AuthPassword = "before";
        EXPECT_EQ(ParseCredentialBlock(block, s), refused) << block;
        EXPECT_EQ(s.ReadCommunity + "|" + s.WriteCommunity + "|" + s.AuthPassword + "|" + s.PrivPassword,
                  secrets);
    }
}

// The reader stops at the empty line without waiting, drops an unfinished line after its time, and ends
// at the end of input.
TEST(Credentials, ReaderStopsAtTheEmptyLineItsTimeOrTheEnd) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const std::string sent = "ReadCommunity=a\n\nWriteCommunity=b\nAuthPass";
    bool timedOut = true;
    ASSERT_EQ(write(fds[1], sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
    EXPECT_EQ(ReadCredentialBlock(fds[0], 60000, timedOut), sent);
    EXPECT_FALSE(timedOut);
    ASSERT_EQ(write(fds[1], sent.data() + 17, sent.size() - 17), static_cast<ssize_t>(sent.size() - 17));
    EXPECT_EQ(ReadCredentialBlock(fds[0], 200, timedOut), "WriteCommunity=b\n");
    EXPECT_TRUE(timedOut);
    close(fds[1]);
    EXPECT_EQ(ReadCredentialBlock(fds[0], 60000, timedOut), "");
    EXPECT_FALSE(timedOut);
    close(fds[0]);
}

}  // namespace
