#pragma once

#include <QSize>

#include <array>

namespace pellwerk {

// The parts window's resize rule: where its ten kind lists and the user list go for an outer
// (frame included) window size in twips. The lists form two columns of five rows; everything
// else in the window keeps its designed place.
//
// - Below the minimum outer size (5925 x 5635 twips) the window is to be grown to it.
// - Each column widens by a 32nd of the extra width in twips, counted in pixels, and the right
//   column moves right by as much (fractions are rounded to whole pixels here).
// - Height grows in steps of 105 twips counted from 5600 twips (not from the minimum): each row
//   gets 2 pixels taller per step and the user list 6; a half step rounds to the even neighbour.
struct PartsLayout
{
    static constexpr int MinimumWidthTwips = 5925;
    static constexpr int MinimumHeightTwips = 5635;
    static constexpr int HeightStepsFromTwips = 5600;
    static constexpr int HeightStepTwips = 105;
    static constexpr int WidthShare = 32;

    static constexpr int LeftColumnLeft = 168;
    static constexpr int RightColumnLeft = 280;
    static constexpr int ListWidth = 105;
    static constexpr int ListHeight = 45;
    static constexpr int FirstRowTop = 8;
    static constexpr int RowPitch = 48; // list height plus the gap of 3
    static constexpr int UserListHeight = 45;

    bool growWidth = false;  // the window is narrower than the minimum
    bool growHeight = false; // the window is lower than the minimum
    int listWidth = ListWidth;
    int rightColumnLeft = RightColumnLeft;
    int rowHeight = ListHeight;
    std::array<int, 5> rowTops{}; // row 0: foot and face; 1: right arm and pants; 2: left arm and shirt;
                                  // 3: tattoo and glasses; 4: chain and beard
    int userListHeight = UserListHeight;

    static PartsLayout forOuterSize(int widthTwips, int heightTwips);
    // The minimum outer size in whole pixels (395 x 376).
    static QSize minimumOuterPixels();
};

} // namespace pellwerk
