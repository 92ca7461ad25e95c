// Single-precision 3D vectors for the facet normals of the surface export.
#pragma once

namespace calvoro {

struct TVector3D {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;

    friend bool operator==(const TVector3D&, const TVector3D&) = default;
};

TVector3D CrossProduct3D(const TVector3D& a, const TVector3D& b);
// a / |a|; the zero vector stays zero.
TVector3D Normalize3D(const TVector3D& a);
// The unit normal of the facet spanned by two edge vectors (a x b, normalised):
// counter-clockwise edges seen from above give an upward normal.
TVector3D FacetNormal(const TVector3D& a, const TVector3D& b);

}  // namespace calvoro
