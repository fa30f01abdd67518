#pragma once
// The limits a commissioning client holds subtitles to: how fast a viewer
// must read, how long a line and a subtitle may be, how close two subtitles
// may come. A plain value: the checks read it, the options window edits it,
// the settings store keeps it. A limit of 0 turns its rule off.

namespace korv {

struct ReadingProfile {
    // Characters a second, counting what the viewer sees.
    double maxCps = 17;
    int maxLineLength = 42;
    int maxLines = 2;
    // Seconds on screen.
    double minDuration = 0.833;
    double maxDuration = 7;
    // Gap to the next subtitle: in frames when the film's or the document's
    // frame rate is known, in milliseconds otherwise.
    int minGapFrames = 2;
    int minGapMs = 80;

    bool operator==(const ReadingProfile &) const = default;
};

} // namespace korv
