#include "support/hook_event_model.h"

#include <gtest/gtest.h>

#include "keyboard/key_layout.h"
#include "support/installed_program.h"

namespace testing_support {

namespace {

// Every edge of the layout's rectangles (and its width and height) at 125, 150 and 175 %: the
// 100 % edge times 5/4, 6/4 or 7/4, rounded to the nearest pixel, halves up. Worked out by hand
// and checked with Python's fractions, for example 71 x 5/4 = 88.75 -> 89, 70 x 5/4 = 87.5 -> 88,
// 87 x 7/4 = 152.25 -> 152, 546 x 7/4 = 955.5 -> 956. At 200 % every edge is simply doubled.
struct ScaledEdge {
    int at96;
    int at120;
    int at144;
    int at168;
};
constexpr ScaledEdge kScaledEdges[] = {{0, 0, 0, 0}, {38, 48, 57, 67}, {40, 50, 60, 70}, {48, 60, 72, 84},
    {54, 68, 81, 95}, {59, 74, 89, 103}, {60, 75, 90, 105}, {70, 88, 105, 123}, {71, 89, 107, 124},
    {78, 98, 117, 137}, {80, 100, 120, 140}, {85, 106, 128, 149}, {86, 108, 129, 151}, {87, 109, 131, 152},
    {89, 111, 134, 156}, {90, 113, 135, 158}, {98, 123, 147, 172}, {100, 125, 150, 175}, {108, 135, 162, 189},
    {109, 136, 164, 191}, {110, 138, 165, 193}, {111, 139, 167, 194}, {116, 145, 174, 203},
    {118, 148, 177, 207}, {120, 150, 180, 210}, {125, 156, 188, 219}, {126, 158, 189, 221},
    {128, 160, 192, 224}, {130, 163, 195, 228}, {138, 173, 207, 242}, {140, 175, 210, 245},
    {149, 186, 224, 261}, {151, 189, 227, 264}, {158, 198, 237, 277}, {159, 199, 239, 278},
    {160, 200, 240, 280}, {164, 205, 246, 287}, {165, 206, 248, 289}, {168, 210, 252, 294},
    {170, 213, 255, 298}, {178, 223, 267, 312}, {180, 225, 270, 315}, {189, 236, 284, 331},
    {191, 239, 287, 334}, {198, 248, 297, 347}, {200, 250, 300, 350}, {203, 254, 305, 355},
    {204, 255, 306, 357}, {208, 260, 312, 364}, {210, 263, 315, 368}, {218, 273, 327, 382},
    {219, 274, 329, 383}, {220, 275, 330, 385}, {229, 286, 344, 401}, {231, 289, 347, 404},
    {238, 298, 357, 417}, {240, 300, 360, 420}, {242, 303, 363, 424}, {248, 310, 372, 434},
    {250, 313, 375, 438}, {258, 323, 387, 452}, {260, 325, 390, 455}, {269, 336, 404, 471},
    {271, 339, 407, 474}, {278, 348, 417, 487}, {280, 350, 420, 490}, {288, 360, 432, 504},
    {290, 363, 435, 508}, {298, 373, 447, 522}, {300, 375, 450, 525}, {309, 386, 464, 541},
    {311, 389, 467, 544}, {318, 398, 477, 557}, {319, 399, 479, 558}, {320, 400, 480, 560},
    {328, 410, 492, 574}, {330, 413, 495, 578}, {338, 423, 507, 592}, {340, 425, 510, 595},
    {349, 436, 524, 611}, {351, 439, 527, 614}, {358, 448, 537, 627}, {360, 450, 540, 630},
    {368, 460, 552, 644}, {370, 463, 555, 648}, {378, 473, 567, 662}, {379, 474, 569, 663},
    {380, 475, 570, 665}, {389, 486, 584, 681}, {391, 489, 587, 684}, {398, 498, 597, 697},
    {400, 500, 600, 700}, {408, 510, 612, 714}, {410, 513, 615, 718}, {418, 523, 627, 732},
    {420, 525, 630, 735}, {429, 536, 644, 751}, {430, 538, 645, 753}, {431, 539, 647, 754},
    {438, 548, 657, 767}, {440, 550, 660, 770}, {448, 560, 672, 784}, {450, 563, 675, 788},
    {458, 573, 687, 802}, {460, 575, 690, 805}, {468, 585, 702, 819}, {469, 586, 704, 821},
    {470, 588, 705, 823}, {471, 589, 707, 824}, {478, 598, 717, 837}, {480, 600, 720, 840},
    {488, 610, 732, 854}, {490, 613, 735, 858}, {498, 623, 747, 872}, {500, 625, 750, 875},
    {508, 635, 762, 889}, {509, 636, 764, 891}, {510, 638, 765, 893}, {511, 639, 767, 894},
    {518, 648, 777, 907}, {520, 650, 780, 910}, {528, 660, 792, 924}, {530, 663, 795, 928},
    {538, 673, 807, 942}, {546, 683, 819, 956}, {548, 685, 822, 959}, {549, 686, 824, 961},
    {550, 688, 825, 963}, {558, 698, 837, 977}, {560, 700, 840, 980}, {598, 748, 897, 1047},
    {599, 749, 899, 1048}, {610, 763, 915, 1068}, {648, 810, 972, 1134}, {650, 813, 975, 1138},
    {688, 860, 1032, 1204}, {690, 863, 1035, 1208}, {728, 910, 1092, 1274}, {738, 923, 1107, 1292},
    {776, 970, 1164, 1358}, {778, 973, 1167, 1362}, {816, 1020, 1224, 1428}, {817, 1021, 1226, 1430},
    {818, 1023, 1227, 1432}, {856, 1070, 1284, 1498}, {858, 1073, 1287, 1502}, {896, 1120, 1344, 1568},
    {904, 1130, 1356, 1582}, {940, 1175, 1410, 1645}, {943, 1179, 1415, 1650}, {956, 1195, 1434, 1673},
    {959, 1199, 1439, 1678}, {995, 1244, 1493, 1741}, {1000, 1250, 1500, 1750}};

LONG scaledEdge(LONG edge, UINT dpi)
{
    if (dpi == 96 || dpi == 192)
        return edge * static_cast<LONG>(dpi / 96);
    for (const ScaledEdge& known : kScaledEdges) {
        if (known.at96 == edge && (dpi == 120 || dpi == 144 || dpi == 168))
            return dpi == 120 ? known.at120 : dpi == 144 ? known.at144 : known.at168;
    }
    ADD_FAILURE() << "no scaled edge for " << edge << " at " << dpi << " dpi";
    return -1;
}

} // namespace

RECT scaledRect(const RECT& rect, UINT dpi)
{
    return {scaledEdge(rect.left, dpi), scaledEdge(rect.top, dpi), scaledEdge(rect.right, dpi),
        scaledEdge(rect.bottom, dpi)};
}

std::vector<RECT> HeldState::lit(UINT dpi) const
{
    std::vector<RECT> rects;
    for (unsigned code = 0; code < keys.size(); ++code)
        if (keys[code] && isDrawable(keyRect(code)))
            rects.push_back(scaledRect(toRect(keyRect(code)), dpi));
    for (unsigned slot = 0; slot < pointers.size(); ++slot)
        if (pointers[slot])
            rects.push_back(scaledRect(toRect(pointerRect(slot)), dpi));
    return rects;
}

void apply(HeldState& held, WPARAM device, LPARAM lParam)
{
    const auto bits = static_cast<std::uint32_t>(lParam);
    const unsigned code = bits & 0xFFFF;
    const unsigned char pressed = (bits >> 16) != 0;
    if (device == 0 && code < held.keys.size()) {
        held.keys[code] = pressed;
        if (code == 0xF3)
            held.keys[0xF2] = 0;
    } else if (device == 1 && code < held.pointers.size()) {
        held.pointers[code] = pressed;
        if (pressed && code == 3)
            held.pointers[4] = 0;
        if (pressed && code == 4)
            held.pointers[3] = 0;
    }
}

WPARAM EventSource::device()
{
    const unsigned pick = random() % 10;
    return pick < 5 ? 0 : pick < 9 ? 1 : static_cast<WPARAM>(random());
}

LPARAM EventSource::lParam(WPARAM device)
{
    const std::uint64_t noise = random();
    unsigned code = static_cast<unsigned>(noise & 0xFFFF);
    if (random() % 4 != 0)
        code = device == 1 ? code % 8 : code % 256;
    // Both Ctrl keys held together would pause, and a flood would end dimmed half the time: the
    // right one comes as the left, and the pause has rows of its own.
    if (device == 0 && code == 0xA3)
        code = 0xA2;
    const unsigned transition = random() % 2 ? static_cast<unsigned>(noise >> 16) & 0xFFFF : 0;
    return static_cast<LPARAM>((noise & 0xFFFFFFFF00000000ull) | (transition << 16) | code);
}

bool postWhenTaken(HWND window, WPARAM device, LPARAM lParam)
{
    const ULONGLONG end = GetTickCount64() + kProgramWait;
    while (!PostMessageA(window, kHookEventMessage, device, lParam)) {
        if (GetLastError() != ERROR_NOT_ENOUGH_QUOTA || GetTickCount64() >= end)
            return false;
        Sleep(1);
    }
    return true;
}

} // namespace testing_support
