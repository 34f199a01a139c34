#include "sim/record/scrub.h"

#include <algorithm>
#include <map>
#include <set>

#include "sim/schema.h"

namespace kmssim {

namespace {

const char* const kRadiusKey = "1.3.6.1.4.1.32473.10.75.13.11.1.2.0";
const char* const kUserEntry = "1.3.6.1.4.1.32473.10.75.13.25.2.1.1";       // 5 auth, 7 priv password
const char* const kCommunityEntry = "1.3.6.1.4.1.32473.10.75.13.25.5.1.1";  // index: the name
const char* const kHostEntry = "1.3.6.1.4.1.32473.10.75.13.25.6.1.1";       // 2 community, 3 version

// "." + length + "." + each byte, as the agent tables index their names.
bool DecodeNameIndex(const Oid& index, std::string* name) {
    if (index.empty() || index[0] + 1 != index.size()) return false;
    name->clear();
    for (size_t i = 1; i < index.size(); ++i) {
        if (index[i] > 255) return false;
        name->push_back(static_cast<char>(index[i]));
    }
    return true;
}

Oid NameIndexArcs(const std::string& name) {
    Oid arcs{static_cast<uint32_t>(name.size())};
    for (unsigned char c : name) arcs.push_back(c);
    return arcs;
}

// Short secrets would match half the texts of a switch: those count only when a text is exactly one.
bool Holds(const std::string& text, const std::string& secret) {
    if (secret.empty()) return false;
    return secret.size() < 4 ? text == secret : text.find(secret) != std::string::npos;
}

bool ArcsHold(const Oid& oid, const std::string& secret) {
    if (secret.size() < 4) return false;
    Oid bytes(secret.begin(), secret.end());
    for (uint32_t& b : bytes) b &= 0xff;
    return std::search(oid.begin(), oid.end(), bytes.begin(), bytes.end()) != oid.end();
}

}  // namespace

int ScrubCredentials(Store& s, const std::vector<std::string>& secrets) {
    int replaced = 0;
    std::set<Oid> placed;  // placeholders: not looked at again
    auto replace = [&](const Oid& oid, const std::string& text) {
        s[oid] = Value::Str(text);
        placed.insert(oid);
        ++replaced;
    };

    auto key = s.find(O(kRadiusKey));
    if (key != s.end() && !key->second.bytes.empty()) replace(key->first, kRemovedSecret);
    for (uint32_t column : {5u, 7u}) {
        const Oid prefix = Concat(O(kUserEntry), {column});
        std::vector<Oid> passwords;
        for (auto it = s.lower_bound(prefix); it != s.end() && StartsWith(it->first, prefix); ++it)
            if (!it->second.bytes.empty()) passwords.push_back(it->first);
        for (const Oid& o : passwords) replace(o, kRemovedSecret);
    }

    std::map<std::string, std::string> communities;
    auto placeholder = [&communities](const std::string& name) {
        auto [it, fresh] = communities.emplace(name, std::string());
        if (fresh) it->second = "community" + std::to_string(communities.size());
        return it->second;
    };
    const Oid community = O(kCommunityEntry);
    Store renamed;
    for (auto it = s.lower_bound(community); it != s.end() && StartsWith(it->first, community);) {
        std::string name;
        if (it->first.size() > community.size() &&
            DecodeNameIndex(Sub(it->first, community.size() + 1), &name)) {
            const uint32_t column = it->first[community.size()];
            const std::string alias = placeholder(name);
            Oid oid = Concat(Concat(community, {column}), NameIndexArcs(alias));
            renamed[oid] = column == 1 ? Value::Str(alias) : it->second;
            if (column == 1) ++replaced;
            placed.insert(oid);
        } else {
            ++replaced;  // a row whose name cannot be told is left out rather than kept
        }
        it = s.erase(it);
    }
    s.insert(renamed.begin(), renamed.end());

    const Oid hostName = Concat(O(kHostEntry), {2});
    std::vector<std::pair<Oid, std::string>> hosts;
    for (auto it = s.lower_bound(hostName); it != s.end() && StartsWith(it->first, hostName); ++it) {
        auto version = s.find(Concat(Concat(O(kHostEntry), {3}), Sub(it->first, hostName.size())));
        // SNMPv3 hosts name a user; without a version the text may be a community after all.
        if (version == s.end() || version->second.num == 1 || version->second.num == 2)
            hosts.emplace_back(it->first, it->second.bytes);
    }
    for (const auto& [oid, name] : hosts) replace(oid, placeholder(name));

    for (auto it = s.begin(); it != s.end();) {
        if (placed.count(it->first)) {
            ++it;
            continue;
        }
        auto in = [&](auto holds) { return std::any_of(secrets.begin(), secrets.end(), holds); };
        if (in([&](const std::string& x) { return ArcsHold(it->first, x); })) {
            it = s.erase(it);
            ++replaced;
            continue;
        }
        if (it->second.type == Type::Octets &&
            in([&](const std::string& x) { return Holds(it->second.bytes, x); })) {
            it->second = Value::Str(kRemovedSecret);
            ++replaced;
        }
        ++it;
    }
    return replaced;
}

}  // namespace kmssim
