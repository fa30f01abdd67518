#pragma once
// The waveform strip under the film: the open film's sound, each subtitle as
// a box with its row number over its time span (the selected one
// highlighted), the play position, a time ruler, the speech found in the
// sound as a band under the waveform and the captures moved onto the voice
// as small marks. The wheel scrolls it, Ctrl+wheel and + / - zoom it from
// the whole film down to a second across, a click moves the film there, and
// dragging a box's edge or the box itself changes the row's times (one undo
// step each). It reads the document through the workspace and the sound
// through FilmSound; what it changes goes through the commands.

#include "editing/BoxDrag.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cmath>
#include <future>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace korv {

namespace sound {
struct PeakColumn;
}
class FilmPlayer;
class FilmSound;
class StripGlyphs;
class Workspace;

class WaveformStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr double kShortestSpan = 1.0; // seconds across, zoomed in fully
    static constexpr double kFirstSpan = 20.0;   // seconds across when a film opens
    static constexpr int kRulerHeight = 15;      // pixels
    static constexpr int kSpeechBandHeight = 6;
    static constexpr int kEdgeGrip = 4; // pixels either side of a box's edge that take it

    WaveformStrip(Workspace &ws, FilmSound &sound, FilmPlayer &player, QWidget *parent = nullptr);
    ~WaveformStrip() override;

    // The time span shown, in seconds.
    double viewStart() const { return from_; }
    double viewSpan() const { return span_; }
    // Shows `span` seconds from `start`, within the film and the zoom's limits.
    void setView(double start, double span);
    // Zooms by `factor` (above 1 zooms out) keeping the time under `x` in place.
    void zoom(double factor, int x);
    // The film's length as the strip knows it (the media library's, else
    // the sound's, else the last subtitle's end), at least a second.
    double filmLength() const;

    // The strip's x for a time, and the time at an x.
    double xOf(double seconds) const;
    double timeAt(double x) const;
    // The area the waveform and boxes are drawn in.
    QRect waveRect() const;
    // The play position the line is drawn at (moving on between the
    // player's reports while it plays).
    double shownPosition() const;

    // The texts a screen reader reads, in the language in use.
    void applyTexts();

    // Painting without showing (benchmarks): the whole strip into `target`.
    void render(QPainter &painter);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // A row without a box (its times do not read) has NaN for both: 16
    // bytes a row, 100,000 rows or not.
    struct Span {
        double start = std::numeric_limits<double>::quiet_NaN();
        double end = std::numeric_limits<double>::quiet_NaN();
        bool valid() const { return !std::isnan(start); }
    };
    struct Hit {
        int row = -1;
        DragPart part = DragPart::Whole;
    };
    struct Drag {
        int row = -1;
        DragPart part = DragPart::Whole;
        int pressX = 0;
        int x = 0; // where the pointer is now
        bool moved = false; // past the few pixels that still make a click
    };

    void rereadRows(int first, int last);
    void rereadAllRows();
    void invalidate();
    void paintStatic(QPainter &p);
    void paintRuler(QPainter &p);
    void paintWave(QPainter &p, const QRect &area);
    // The boxes' fills (under the waveform) or their edges and numbers.
    void paintBoxes(QPainter &p, const QRect &area, bool fills);
    void paintSpeech(QPainter &p, const QRect &band);
    void paintPosition(QPainter &p);
    // The characters' images once the worker has made them; null before.
    const StripGlyphs *glyphs();
    std::optional<Hit> hitAt(int x) const;
    void tick();
    void followPlayback(double position);

    Workspace &ws_;
    FilmSound &sound_;
    FilmPlayer &player_;

    double from_ = 0;
    double span_ = kFirstSpan;

    std::vector<Span> rows_;
    std::vector<sound::PeakColumn> columns_;
    // Made on a worker from the start; until then the strip goes without
    // its labels (a few tens of milliseconds) and is painted again after.
    std::future<std::shared_ptr<const StripGlyphs>> glyphsMaking_;
    std::shared_ptr<const StripGlyphs> glyphs_;
    // Everything but the play position, drawn once per change.
    QPixmap static_;
    bool staticValid_ = false;

    std::optional<Drag> drag_;
    // The play position: the player's last report and when it came.
    QTimer frameTimer_;
    double reported_ = -1;
    QElapsedTimer reportedAt_;
    int lineX_ = -1;
    bool wasPlaying_ = false;
};

} // namespace korv
