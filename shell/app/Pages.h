// The pages of the work panel by name. The panel is a stack of numbered pages;
// the numbers stay as they are because the language file's page messages and
// captions are keyed by them, but code names a page only through this table.
#pragma once

namespace calvoro::page {

// The pages, in the order of the panel's stack.
inline constexpr int kVect1 = 0;
inline constexpr int kVect2 = 1;
inline constexpr int kVect3 = 2;
inline constexpr int kFont = 3;
inline constexpr int kCircleCtDia = 4;
inline constexpr int kAttrib = 5;
inline constexpr int kSnap = 6;
inline constexpr int kLayer = 7;
inline constexpr int kInfo = 8;
inline constexpr int kMirror = 9;
inline constexpr int kScale = 10;
inline constexpr int kGridSet = 11;
inline constexpr int kCnc1 = 12;
inline constexpr int kSettings = 13;
inline constexpr int kOpen2 = 14;
inline constexpr int kCnc2 = 15;
inline constexpr int kCnc3 = 16;
inline constexpr int kChangeLayer = 17;
inline constexpr int kOffset = 18;
inline constexpr int kDrill = 19;
inline constexpr int kPocket = 20;
inline constexpr int kSheet1 = 21;
inline constexpr int kFillet = 22;
inline constexpr int kPolySimplify = 23;
inline constexpr int kExtend = 24;
inline constexpr int kArcPolar = 25;
inline constexpr int kPoly = 26;
inline constexpr int kCircleCtPt = 27;
inline constexpr int kDelSmall = 28;
inline constexpr int kLineInfo = 29;
inline constexpr int kArcInfo = 30;
inline constexpr int kRectInfo = 31;
inline constexpr int kEllipseInfo = 32;
inline constexpr int kSpline = 33;
inline constexpr int kPoint = 34;
inline constexpr int kExplodeInfo = 35;
inline constexpr int kLinePolar = 36;
inline constexpr int kLineTanAngle = 37;
inline constexpr int kArcTan = 38;
inline constexpr int kRotate = 39;
inline constexpr int kTranslate = 40;
inline constexpr int kPointGrid = 41;
inline constexpr int kBoltCircle = 42;
// The distance read-outs; the picture-editing form of the job's first step
// sits on the same page, under them.
inline constexpr int kDistance = 43;
// The job's steps.
inline constexpr int kSize = 44;
inline constexpr int kReference = 45;
inline constexpr int kDepth = 46;
inline constexpr int kNcFile = 47;
inline constexpr int kTool = 48;
inline constexpr int kCutting = 49;
// The NC program page.
inline constexpr int kProgram = 50;

inline constexpr int kCount = 51;

// The job's steps in order, as the panel shows them together.
inline constexpr int kFirstStep = kSize;
inline constexpr int kLastStep = kCutting;

// Pseudo pages of the page switch: hide the panel, or show the pages kept from
// the last switch again.
inline constexpr int kHide = 999;
inline constexpr int kShowKept = 998;

}  // namespace calvoro::page

namespace calvoro::page_message {

// Status-line texts of the page message table that no page shows: the
// greeting of a new job and the prompt of the Z no-cut point pick.
inline constexpr int kOpenStep = page::kBoltCircle;
inline constexpr int kPointPick = page::kTranslate;

}  // namespace calvoro::page_message
