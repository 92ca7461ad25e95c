// The text of an NC program as its NC file holds it. Inside the program every
// text is UTF-8, but an NC program is held as the bytes of its
// post-processor definition's encoding from the moment it is written: the
// file Compute writes, the NC page that shows it and every later save of it
// are the same bytes. Every conversion between the two is made here.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "kernel/platform/TextEncoding.h"

namespace calvoro {

// Raised when an edited program holds a character its encoding cannot hold.
class NcTextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A program written inside the program (UTF-8) as the bytes of `encoding`:
// a character the encoding cannot spell, and a malformed byte, become "?".
std::string NcProgramBytes(std::string utf8, TextEncoding encoding);

// The bytes of a program (or of one of its lines) as text to show, UTF-8.
// Windows-1252 gives every byte a character, so the text turns back into the
// same bytes.
std::string NcTextToShow(std::string_view bytes, TextEncoding encoding);

// A program edited by the user (UTF-8) as the bytes of `encoding`. Throws
// NcTextError naming the line and the character when the encoding cannot
// hold one; nothing is to be written then.
std::string EncodeEditedNcText(std::string_view utf8, TextEncoding encoding);

// Text the user looks for (UTF-8) as it appears in the bytes of a program;
// empty when the encoding cannot hold it, which no line contains.
std::string NcSearchBytes(std::string_view utf8, TextEncoding encoding);

}  // namespace calvoro
