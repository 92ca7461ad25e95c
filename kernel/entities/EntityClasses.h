// The class index each entity class is stored with in object streams and the
// block library, and the registration of the classes under those indices.
#pragma once

namespace calvoro {

class ClassRegistry;

namespace EntityClassIndex {
inline constexpr unsigned Container = 0;
inline constexpr unsigned SourceBlock = 1;
inline constexpr unsigned Block = 2;
inline constexpr unsigned Line = 3;
inline constexpr unsigned Polyline = 4;
inline constexpr unsigned Polygon = 5;
inline constexpr unsigned Rectangle = 6;
inline constexpr unsigned EllipseOpen = 7;
inline constexpr unsigned Ellipse = 8;
inline constexpr unsigned FilledEllipse = 9;
inline constexpr unsigned Text = 10;
inline constexpr unsigned Frame = 11;
inline constexpr unsigned Bitmap = 12;
inline constexpr unsigned BSpline = 13;
inline constexpr unsigned JustifiedVectText = 14;
inline constexpr unsigned Point = 15;
inline constexpr unsigned Circle = 16;
inline constexpr unsigned Arc = 17;
inline constexpr unsigned FilledCircle = 18;
inline constexpr unsigned RationalBSpline = 19;
}  // namespace EntityClassIndex

// Clears the registry and enters every entity class at its index; calling it
// again gives the same table.
void RegisterEntityClasses(ClassRegistry& registry);

// The process-wide registry filled once, for the program and for tests that
// read streams.
void RegisterKernelClasses();

}  // namespace calvoro
