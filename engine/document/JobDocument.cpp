#include "engine/document/JobDocument.h"

#include "engine/document/DocumentError.h"
#include "engine/picture/BmpCodec.h"
#include "engine/picture/PictureFileError.h"
#include "kernel/platform/AtomicFile.h"

namespace calvoro {

namespace {

// Where the record starts, once the document's length and the picture's
// extent agree with it.
std::size_t RecordOffset(std::string_view bytes, const DecodedBmp& bmp) {
    const std::uint64_t fileSize = bmp.info.fileSize;
    if (bytes.size() < JobRecord::kSize || fileSize != bytes.size() - JobRecord::kSize)
        throw DocumentError("The document is " + std::to_string(bytes.size()) + " bytes long; its picture declares " +
                            std::to_string(fileSize) + " bytes, so it holds no job record of " +
                            std::to_string(JobRecord::kSize) + " bytes after the picture.");
    if (fileSize < bmp.bytesUsed)
        throw DocumentError("The picture of the document reaches past the " + std::to_string(fileSize) +
                            " bytes it declares, into the job record.");
    return static_cast<std::size_t>(fileSize);
}

}  // namespace

std::string EncodeDocument(const Picture& picture, const JobRecord& record) {
    const JobRecordBytes recordBytes = EncodeJobRecord(record);
    std::string document = EncodeBmp(picture);
    document.append(reinterpret_cast<const char*>(recordBytes.data()), recordBytes.size());
    return document;
}

void SaveDocument(const std::filesystem::path& fileName, const Picture& picture, const JobRecord& record) {
    WriteFileAtomically(fileName, EncodeDocument(picture, record));
}

LoadedDocument DecodeDocument(std::string_view bytes) {
    DecodedBmp bmp = DecodeBmp(bytes);
    LoadedDocument document;
    document.picture = std::move(bmp.picture);
    try {
        const std::size_t offset = RecordOffset(bytes, bmp);
        const auto* record = reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset;
        document.record = DecodeJobRecord(std::span<const std::uint8_t>(record, JobRecord::kSize));
    } catch (const DocumentError& error) {
        document.recordProblem = error.what();
    }
    return document;
}

LoadedDocument ReadDocumentFile(const std::filesystem::path& fileName) {
    const std::string bytes = ReadWholeFile(fileName);
    LoadedDocument document = WithFileName(fileName, [&] { return DecodeDocument(bytes); });
    if (!document.record) {
        std::string named(1, '"');
        named += fileName.string();
        named += "\": ";
        document.recordProblem = named + document.recordProblem;
    }
    return document;
}

}  // namespace calvoro
