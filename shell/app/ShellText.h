// Small text rules every panel of the main window shares: which typed
// characters a numeric edit takes, whether its text is a number yet, how a
// proposed file name is cleaned, and the rows of the picture information.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace calvoro {

// The four kinds of numeric edit.
enum class NumericKeys {
    Positive,          // Backspace, ".", digits
    PositiveOrEnter,   // the same and Enter
    Signed,            // Backspace, "-", ".", digits
    SignedOrEnter,     // the same and Enter
};

// Whether an edit of that kind lets the typed character through. Keys that type
// nothing (arrows, Delete, shortcuts) are not characters and never reach here.
bool KeyPasses(NumericKeys kind, char32_t character);

// False for an empty text, a lone "-" and a lone "."; those are what a user
// has typed on the way to a number and must not be converted yet.
bool NumeroOk(std::string_view text);

// Removes the characters a file name may not hold on any system the files
// travel to (| < > # \ / : * ? " '); a name that ends up empty becomes "t".
void CleanFileName(std::string& name);

// The picture information rows under the root text (message 118): file name
// (only the name part), width, height, colour depth and resolution, each
// after its caption from the language file.
struct PictureInfoRows {
    std::string root;
    std::vector<std::string> rows;
};
PictureInfoRows AggAlberoRows(std::string_view imageFileName, std::string_view bitDepthText, int pixelWidth,
                              int pixelHeight, int dpi);

}  // namespace calvoro
