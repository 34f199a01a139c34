#include <gtest/gtest.h>

#include "console/console_command.h"
#include "console/discovery_rules.h"

TEST(DiscoveryRules, Ranges) {
    // The text; its first and last address, or (starting "!") a part of the refusal.
    const std::pair<const char*, QString> cases[] = {
        {"192.0.2.0/24", "192.0.2.0-192.0.2.255"},  {"192.0.2.77/28", "192.0.2.64-192.0.2.79"},
        {" 10.0.0.0/16 ", "10.0.0.0-10.0.255.255"}, {"192.0.2.10-192.0.2.20", "192.0.2.10-192.0.2.20"},
        {"192.0.2.9", "192.0.2.9-192.0.2.9"},       {"10.0.0.0/15", "!65,536"},
        {"10.0.0.0-10.1.0.0", "!65537 addresses"},  {"192.0.2.20-192.0.2.10", "!begins above its end"},
        {"192.0.2.0/33", "!is not a range"},        {"192.0.2.256", "!is not a range"},
        {"192.0.2/24", "!is not a range"},          {"192.0.2.0/+8", "!is not a range"},
    };
    for (const auto& [text, want] : cases) {
        AddressRange r;
        QString error;
        if (ParseAddressRange(text, r, error))
            EXPECT_EQ((Ipv4Text(r.first) + "-" + Ipv4Text(r.last)).toStdString(), want.toStdString()) << text;
        else
            EXPECT_TRUE(want.startsWith('!') && error.contains(want.mid(1)))
                << text << ": " << error.toStdString();
    }
}

TEST(DiscoveryRules, SkippedAddresses) {
    // The range, an address in it, and whether it is skipped.
    const char *cidr24 = "192.0.2.0/24", *cidr31 = "192.0.2.4/31", *dashed = "10.0.0.200-10.0.1.10";
    const std::tuple<const char*, const char*, bool> cases[] = {
        {cidr24, "192.0.2.0", true},    {cidr24, "192.0.2.255", true}, {cidr24, "192.0.2.1", false},
        {cidr24, "192.0.2.254", false}, {cidr31, "192.0.2.4", false},  {cidr31, "192.0.2.5", false},
        {dashed, "10.0.0.255", true},   {dashed, "10.0.1.0", true},    {dashed, "10.0.1.1", false},
        {dashed, "224.0.0.1", true},    {dashed, "0.1.2.3", true},     {dashed, "127.0.0.2", false},
    };
    for (const auto& [text, address, skipped] : cases) {
        AddressRange range;
        QString error;
        quint32 a = 0;
        ASSERT_TRUE(ParseAddressRange(text, range, error) && ParseIpv4(address, a)) << text << " " << address;
        EXPECT_EQ(IsSkippedAddress(a, range), skipped) << address;
    }
}

TEST(DiscoveryRules, RecognisedModel) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"1.3.6.1.4.1.32473.10.75.1.8", "", "KMS-7300-08E"},
        {"1.3.6.1.4.1.32473.10.75.1.28", "KMS-7300-08E 8-Port", "KMS-7300-28E"},  // the OID decides
        {"1.3.6.1.4.1.8072.3.2.10", "KMS-7300-28E 28-Port Fast Ethernet PoE Managed Switch", "KMS-7300-28E"},
        {"", "KMS-7300-08E", "KMS-7300-08E"},
        {"1.3.6.1.4.1.32473.10.75.1.80", "Linux host KMS-7300-08E", ""},
        {"1.3.6.1.4.1.32473.10.75.1", "kms-7300-08e", ""},
    };
    for (const auto& [objectId, descr, model] : cases)
        EXPECT_EQ(RecognisedModel(objectId, descr).toStdString(), model) << objectId;
}

// `args` of kms-console ('--discover 127.0.0.0/29' unless they name a range); `env` as "NAME=value".
bool Discover(const QString& args, const QStringList& env, DiscoveryOptions& o, QString& error) {
    QCommandLineParser parser;
    AddConsoleOptions(parser);
    EXPECT_TRUE(parser.parse(
        ("kms-console " + (args.contains("--discover") ? args : "--discover 127.0.0.0/29 " + args))
            .split(' ', Qt::SkipEmptyParts)))
        << parser.errorText().toStdString();
    QProcessEnvironment environment;
    for (const QString& e : env) environment.insert(e.section('=', 0, 0), e.section('=', 1));
    return DiscoverOptionsFrom(parser, environment, o, error);
}

TEST(ConsoleCommand, DiscoverOptions) {
    // The arguments and environment; a part of the refusal (nullptr: accepted), or the credential sets.
    const std::tuple<const char*, QStringList, const char*, int> cases[] = {
        {"--community a --community b --v2c", {}, nullptr, 2},
        {"", {"KMS_COMMUNITY=x"}, nullptr, 1},
        {"--user u --auth SHA-256 --priv AES", {"KMS_AUTH_PASSWORD=p1", "KMS_PRIV_PASSWORD=p2"}, nullptr, 1},
        {"", {}, "--community TEXT", 0},
        {"--user u --level 2 --auth SHA", {}, "--auth-pass", 0},
        {"--user u --level 3 --auth MD5 --auth-pass p", {}, "--priv DES or AES", 0},
        {"--user u --auth SHA-999 --auth-pass p", {}, "--auth MD5", 0},
        {"--community a --port 70000", {}, "--port takes", 0},
        {"--discover 10.0.0.0/8 --community a", {}, "65,536", 0},
    };
    for (const auto& [args, env, refusal, sets] : cases) {
        DiscoveryOptions o;
        QString error;
        ASSERT_EQ(Discover(args, env, o, error), refusal == nullptr) << args << ": " << error.toStdString();
        if (refusal)
            EXPECT_TRUE(error.contains(refusal)) << args << ": " << error.toStdString();
        else
            EXPECT_EQ(o.credentials.size(), sets) << args;
    }
    // What the environment gives reaches the sets; the protocol names map to the module's codes.
    DiscoveryOptions o;
    QString error;
    ASSERT_TRUE(Discover("--user u --auth SHA-256 --priv AES --priv-pass given",
                         {"KMS_AUTH_PASSWORD=from-env"}, o, error))
        << error.toStdString();
    const CredentialSet& v3 = o.credentials.at(0);
    EXPECT_EQ(
        std::make_tuple(v3.securityLevel, v3.authProtocol, v3.privProtocol, v3.authPassword, v3.privPassword),
        std::make_tuple(3, 5, 4, QString("from-env"), QString("given")));
}
