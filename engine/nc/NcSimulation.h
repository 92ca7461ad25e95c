// The simulation of an NC program on the NC page: each line is read back into a
// move that starts where the previous one ended, arcs get their centre, radius
// and angles, and the extents of what was drawn are kept. NcStepper holds the
// playback state (the next line, the start point, whether Play is running) and
// hands each drawable move to the caller, which draws it in 2D or 3D. It owns no
// timer: the page calls it from its own.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/nc/NcReader.h"
#include "engine/post/PostSettings.h"

namespace calvoro {

// A line that cannot be simulated (an arc by radius from a point to itself, a
// Z word that is no number). The text names the line for the user.
class NcSimulationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SimPoint {
    float x = 0;
    float y = 0;
    bool operator==(const SimPoint&) const = default;
};

// A circle arc in the plane. Angles are radians in [0, 2 pi); the move runs
// from startAngle to endAngle counter-clockwise for kind 3 and clockwise for
// kind 2. Equal angles mean the whole circle.
struct SimArc {
    double centreX = 0;
    double centreY = 0;
    double radius = 0;
    double startAngle = 0;
    double endAngle = 0;
};

// The centre of an arc given by its centre words. arcCenterMode 1 takes (I, J)
// as the centre itself, 2 as an offset from the start, 3 as an offset towards
// the start; any other mode is read as 1.
SimPoint ArcCentreFromWords(SimPoint start, float i, float j, int arcCenterMode);

// The centre of an arc given by its radius word (kind 2 clockwise, 3
// counter-clockwise). A positive radius gives the arc of at most half a turn, a
// negative one the larger arc; a radius shorter than half the chord puts the
// centre on the chord. Throws NcSimulationError when start and end coincide:
// no centre follows from a radius then.
SimPoint ArcCentreFromRadius(SimPoint start, SimPoint end, float radius, int kind);

// Radius and angles of the arc from start to end around centre.
SimArc ArcThrough(SimPoint centre, SimPoint start, SimPoint end);

// The 51 points (50 equal angle steps) of the arc in its direction, at height z.
struct SimNode {
    float x = 0;
    float y = 0;
    float z = 0;
    std::array<float, 3> colour{1, 1, 1};  // red, green, blue; white is the path's own colour
    bool operator==(const SimNode&) const = default;
};
std::vector<SimNode> ArcNodes(const SimArc& arc, int kind, float z);

// The wait between two lines of Play at speeds 1 to 9, in milliseconds; 0 at
// speed 10 (and above), where lines follow each other without a wait.
int SimulationDelayMs(int speed);

// The smallest rectangle around what was drawn; empty until the first move.
struct SimExtents {
    float minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool empty = true;
    void include(float x, float y);
};

// One move read from the program, ready to draw.
struct SimMove {
    int kind = 0;  // 0 rapid, 1 feed, 2 clockwise, 3 counter-clockwise, 81..86 cycles
    SimPoint start;
    SimPoint end;
    float z = 0;
    float cycleR = 0;
    std::optional<SimArc> arc;  // kinds 2 and 3
    int line = 0;               // index of the line it came from
};

// The nodes the 3D path gains for a move: one for a rapid or a feed, 51 for an
// arc, three for a canned cycle.
std::vector<SimNode> PathNodesOf(const SimMove& move);

class NcStepper {
public:
    explicit NcStepper(const PostSettings& settings);

    // Entering the page: extents and centre words cleared, the modal kind back
    // to rapid, Z back to the feed plane's text. The start point and the next
    // line are kept.
    void resetRun(std::string_view feedPlaneText);

    // Reads line `text` as line lineIndex() and moves on to the next line.
    // Returns the move to draw, or nothing for a line without a coordinate, one
    // that only set the start point, or an arc whose circle reaches beyond the
    // numbers a position can hold (read like a word that is no number: the
    // start point stays). Every position of a move returned is finite. Throws NcSimulationError for a line
    // that cannot be drawn; the line index has moved past it then, so the user
    // can go on from the next line.
    std::optional<SimMove> step(std::string_view text);

    // A new program: its first line with a coordinate only sets the start
    // point, whether stepped or played; the last program's end is no move.
    void forgetStart() { awaitingStart_ = true; }
    bool startKnown() const { return !awaitingStart_; }

    // Play from `line`: the first line with a coordinate only sets the start
    // point. stop() takes effect at the next tick.
    void startPlay(int line);
    // Play on from the line after the last one read, from the point it
    // reached, so that nothing Step or an earlier Play drew is drawn again.
    void continuePlay();
    // The line Step or Play read last; -1 once the next line was set from
    // outside (a click, Rewind, End).
    int lastLineRead() const { return lastLineRead_; }
    void stop() { playing_ = false; }
    bool playing() const { return playing_; }

    // One tick of Play: reads at most maxLines lines (from lineAt, lineCount
    // lines in all) and hands each move to draw. Returns the number of lines
    // read; Play ends by itself after the last line (playing() turns false and
    // finished() true). A throw from a line stops Play.
    int tick(int lineCount, const std::function<std::string_view(int)>& lineAt, int maxLines,
             const std::function<void(const SimMove&)>& draw);
    bool finished() const { return finished_; }

    int lineIndex() const { return lineIndex_; }
    void setLineIndex(int line) {
        lineIndex_ = line < 0 ? 0 : line;
        lastLineRead_ = -1;
    }
    SimPoint start() const { return start_; }
    void setStart(SimPoint point) {
        start_ = point;
        awaitingStart_ = false;
    }
    const SimExtents& extents() const { return extents_; }
    const NcReader& reader() const { return reader_; }

private:
    std::optional<SimMove> read(std::string_view text, bool onlySetStart);

    NcReader reader_;
    PostDialect dialect_;
    int arcCenterMode_;
    IsoMove move_;
    std::string upper_;
    SimPoint start_;
    SimExtents extents_;
    int lineIndex_ = 0;
    int lastLineRead_ = -1;
    bool playing_ = false;
    bool awaitingStart_ = false;
    bool finished_ = false;
};

}  // namespace calvoro
