#include "services/pure/extension_merge.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace taliveer {
namespace {

int Caseless(std::wstring_view a, std::wstring_view b) {
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const auto x = std::towupper(a[i]), y = std::towupper(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// The machine's names as a registry would list them, counting how many were read.
struct Listing {
    std::vector<std::wstring> names;
    size_t read = 0;
    ExtensionMerge::NextName Reader() {
        return [this]() -> std::optional<std::wstring> {
            if (read == names.size()) return std::nullopt;
            return names[read++];
        };
    }
};

std::vector<std::wstring> All(ExtensionMerge& merge) {
    std::vector<std::wstring> out;
    while (auto next = merge.Next()) out.push_back(*next);
    return out;
}

TEST(ExtensionMerge, MergesInOrderOnceInTheUsersSpellingReadingOnlyAsFarAsNeeded) {
    Listing machine{{L"*", L".b", L".C", L".d", L"AFile", L"zzz"}};
    ExtensionMerge merge({L".A", L".c"}, machine.Reader(), &Caseless);
    EXPECT_EQ(merge.Next(), L".A");
    EXPECT_EQ(machine.read, 2u) << "the first extension needs the machine's names only up to its first";
    EXPECT_EQ(merge.Next(), L".b");
    EXPECT_EQ(merge.Next(), L".c");  // ".C" too: once, as the user spells it
    EXPECT_EQ(merge.Next(), L".d");
    EXPECT_EQ(merge.Next(), std::nullopt);
    EXPECT_EQ(machine.read, 5u) << "the names after the extensions wait for FinishInOrder";
    EXPECT_TRUE(merge.FinishInOrder());
    EXPECT_EQ(machine.read, 6u);
}

TEST(ExtensionMerge, OnlyOneHiveWithExtensions) {
    Listing none{{L"AFile"}};
    ExtensionMerge userOnly({L".a", L".b"}, none.Reader(), &Caseless);
    EXPECT_EQ(All(userOnly), (std::vector<std::wstring>{L".a", L".b"}));
    EXPECT_TRUE(userOnly.FinishInOrder());
    Listing machine{{L".a", L".b"}};
    ExtensionMerge machineOnly({}, machine.Reader(), &Caseless);
    EXPECT_EQ(All(machineOnly), (std::vector<std::wstring>{L".a", L".b"}));
    EXPECT_TRUE(machineOnly.FinishInOrder());
}

TEST(ExtensionMerge, ARegistryOutOfOrderIsToldSoThatTheCallerSorts) {
    // An extension listed after the names that follow the extensions.
    Listing late{{L".b", L"x", L".a"}};
    ExtensionMerge lateMerge({}, late.Reader(), &Caseless);
    EXPECT_EQ(All(lateMerge), std::vector<std::wstring>{L".b"});
    EXPECT_FALSE(lateMerge.FinishInOrder());
    // Two extensions the wrong way round: nothing more is given once it shows.
    Listing swapped{{L".b", L".a", L".c"}};
    ExtensionMerge swappedMerge({L".aa"}, swapped.Reader(), &Caseless);
    EXPECT_EQ(All(swappedMerge), (std::vector<std::wstring>{L".aa", L".b"}));
    EXPECT_FALSE(swappedMerge.FinishInOrder());
}

}  // namespace
}  // namespace taliveer
