// The base of the curves: outlines whose profile is a polyline computed from
// the control points ("linearised") in SegmentCount segments and cached.
//
// The cache: every build counts ProfileUseCount up and every release counts
// it down; the profile is freed when the count falls to 0. With KeepProfile 1
// (the default) every box update rebuilds the profile and keeps it; with 0 it
// lives only between BeginUseProfilePoints and EndUseProfilePoints.
//
// The record after the primitive's: u16 SegmentCount, u8 KeepProfile.
#pragma once

#include "kernel/entities/TOutline2D.h"

#include <cstdint>
#include <memory>
#include <span>

namespace calvoro {

class TCurve2D : public TOutline2D {
public:
    static const TGraphicObjectClass Class;
    static constexpr std::uint16_t DefaultSegmentCount = 50;
    // The profile holds SegmentCount + 1 points, at most 65535.
    static constexpr std::uint16_t MaxSegmentCount = 65534;

    TCurve2D(std::int32_t id, int capacity, std::uint16_t segmentCount);
    // Any KeepProfile byte other than 0 reads as 1; SegmentCount is capped.
    TCurve2D(BinaryReader& reader, const VersionTag& version);

    std::uint8_t KeepProfile() const { return keepProfile_; }
    // Any value other than 0 is 1. Turning it to 0 drops the kept profile.
    void SetKeepProfile(std::uint8_t keep);
    std::uint16_t SegmentCount() const { return segmentCount_; }
    // Takes effect at the next build; capped at MaxSegmentCount.
    void SetSegmentCount(std::uint16_t count);
    int ProfileUseCount() const { return profileUseCount_; }

    // Raise ECADCoreException when there is no profile.
    TPointsSet2D& GetProfilePoints() override;
    int GetNPts() override;
    bool HasProfilePoints() const override { return profile_ != nullptr; }
    void BeginUseProfilePoints() override;
    void EndUseProfilePoints() override;

    void UpdateBox() override;
    void SaveToStream(BinaryWriter& writer) override;
    // SegmentCount and KeepProfile from any curve, then the primitive part.
    void Assign(const TGraphicObject& source) override;
    // The profile as a polyline (as a filled polygon for the filled curves),
    // clipped to the canvas's own clip box.
    void Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int mode, const TRect2D& clipRect) override;
    // From kHitNearBox on, the open profile: kHitOutline or kHitNearBox.
    int HitTest(const TPoint2D& point, double& distance, double aperture) override;

protected:
    // The curve's own linearisation: with SegmentCount 0 nothing is built and
    // the box is all zero; otherwise SetProfile with the curve's points.
    virtual void BuildCurvePoints(TRect2D& box) = 0;
    // Makes (or empties) the profile with that capacity, counts a use, fills
    // it with the points and sets box to their box carried by the object matrix.
    void SetProfile(std::span<const TPoint2D> points, int capacity, TRect2D& box);
    // Drawn as a filled polygon.
    virtual bool FillsProfile() const { return false; }
    // HitTest, then from kHitNearBox on the closed, filled profile: kHitOutline
    // on its border, kHitInside inside it, else kHitNearBox.
    int HitFilledProfile(const TPoint2D& point, double& distance, double aperture);

private:
    void ReleaseProfile();
    void ChangeKeepProfile(std::uint8_t keep);

    std::uint8_t keepProfile_ = 1;
    std::uint16_t segmentCount_ = DefaultSegmentCount;
    std::unique_ptr<TPointsSet2D> profile_;
    int profileUseCount_ = 0;
};

}  // namespace calvoro
