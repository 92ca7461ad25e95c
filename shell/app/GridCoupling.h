// The grid and snap spacings of the 2D view, edited from three places (the
// grid dialog, the grid page and the snap boxes beside the view) under one
// rule: a spacing typed or chosen takes effect at once, and while its pair is
// coupled the other spacing of the pair follows it. A text that is not yet a
// spacing is passed over while the user types; if it is still none when the
// box is left, the box shows the spacing in force again.
//
// The grid dialog also puts everything back when it is left without OK: it
// takes a snapshot when shown and restores it on Cancel, Esc or the close box.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace calvoro {

struct GridValues {
    double GridDeltaX = 10.0;
    double GridDeltaY = 10.0;
    double GridSubX = 1.0;
    double GridSubY = 1.0;
    double XSnap = 10.0;
    double YSnap = 10.0;
    bool UseSnap = false;
    bool ShowGrid = true;

    friend bool operator==(const GridValues&, const GridValues&) = default;
};

enum class GridField { GridX, GridY, GridSubX, GridSubY, XSnap, YSnap };

// Where the values live: the 2D view's grid and the interaction program's
// snap. Setting them redraws the view and keeps the grid button and the snap
// glyph in step.
class GridHost {
public:
    virtual ~GridHost() = default;
    virtual GridValues Grid() const = 0;
    virtual void SetGrid(const GridValues& values) = 0;
};

class GridCoupling {
public:
    explicit GridCoupling(GridHost& host) : host_(host) {}

    // A spacing: a finite number above 0 (none would draw no grid, or one
    // without end). Blanks around the number are allowed.
    static std::optional<double> ParseSpacing(std::string_view text);
    // The other field of the field's pair.
    static GridField Partner(GridField field);
    static double& Field(GridValues& values, GridField field);
    // What a box shows for a value.
    static std::string SpacingText(double value);

    // A text typed or chosen in a box. Returns whether it was a spacing and
    // so taken; when `coupled` the partner took it too, and its box is to
    // show the same text.
    bool Change(GridField field, std::string_view text, bool coupled);
    // The box was left holding `text`: nothing when it is a spacing,
    // otherwise the text of the spacing in force to put back.
    std::optional<std::string> Finish(GridField field, std::string_view text) const;

    void SetShowGrid(bool show);
    void SetUseSnap(bool use);

    // The dialog's session.
    void TakeSnapshot() { snapshot_ = host_.Grid(); }
    const GridValues& Snapshot() const { return snapshot_; }
    void Revert() { host_.SetGrid(snapshot_); }

    GridValues Values() const { return host_.Grid(); }

private:
    GridHost& host_;
    GridValues snapshot_;
};

// The grid while a picture is placed (the steps that size it and choose its
// origin, and the editing of the picture beside them): a grid of 10 mm, or of
// 1 inch, whatever spacing the user works with, so that the picture's size
// reads off the grid. The user's spacing is kept and given back once the
// placing is done (the next step, a new job, the end of the program), so the
// settings file never keeps the picture's spacing in its stead: a picture
// opened while placing leaves the kept spacing alone, and a spacing the user
// chose while placing stays.
class PictureGrid {
public:
    explicit PictureGrid(GridHost& host) : host_(host) {}

    // The spacing of the picture's grid.
    static double Spacing(bool inches) { return inches ? 1.0 : 10.0; }
    // Whether a page of the work panel is one where the picture is placed.
    static bool PlacingPage(int page);

    // Keeps the spacing in force (unless one is kept already) and sets both
    // spacings to the picture's; the grid and axis switches stay as they are.
    void ResetGridForImage(bool inches);
    // The kept spacing given back, unless the grid no longer has the
    // picture's spacing (the user chose another); nothing when none is kept.
    void GiveBack();
    // A page of the job shown: placing on its placing pages, given back on
    // the others.
    void PageShown(int page, bool inches);
    bool Placing() const { return placing_; }

private:
    GridHost& host_;
    bool placing_ = false;
    double keptX_ = 0.0, keptY_ = 0.0;  // the user's spacing
    double setX_ = 0.0, setY_ = 0.0;    // the picture's spacing as set
};

// A host that only keeps the values, for a view that is not there yet.
class GridValuesHolder : public GridHost {
public:
    GridValues Grid() const override { return values_; }
    void SetGrid(const GridValues& values) override { values_ = values; }

private:
    GridValues values_;
};

}  // namespace calvoro
