#include "engine/document/JobDocument.h"

#include "engine/document/DocumentError.h"
#include "engine/picture/BmpCodec.h"
#include "engine/picture/PictureFileError.h"
#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/InputFile.h"

namespace calvoro {

namespace {

// Where the record starts: at bfSize, once the document is long enough to
// hold a record there and the picture ends before it. Bytes after the record
// are not looked at.
std::uint64_t RecordOffset(std::uint64_t documentSize, const DecodedBmp& bmp) {
    const std::uint64_t fileSize = bmp.info.fileSize;
    if (documentSize < fileSize + JobRecord::kSize)
        throw DocumentError("The document is " + std::to_string(documentSize) + " bytes long; its picture declares " +
                            std::to_string(fileSize) + " bytes, so it holds no job record of " +
                            std::to_string(JobRecord::kSize) + " bytes after the picture.");
    if (fileSize < bmp.bytesUsed)
        throw DocumentError("The picture of the document reaches past the " + std::to_string(fileSize) +
                            " bytes it declares, into the job record.");
    return fileSize;
}

JobRecord DecodeRecordBytes(std::string_view bytes) {
    return DecodeJobRecord(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), JobRecord::kSize));
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
        const auto offset = static_cast<std::size_t>(RecordOffset(bytes.size(), bmp));
        document.record = DecodeRecordBytes(bytes.substr(offset, JobRecord::kSize));
    } catch (const DocumentError& error) {
        document.recordProblem = error.what();
    }
    return document;
}

LoadedDocument ReadDocumentFile(const std::filesystem::path& fileName) {
    // Appended, not "\"" + a temporary: GCC 12 warns falsely (-Wrestrict)
    // about the inlined insert of a literal before a string.
    const std::string named = std::string(1, '"').append(fileName.string()).append("\": ");
    try {
        // Only the picture's own bytes and the record are read, however long
        // the file is.
        const InputFile file(fileName);
        DecodedBmp bmp = WithFileName(fileName, [&] { return DecodeBmp(ReadBmpBytes(file)); });
        LoadedDocument document;
        document.picture = std::move(bmp.picture);
        try {
            const std::uint64_t offset = RecordOffset(file.size(), bmp);
            document.record = DecodeRecordBytes(file.read(offset, JobRecord::kSize));
        } catch (const DocumentError& error) {
            document.recordProblem = named + error.what();
        }
        return document;
    } catch (const InputFileError& error) {
        throw DocumentError(named + "The document cannot be read: " + error.reason() + ".");
    }
}

}  // namespace calvoro
