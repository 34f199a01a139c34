#include <gtest/gtest.h>

#include "console/console_command.h"
#include "console/discovery_rules.h"

namespace {

quint32 Ip(const char* text) {
    quint32 a = 0;
    EXPECT_TRUE(ParseIpv4(text, a)) << text;
    return a;
}

}  // namespace

TEST(DiscoveryRules, Ranges) {
    struct Case {
        const char* text;
        const char* first;  // nullptr: refused
        const char* last;
        const char* error;  // part of the message
    } cases[] = {
        {"192.0.2.0/24", "192.0.2.0", "192.0.2.255", nullptr},
        {"192.0.2.77/28", "192.0.2.64", "192.0.2.79", nullptr},
        {" 10.0.0.0/16 ", "10.0.0.0", "10.0.255.255", nullptr},
        {"192.0.2.10-192.0.2.20", "192.0.2.10", "192.0.2.20", nullptr},
        {"192.0.2.9", "192.0.2.9", "192.0.2.9", nullptr},
        {"10.0.0.0/15", nullptr, nullptr, "65,536"},
        {"10.0.0.0-10.1.0.0", nullptr, nullptr, "65537 addresses"},
        {"192.0.2.20-192.0.2.10", nullptr, nullptr, "begins above its end"},
        {"192.0.2.0/33", nullptr, nullptr, "is not a range"},
        {"192.0.2.256", nullptr, nullptr, "is not a range"},
        {"192.0.2/24", nullptr, nullptr, "is not a range"},
        {"192.0.2.0/+8", nullptr, nullptr, "is not a range"},
    };
    for (const Case& c : cases) {
        AddressRange r;
        QString error;
        const bool ok = ParseAddressRange(c.text, r, error);
        ASSERT_EQ(ok, c.first != nullptr) << c.text << ": " << error.toStdString();
        if (ok) {
            EXPECT_EQ(Ipv4Text(r.first).toStdString(), c.first) << c.text;
            EXPECT_EQ(Ipv4Text(r.last).toStdString(), c.last) << c.text;
        } else {
            EXPECT_TRUE(error.contains(c.error)) << c.text << ": " << error.toStdString();
        }
    }
}

TEST(DiscoveryRules, SkippedAddresses) {
    AddressRange cidr24, cidr31, dashed;
    QString e;
    ASSERT_TRUE(ParseAddressRange("192.0.2.0/24", cidr24, e));
    ASSERT_TRUE(ParseAddressRange("192.0.2.4/31", cidr31, e));
    ASSERT_TRUE(ParseAddressRange("10.0.0.200-10.0.1.10", dashed, e));
    struct Case {
        const char* address;
        const AddressRange& range;
        bool skipped;
    } cases[] = {
        {"192.0.2.0", cidr24, true},    {"192.0.2.255", cidr24, true}, {"192.0.2.1", cidr24, false},
        {"192.0.2.254", cidr24, false}, {"192.0.2.4", cidr31, false},  {"192.0.2.5", cidr31, false},
        {"10.0.0.255", dashed, true},   {"10.0.1.0", dashed, true},    {"10.0.1.1", dashed, false},
        {"224.0.0.1", dashed, true},    {"0.1.2.3", dashed, true},     {"127.0.0.2", dashed, false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsSkippedAddress(Ip(c.address), c.range), c.skipped) << c.address;
}

TEST(DiscoveryRules, RecognisedModel) {
    struct Case {
        const char *objectId, *descr, *model;
    } cases[] = {
        {"1.3.6.1.4.1.32473.10.75.1.8", "", "KMS-7300-08E"},
        {"1.3.6.1.4.1.32473.10.75.1.28", "KMS-7300-08E 8-Port", "KMS-7300-28E"},  // the OID decides
        {"1.3.6.1.4.1.8072.3.2.10", "KMS-7300-28E 28-Port Fast Ethernet PoE Managed Switch", "KMS-7300-28E"},
        {"", "KMS-7300-08E", "KMS-7300-08E"},
        {"1.3.6.1.4.1.32473.10.75.1.80", "Linux host KMS-7300-08E", ""},
        {"1.3.6.1.4.1.32473.10.75.1", "kms-7300-08e", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecognisedModel(c.objectId, c.descr).toStdString(), c.model) << c.objectId;
}

TEST(ConsoleCommand, DiscoverOptions) {
    struct Case {
        QStringList args;
        QStringList env;
        const char* error;  // nullptr: accepted
        int sets;
    } cases[] = {
        {{"--discover", "127.0.0.0/29", "--community", "a", "--community", "b", "--v2c"}, {}, nullptr, 2},
        {{"--discover", "127.0.0.0/29"}, {"KMS_COMMUNITY=x"}, nullptr, 1},
        {{"--discover", "127.0.0.0/29", "--user", "u", "--auth", "SHA-256", "--priv", "AES"},
         {"KMS_AUTH_PASSWORD=p1", "KMS_PRIV_PASSWORD=p2"},
         nullptr,
         1},
        {{"--discover", "127.0.0.0/29"}, {}, "--community TEXT", 0},
        {{"--discover", "127.0.0.0/29", "--user", "u", "--level", "2", "--auth", "SHA"},
         {},
         "--auth-pass",
         0},
        {{"--discover", "127.0.0.0/29", "--user", "u", "--level", "3", "--auth", "MD5", "--auth-pass", "p"},
         {},
         "--priv DES or AES",
         0},
        {{"--discover", "127.0.0.0/29", "--user", "u", "--auth", "SHA-999", "--auth-pass", "p"},
         {},
         "--auth MD5",
         0},
        {{"--discover", "127.0.0.0/29", "--community", "a", "--port", "70000"}, {}, "--port takes", 0},
        {{"--discover", "10.0.0.0/8", "--community", "a"}, {}, "65,536", 0},
    };
    for (const Case& c : cases) {
        QCommandLineParser parser;
        AddConsoleOptions(parser);
        ASSERT_TRUE(parser.parse(QStringList{"kms-console"} + c.args)) << parser.errorText().toStdString();
        QProcessEnvironment env;
        for (const QString& e : c.env) env.insert(e.section('=', 0, 0), e.section('=', 1));
        DiscoveryOptions o;
        QString error;
        const bool ok = DiscoverOptionsFrom(parser, env, o, error);
        const std::string what = c.args.join(' ').toStdString();
        ASSERT_EQ(ok, c.error == nullptr) << what << ": " << error.toStdString();
        if (ok) {
            EXPECT_EQ(o.credentials.size(), c.sets) << what;
        } else {
            EXPECT_TRUE(error.contains(c.error)) << what << ": " << error.toStdString();
        }
    }
    // What the environment gives reaches the sets; the protocol names map to the module's codes.
    QCommandLineParser parser;
    AddConsoleOptions(parser);
    ASSERT_TRUE(parser.parse({"kms-console", "--discover", "127.0.0.1", "--user", "u", "--auth", "SHA-256",
                              "--priv", "AES", "--priv-pass", "given"}));
    QProcessEnvironment env;
    env.insert("KMS_AUTH_PASSWORD", "from-env");
    DiscoveryOptions o;
    QString error;
    ASSERT_TRUE(DiscoverOptionsFrom(parser, env, o, error)) << error.toStdString();
    const CredentialSet& v3 = o.credentials.at(0);
    EXPECT_EQ(v3.securityLevel, 3);
    EXPECT_EQ(v3.authProtocol, 5);
    EXPECT_EQ(v3.privProtocol, 4);
    EXPECT_EQ(v3.authPassword, "from-env");
    EXPECT_EQ(v3.privPassword, "given");
}
