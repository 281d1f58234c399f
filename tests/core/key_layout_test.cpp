#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "display/key_layout.h"

namespace {

bool overlaps(const KeyRect& a, const KeyRect& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool insidePicture(const KeyRect& r)
{
    return r.x >= 0 && r.y >= 0 && r.x + r.width <= kLayoutWidth && r.y + r.height <= kLayoutHeight;
}

} // namespace

TEST(KeyLayout, KnownKeysHaveTheirRectangles)
{
    const KeyRect a = keyRect(0x41);
    EXPECT_EQ(std::tie(a.x, a.y, a.width, a.height), std::make_tuple(71, 126, 38, 38));
    const KeyRect enter = keyRect(0x0D);
    EXPECT_EQ(std::tie(enter.x, enter.y, enter.width, enter.height), std::make_tuple(546, 87, 53, 77));
    const KeyRect add = keyRect(0x6B);
    EXPECT_EQ(std::tie(add.x, add.y, add.width, add.height), std::make_tuple(858, 87, 38, 77));
    const KeyRect zero = keyRect(0x60);
    EXPECT_EQ(std::tie(zero.x, zero.y, zero.width, zero.height), std::make_tuple(738, 204, 79, 38));
    const KeyRect leftShift = keyRect(0xA0);
    EXPECT_EQ(std::tie(leftShift.x, leftShift.y, leftShift.width), std::make_tuple(0, 165, 89));
}

TEST(KeyLayout, CapsLockCodesShareOneKey)
{
    const KeyRect caps = keyRect(0x14);
    const KeyRect attn = keyRect(0xF0);
    EXPECT_EQ(
        std::tie(caps.x, caps.y, caps.width, caps.height), std::tie(attn.x, attn.y, attn.width, attn.height));
    EXPECT_EQ(caps.width, 70);
}

TEST(KeyLayout, UnpicturedCodesAreEmptyAndNotDrawn)
{
    for (unsigned code : {0x00u, 0x01u, 0x02u, 0x04u, 0x0Cu, 0x10u, 0x11u, 0x12u, 0x15u, 0x19u, 0x6Cu, 0xC1u,
             0xF1u, 0xF3u, 0xFFu}) {
        const KeyRect r = keyRect(code);
        EXPECT_FALSE(isDrawable(r)) << std::hex << code;
        EXPECT_EQ(std::tie(r.x, r.y, r.width, r.height), std::make_tuple(0, 0, 0, 0)) << std::hex << code;
    }
    EXPECT_FALSE(isDrawable(keyRect(256)));
    EXPECT_FALSE(isDrawable(pointerRect(5)));
}

TEST(KeyLayout, TableHas109KeysIn108PlacesAllInsideThePicture)
{
    int drawable = 0;
    std::set<std::tuple<int, int, int, int>> places;
    for (unsigned code = 0; code < 256; ++code) {
        const KeyRect r = keyRect(code);
        if (!isDrawable(r)) {
            EXPECT_EQ(std::tie(r.x, r.y, r.width, r.height), std::make_tuple(0, 0, 0, 0)) << code;
            continue;
        }
        ++drawable;
        places.insert({r.x, r.y, r.width, r.height});
        EXPECT_TRUE(insidePicture(r)) << std::hex << code;
    }
    EXPECT_EQ(drawable, 109);
    EXPECT_EQ(places.size(), 108u);
}

TEST(KeyLayout, PointerSlotsSitSideBySideInsideTheMouse)
{
    const KeyRect up = pointerRect(3);
    EXPECT_EQ(std::tie(up.x, up.y, up.width, up.height), std::make_tuple(940, 54, 19, 31));
    const KeyRect down = pointerRect(4);
    EXPECT_EQ(std::tie(down.x, down.y, down.width, down.height), std::make_tuple(940, 85, 19, 31));
    // Left, middle and right buttons touch without a gap.
    EXPECT_EQ(pointerRect(0).x + pointerRect(0).width, pointerRect(2).x);
    EXPECT_EQ(pointerRect(2).x + pointerRect(2).width, pointerRect(1).x);
    EXPECT_EQ(pointerRect(1).x + pointerRect(1).width - 1, 994);
    for (unsigned slot = 0; slot < 5; ++slot)
        EXPECT_TRUE(insidePicture(pointerRect(slot))) << slot;
}

TEST(KeyLayout, OnlyEnterAndCloseBracketOverlap)
{
    struct Placed {
        const char* table;
        unsigned index;
        KeyRect rect;
    };
    std::vector<Placed> all;
    std::set<std::tuple<int, int, int, int>> seenPlaces;
    for (unsigned code = 0; code < 256; ++code) {
        const KeyRect r = keyRect(code);
        // The two CapsLk codes are one key, not an overlap.
        if (isDrawable(r) && seenPlaces.insert({r.x, r.y, r.width, r.height}).second)
            all.push_back({"key", code, r});
    }
    for (unsigned slot = 0; slot < 5; ++slot)
        all.push_back({"pointer", slot, pointerRect(slot)});

    std::vector<std::pair<unsigned, unsigned>> overlapping;
    for (size_t i = 0; i < all.size(); ++i)
        for (size_t j = i + 1; j < all.size(); ++j)
            if (overlaps(all[i].rect, all[j].rect))
                overlapping.push_back({all[i].index, all[j].index});
    ASSERT_EQ(overlapping.size(), 1u);
    EXPECT_EQ(overlapping[0], std::make_pair(0x0Du, 0xDDu));
}
