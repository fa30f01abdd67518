#pragma once
// How the main window follows its size: extra width goes to the right column
// (player, subtitle strip, information box, AVI details) and to the waveform
// strip, extra height to the subtitle list and the player, and everything
// under them moves down. Nothing moves sideways. At the minimum size every
// value is the design value.
//
// The waveform strip runs across the whole window under the design's
// rectangles, which keep their places above it: the window is taller than
// the design by the strip's height.
//
// All values are in twips. The rule measures the window's outer size; the
// client area is smaller by the border and title bar of the design.

#include <optional>
#include <vector>

namespace korv {

namespace MainWindowSize {
// The waveform strip's band under the design's rectangles.
constexpr int kWaveformTop = 7830;
constexpr int kWaveformHeight = 1800;
constexpr int kMinimumWidth = 12000; // outer, also the design size
constexpr int kMinimumHeight = 8600 + kWaveformHeight;
constexpr int kDesignClientWidth = 11880;
constexpr int kDesignClientHeight = 8085 + kWaveformHeight;
} // namespace MainWindowSize

// The elements the rule moves, by their design names.
enum class LayoutTarget {
    Frame1,
    Listview,
    Cubuk,
    Frame4,
    Frame5,
    Frame3,
    Frame2, // all four tool panels, stacked in one place
    Frame6,
    Frame12,
    MediaPlayer1,
    Picture2,
    LblAltYazi,
    Frame7,
    Frame13,
    Frame14,
    Frame15,
    ListView1,
    ListView1Column3, // third column of the AVI details
    DurumPanel1,      // first panel of the status bar
    Waveform,         // the waveform strip under everything
};

enum class LayoutProperty { Top, Width, Height };

struct LayoutRow {
    LayoutTarget target;
    LayoutProperty property;
    int value;
    bool operator==(const LayoutRow &) const = default;
};

struct MainWindowLayout {
    // False while the window is minimised: nothing changes then.
    bool applies = false;
    // The outer size after the minimum is enforced.
    double width = 0;
    double height = 0;
    int dW = 0;
    int dH = 0;
    // Every element to set, in the order they are set.
    std::vector<LayoutRow> rows;

    std::optional<int> value(LayoutTarget target, LayoutProperty property) const;
};

// The rule for an outer window size in twips.
MainWindowLayout layoutForWindowSize(double width, double height, bool minimised);

// The same for the client area's size in twips, as a toolkit reports it: the
// design's border and title bar are added, so the design client size gives
// the design layout.
MainWindowLayout layoutForClientSize(double clientWidth, double clientHeight, bool minimised);

} // namespace korv
