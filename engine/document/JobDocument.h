// The program's own document: the picture as a complete BMP file, whose bfSize
// is its own length, followed by the 492-byte job record. Any BMP viewer shows
// the picture; the program finds the record at bfSize.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/document/JobRecord.h"
#include "engine/picture/Picture.h"

namespace calvoro {

// The record is encoded and checked before the picture: a bad field throws
// DocumentError naming it, a picture that cannot be stored PictureError.
std::string EncodeDocument(const Picture& picture, const JobRecord& record);

// Writes the whole document to a temporary file renamed over fileName at the
// end, so an existing document stays as it was when anything fails (a bad
// field, a full disk). FileWriteError for the file itself.
void SaveDocument(const std::filesystem::path& fileName, const Picture& picture, const JobRecord& record);

// A document as read: the picture whenever it could be read, and the record
// when the document holds a sound one. Without a record, recordProblem says
// why; the picture is then usable on its own, as if a BMP had been opened.
struct LoadedDocument {
    Picture picture;
    std::optional<JobRecord> record;
    std::string recordProblem;
};

// Throws PictureError when the picture part cannot be read. The record is
// the 492 bytes at bfSize, taken when the document holds them, bfSize covers
// everything the picture needs, and every field passes the decoder's checks;
// anything after the record is ignored.
LoadedDocument DecodeDocument(std::string_view bytes);
// The same for a file, reading only the picture's bytes and the record; the
// messages name it. DocumentError naming the file when it cannot be read at
// all (missing, a folder, a pipe or device, forbidden).
LoadedDocument ReadDocumentFile(const std::filesystem::path& fileName);

}  // namespace calvoro
