// How the NC program is spelled for one machine control: block numbers, word
// prefixes and number formats, modal suppression, the dialect of the move lines
// and the text blocks of the program head and tail. A definition file (.pst,
// read by PostLoader) fills it; the word writers (NcWordWriter) and the program
// reader (NcReader) use it.
//
// The member initialisers are the values in force before any definition is
// read. A definition that lacks a key gives that key's file default instead
// (see PostLoader), which often differs: block numbers off, G and axis words
// not modal, no DelZero.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/post/NumberFormat.h"
#include "kernel/platform/TextEncoding.h"

namespace calvoro {

// The dialect codes that a definition names as text ("ISO", "HEI", ...).
enum class PostDialect : int { Iso = 0, Hei = 1, Xil = 2, Sbo = 3, Csh = 4 };

enum class Axis : int { X = 0, Y = 1, Z = 2 };

struct AxisSettings {
    std::string prefix;
    NumberFormat format{NumberFormat::Kind::Fixed, 1, 3};
    float scale = 1.0f;
};

// The canned cycles of a definition: read and kept, not used by raster jobs.
struct CycleSettings {
    bool exploded = true;
    std::string cycleDef;
    std::string cycleMove;
    std::string cycleCancel;
};

struct PostSettings {
    // [Block Numbering]
    bool outputSeq = true;
    std::string seqPrefix = "N";
    std::int32_t seqStart = 1;
    std::int32_t seqInc = 2;
    std::int32_t seqMax = 999999;

    // [X Axis], [Y Axis], [Z Axis], indexed by Axis
    std::array<AxisSettings, 3> axes{AxisSettings{"X"}, AxisSettings{"Y"}, AxisSettings{"Z"}};
    bool axisScaling = false;  // some axis scale differs from 1

    // [ArcDef]
    std::string iPrefix = "I";
    std::string jPrefix = "J";
    std::string rPrefix = "R";
    std::int32_t arcOutput = 0;
    std::int32_t arcCenter = 1;  // how the NC page finds arc centres

    // [Tool]
    std::string toolPrefix = "T";
    NumberFormat toolFormat{NumberFormat::Kind::Integer, 1, 0};
    std::string toolLengthOffsetPrefix = "H";  // key Tofflen

    // [Feed]
    std::string feedPrefix = "F";
    NumberFormat feedFormat{NumberFormat::Kind::Fixed, 1, 1};  // kept; feed words use the feed text as typed
    std::string feedRapid;                                     // written in place of the feed word on rapids

    // [GCode], indexed by the move kind of the word writers: 0 rapid, 1 linear
    // feed, 2 clockwise arc, 3 counter-clockwise arc
    std::array<std::string, 4> gWords{"G0", "G1", "G2", "G3"};
    std::string xilSuffixClockwise;
    std::string xilSuffixCounterClockwise;

    // [ShopBot]: command prefixes of the comma-separated move form
    std::string sboXyPrefix;
    std::string sboXyzPrefix;

    // [Default]
    bool xyzModal = true;
    bool gModal = true;
    bool fModal = true;
    bool delZero = true;
    std::string separator = " ";  // key Spaces: " " or nothing
    std::string fileExtension = "NC";
    std::string startComment = "(";
    std::string endComment = ")";
    PostDialect dialect = PostDialect::Iso;
    bool simulate = true;

    // The text blocks, each line ending in CR LF.
    std::string postComment;
    std::string startOfFile;
    std::string toolChange;
    std::string endOfFile;
    std::array<CycleSettings, 3> cycles;

    // The encoding the definition was written in. Inside the program every
    // text is UTF-8; the NC file is written in this encoding, so that the
    // definition's own bytes reach it unchanged and one file never mixes two.
    TextEncoding encoding = TextEncoding::Utf8;

    // Not from the file.
    std::string postName = "fanuc_mm";  // file name of the definition, without extension
    float refHeight = 5.0f;             // the [zrapid] and [ref_height] keywords
    float templateDepth = -1.0f;        // the [depth] keyword
    std::int32_t unitsFlag = 0;         // 0 millimetres, else inches

    const AxisSettings& axis(Axis which) const { return axes[static_cast<std::size_t>(which)]; }
    AxisSettings& axis(Axis which) { return axes[static_cast<std::size_t>(which)]; }

    // The format of numbers shown to the user: three decimals in millimetres,
    // four in inches.
    NumberFormat displayNumberFormat() const {
        return NumberFormat{NumberFormat::Kind::Fixed, 0, unitsFlag == 0 ? 3 : 4};
    }
};

}  // namespace calvoro
