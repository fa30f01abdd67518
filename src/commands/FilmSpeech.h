#pragma once
// What the open film's sound says of speech, for the commands that lay
// times on the voice and for the strip that draws it: the spans found and
// their edges (empty until the sound is analysed, and for a film without
// speech), and the captures last moved onto an edge, for the strip to mark
// where each came from.

#include "sound/SpeechDetector.h"
#include "sound/SpeechSnap.h"

#include <QObject>

#include <vector>

namespace korv {

class FilmSpeech : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    struct SnapMark {
        double from = 0; // the time pressed
        double to = 0;   // the edge it was moved to
    };

    // True once the open film's sound has been searched for speech.
    bool known() const { return known_; }
    const std::vector<sound::SpeechSpan> &spans() const { return spans_; }
    const sound::SpeechEdges &edges() const { return edges_; }
    const std::vector<SnapMark> &marks() const { return marks_; }

    // The speech of a newly analysed film; the marks of the last one go.
    void setSpans(std::vector<sound::SpeechSpan> spans)
    {
        spans_ = std::move(spans);
        edges_ = sound::SpeechEdges::of(spans_);
        known_ = true;
        marks_.clear();
        emit changed();
    }
    // No film, another film being analysed, or a sound that could not be.
    void clear()
    {
        spans_.clear();
        edges_ = {};
        known_ = false;
        marks_.clear();
        emit changed();
    }
    void addMark(SnapMark mark)
    {
        marks_.push_back(mark);
        emit marksChanged();
    }
    void clearMarks()
    {
        marks_.clear();
        emit marksChanged();
    }

signals:
    void changed();
    void marksChanged();

private:
    bool known_ = false;
    std::vector<sound::SpeechSpan> spans_;
    sound::SpeechEdges edges_;
    std::vector<SnapMark> marks_;
};

} // namespace korv
