// Where the picture lies in the work coordinate system and how large it is:
// the reference corner that becomes the work origin (or a point typed in or
// picked), the work size with or without the pixel proportions, and the
// quarter-turn stepping of the corner. Every operation returns how far the
// drawing must move so that the picture and the other objects stay together;
// the caller moves them. Values that are not usable change nothing.
#pragma once

#include <optional>
#include <string_view>

#include "engine/picture/ImageInfo.h"

namespace calvoro {

// The corner numbers of the reference point buttons.
enum OriginCorner : int {
    NoCorner = 0,  // a typed or picked origin
    LowerLeft = 1,
    UpperLeft = 2,
    UpperRight = 3,
    LowerRight = 4,
    Centre = 5,
};

struct DrawingShift {
    double dx = 0.0;
    double dy = 0.0;
    bool operator==(const DrawingShift&) const = default;
};

class Placement {
public:
    // A newly opened picture: lower-left corner checked, origin at the corner,
    // placement angle and the stepping corner 0.
    void reset(const ImageInfo& info);

    const ImageInfo& info() const { return info_; }
    int checkedCorner() const { return checked_; }  // the radio button shown checked, NoCorner for none
    int originCorner() const { return originCorner_; }
    int angle() const { return angle_; }
    bool keepRatio() const { return keepRatio_; }

    // A corner button: the origin moves to the corner of the table; returns
    // the change of the origin, by which every object moves.
    DrawingShift chooseCorner(int corner);
    // Typing into an origin edit unchecks every corner.
    void originEdited() { checked_ = NoCorner; }
    // The typed origin (as the edits show it: the origin seen from the
    // picture, -X0 and -Y0). False, changing nothing, unless both are numbers.
    bool typedOrigin(std::string_view textX, std::string_view textY);
    bool typedOrigin(double x, double y);
    // A point picked in the drawing becomes the origin: everything moves by
    // minus the point and no corner stays checked.
    DrawingShift pickedOrigin(double x, double y);

    // The width or height edit. Only finite sizes above zero are taken; with
    // keep-ratio on the other size follows the pixel proportions. Every taken
    // size gives the new scale and puts the origin back on the checked corner
    // (the returned shift), so pixel size, work box and origin never lag
    // behind the size. Empty optional, changing nothing, for anything else.
    std::optional<DrawingShift> setWidthText(std::string_view text);
    std::optional<DrawingShift> setHeightText(std::string_view text);
    std::optional<DrawingShift> setSize(double width, double height);
    // A stored job's size and switch, taken as they were saved (a size that
    // does not follow the pixel proportions stays so).
    std::optional<DrawingShift> restoreSize(double width, double height, bool keepRatio);
    // Keep-ratio switched on makes the height follow the width at once.
    DrawingShift setKeepRatio(bool on);

    // The placement angle steps by a quarter turn and the stepping corner
    // follows (anticlockwise: 1 -> 4 -> 3 -> 2 -> 1); the corner shown checked
    // follows it without moving anything.
    void stepAnticlockwise();
    void stepClockwise();

    // The picture was turned by a quarter: sizes and pixel counts exchange and
    // the origin goes back on the checked corner (a typed or picked origin
    // stays where it is).
    DrawingShift pictureRotated();
    // The picture was cropped: its new record, origin on the lower-left corner.
    DrawingShift pictureCropped(const ImageInfo& info);
    // The picture changed in place (flips, grey): nothing moves.

private:
    DrawingShift moveOriginTo(float x0, float y0);
    DrawingShift reapplyCheckedCorner();

    ImageInfo info_;
    int checked_ = LowerLeft;
    int originCorner_ = NoCorner;
    int cornerCopy_ = NoCorner;
    int angle_ = 0;
    bool keepRatio_ = true;
};

// X0 and Y0 that put the corner at the work origin; the present origin for
// NoCorner.
void CornerOrigin(const ImageInfo& info, int corner, float& x0, float& y0);

}  // namespace calvoro
