// Reads NC program lines back into moves for the simulation: the move kind,
// the end point, arc centre and radius words, a canned cycle's R value and the
// Z word as written. It knows the dialects of the post-processor definitions:
// ISO and CSH G-code, the HEI conversational form, and for XIL and SBO only the
// plain axis words. The reader also holds the simulation's reading state.
#pragma once

#include <string>
#include <string_view>

#include "engine/post/PostSettings.h"

namespace calvoro {

// The kinds a line can set: 0 rapid, 1 linear feed, 2 clockwise arc,
// 3 counter-clockwise arc, 81 to 86 the canned cycles G81 to G86.
struct IsoMove {
    int kind = 0;
    float x = 0;
    float y = 0;
    float i = 0;  // arc centre words
    float j = 0;
    float r = 0;  // arc radius word
    float cycleR = 0;
};

class NcReader {
public:
    // Takes the dialect, the comment opener and the rapid text of the definition.
    explicit NcReader(const PostSettings& settings);

    // Before a simulation run: extents and centre cleared, the Z text set to the
    // feed plane's text, and the modal kind back to rapid, so that one run never
    // reads its first lines in the mode the previous run ended in.
    void ResetIsoRun(std::string_view feedPlaneText);

    // Reads one line into move; the members of move whose word is not on the
    // line keep their values (R aside, see the dialects). True when a
    // coordinate word (X, Y or Z) was read.
    bool ParseIsoLine(std::string_view line, IsoMove& move);

    // The reading state; the NC page reads and writes it.
    int isoModalKind = 0;  // the last move kind read
    float isoCurX = 0;
    float isoCurY = 0;
    float isoCentreI = 0;
    float isoCentreJ = 0;
    std::string isoZText;  // the last Z word's number as written
    float isoMinX = 9999;
    float isoMaxX = -9999;
    float isoMinY = 9999;
    float isoMaxY = -9999;
    int isoLineIndex = 0;

private:
    PostDialect dialect_;
    std::string commentOpener_;
    std::string rapidText_;
    std::string line_;    // the working copy; words are deleted as they are read
    std::string number_;  // the characters of the number being read
};

}  // namespace calvoro
