#include "PartsLayout.h"

#include "Twips.h"

namespace pellwerk {

PartsLayout PartsLayout::forOuterSize(int W, int H)
{
    PartsLayout layout;
    layout.growWidth = W < MinimumWidthTwips;
    layout.growHeight = H < MinimumHeightTwips;
    const double dW = W > MinimumWidthTwips ? double(W - MinimumWidthTwips) / WidthShare : 0.0;
    const int dH =
        H > HeightStepsFromTwips ? int(std::nearbyint(double(H - HeightStepsFromTwips) / HeightStepTwips)) : 0;
    layout.listWidth = int(std::lround(ListWidth + dW));
    layout.rightColumnLeft = int(std::lround(RightColumnLeft + dW));
    layout.rowHeight = ListHeight + 2 * dH;
    for (int k = 0; k < 5; ++k)
        layout.rowTops[size_t(k)] = FirstRowTop + k * RowPitch + 2 * k * dH;
    layout.userListHeight = UserListHeight + 6 * dH;
    return layout;
}

QSize PartsLayout::minimumOuterPixels()
{
    return {twipsToPixels(MinimumWidthTwips), twipsToPixels(MinimumHeightTwips)};
}

} // namespace pellwerk
