// Conversions between the resolutions picture files declare and the dots per
// inch the work size is computed from. Every rounding goes to the nearest
// whole dpi with halves to even.
#pragma once

#include <cstdint>

namespace calvoro {

// A BMP's pixels per metre as dots per inch: divided by 39.37007874015748 in
// extended precision and rounded; one fixed divisor and precision give a
// picture the same size in every job on every machine. That divisor lies a
// hair under 10000 / 254, so a value such as 7500 pixels per metre gives
// 190.5000000000000015 and 191 dpi, not 190; the quotient never lands on a
// half exactly. 0 or less means none and gives 0.
int PixelsPerMetreToDpi(std::int32_t pixelsPerMetre);

// The pixels per metre a BMP stores for a resolution in dots per inch; 0 for none.
std::int32_t DpiToPixelsPerMetre(int dpi);

// A JFIF density in dots per centimetre as dots per inch; 0 or less gives 0.
int DotsPerCentimetreToDpi(int dotsPerCentimetre);

// numerator / denominator rounded to the nearest integer, halves to even;
// denominator > 0, numerator >= 0.
long long DivideRoundingHalfToEven(long long numerator, long long denominator);

}  // namespace calvoro
