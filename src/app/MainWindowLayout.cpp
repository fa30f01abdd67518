#include "app/MainWindowLayout.h"

#include "document/TimeText.h"

#include <algorithm>

namespace korv {

using namespace MainWindowSize;

std::optional<int> MainWindowLayout::value(LayoutTarget target, LayoutProperty property) const
{
    for (const LayoutRow &row : rows) {
        if (row.target == target && row.property == property)
            return row.value;
    }
    return std::nullopt;
}

MainWindowLayout layoutForWindowSize(double width, double height, bool minimised)
{
    MainWindowLayout layout;
    if (minimised)
        return layout;
    layout.applies = true;
    layout.height = std::max(height, double(kMinimumHeight));
    layout.width = std::max(width, double(kMinimumWidth));
    const int dH = int(RoundHalfEven(layout.height - kMinimumHeight));
    const int dW = int(RoundHalfEven(layout.width - kMinimumWidth));
    layout.dH = dH;
    layout.dW = dW;

    using T = LayoutTarget;
    using P = LayoutProperty;
    layout.rows = {
        {T::Frame1, P::Height, 4965 + dH},
        {T::Listview, P::Height, 4425 + dH},
        {T::Cubuk, P::Top, 4620 + dH},
        {T::Frame4, P::Top, 4725 + dH},
        {T::Frame5, P::Top, 4725 + dH},
        {T::Frame3, P::Top, 5190 + dH},
        {T::Frame2, P::Top, 5580 + dH},
        {T::Frame6, P::Top, 6930 + dH},
        {T::Frame12, P::Height, 4905 + dH},
        {T::Frame12, P::Width, 5400 + dW},
        {T::MediaPlayer1, P::Height, 4725 + dH},
        {T::MediaPlayer1, P::Width, 5295 + dW},
        {T::Picture2, P::Top, 3390 + dH},
        {T::Picture2, P::Width, 5295 + dW},
        {T::LblAltYazi, P::Width, 5190 + dW},
        {T::Frame7, P::Top, 4725 + dH},
        {T::Frame13, P::Top, 4725 + dH},
        {T::Frame13, P::Width, 3000 + dW},
        {T::Frame14, P::Top, 5580 + dH},
        {T::Frame15, P::Top, 6015 + dH},
        {T::ListView1, P::Width, 5265 + dW},
        {T::ListView1Column3, P::Width, 2300 + dW},
        {T::Frame15, P::Width, 5385 + dW},
        {T::Waveform, P::Top, kWaveformTop + dH},
        {T::Waveform, P::Width, kDesignClientWidth - 30 + dW},
        {T::DurumPanel1, P::Width, kMinimumWidth + dW},
    };
    return layout;
}

MainWindowLayout layoutForClientSize(double clientWidth, double clientHeight, bool minimised)
{
    return layoutForWindowSize(clientWidth + (kMinimumWidth - kDesignClientWidth),
                               clientHeight + (kMinimumHeight - kDesignClientHeight), minimised);
}

} // namespace korv
