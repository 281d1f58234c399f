#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "keyboard/key_layout.h"

namespace {

auto place(const KeyRect& r) { return std::tuple(r.x, r.y, r.width, r.height); }

bool overlaps(const KeyRect& a, const KeyRect& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool insidePicture(const KeyRect& r)
{
    return r.x >= 0 && r.y >= 0 && r.x + r.width <= kLayoutWidth && r.y + r.height <= kLayoutHeight;
}

TEST(KeyLayout, UnpicturedCodesAreEmptyAndNotDrawn)
{
    for (unsigned code : {0x00u, 0x01u, 0x02u, 0x04u, 0x0Cu, 0x10u, 0x11u, 0x12u, 0x15u, 0x19u, 0x6Cu, 0xC1u,
             0xF1u, 0xF3u, 0xFFu})
        EXPECT_FALSE(isDrawable(keyRect(code))) << std::hex << code;
    EXPECT_FALSE(isDrawable(keyRect(256)));
    EXPECT_FALSE(isDrawable(pointerRect(5)));
}

// 109 keys in 108 places (the two CapsLk codes share one), every one inside the 1000 x 242
// picture, and of all keys and mouse parts only Enter and ] overlap.
TEST(KeyLayout, KeysAndMousePartsFitThePictureAndOnlyEnterOverlapsCloseBracket)
{
    EXPECT_EQ(place(keyRect(0x14)), place(keyRect(0xF0)));
    int drawable = 0;
    std::vector<std::pair<unsigned, KeyRect>> places;
    std::set<std::tuple<int, int, int, int>> seen;
    for (unsigned code = 0; code < 256; ++code) {
        const KeyRect r = keyRect(code);
        if (!isDrawable(r)) {
            EXPECT_EQ(place(r), std::tuple(0, 0, 0, 0)) << std::hex << code;
            continue;
        }
        ++drawable;
        EXPECT_TRUE(insidePicture(r)) << std::hex << code;
        if (seen.insert(place(r)).second)
            places.push_back({code, r});
    }
    EXPECT_EQ(drawable, 109);
    EXPECT_EQ(places.size(), 108u);
    for (unsigned slot = 0; slot < 5; ++slot) {
        EXPECT_TRUE(insidePicture(pointerRect(slot))) << slot;
        places.push_back({0x100 + slot, pointerRect(slot)});
    }

    std::vector<std::pair<unsigned, unsigned>> overlapping;
    for (size_t i = 0; i < places.size(); ++i)
        for (size_t j = i + 1; j < places.size(); ++j)
            if (overlaps(places[i].second, places[j].second))
                overlapping.push_back({places[i].first, places[j].first});
    EXPECT_EQ(overlapping, (std::vector<std::pair<unsigned, unsigned>>{{0x0D, 0xDD}}));
}

TEST(KeyLayout, MouseButtonsTouchAndTheWheelArrowsStack)
{
    // Left, middle and right buttons without a gap; the up arrow right above the down arrow.
    EXPECT_EQ(pointerRect(0).x + pointerRect(0).width, pointerRect(2).x);
    EXPECT_EQ(pointerRect(2).x + pointerRect(2).width, pointerRect(1).x);
    const KeyRect up = pointerRect(3);
    const KeyRect down = pointerRect(4);
    EXPECT_EQ(std::tuple(up.x, up.width, up.y + up.height), std::tuple(down.x, down.width, down.y));
}

} // namespace
