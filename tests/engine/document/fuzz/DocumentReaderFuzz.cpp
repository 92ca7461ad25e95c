// libFuzzer entry for the document reader: any bytes give a picture with or
// without a record, or a PictureError; never a crash, a read outside the
// buffer, or a record that could not be saved again unchanged.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "engine/document/DocumentError.h"
#include "engine/document/JobDocument.h"
#include "engine/picture/BmpCodec.h"
#include "kernel/platform/AtomicFile.h"

namespace {

void CheckRecordSurvivesSaving(const calvoro::JobRecord& record) {
    if (calvoro::DecodeJobRecord(calvoro::EncodeJobRecord(record)) != record) __builtin_trap();
}

}  // namespace

// Random bytes seldom make a BMP header; an empty corpus folder named on the
// command line gets one small document to start from.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i) {
        const std::filesystem::path folder = (*argv)[i];
        if ((*argv)[i][0] == '-' || !std::filesystem::is_directory(folder) || !std::filesystem::is_empty(folder))
            continue;
        calvoro::Picture picture;
        picture.allocate(3, 2, calvoro::PixelFormat::Bgr24);
        for (std::size_t k = 0; k < picture.pixels.size(); ++k) picture.pixels[k] = static_cast<std::uint8_t>(k * 37);
        calvoro::JobRecord record;
        record.ncFileName = "/tmp/job.nc";
        record.postName = "post";
        record.tool.name = "flat 3";
        calvoro::WriteFileAtomically(folder / "seed.pxm", calvoro::EncodeDocument(picture, record));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The last 492 bytes as a record on their own, whatever comes before.
    if (size >= calvoro::JobRecord::kSize) {
        try {
            CheckRecordSurvivesSaving(calvoro::DecodeJobRecord(
                std::span(data + size - calvoro::JobRecord::kSize, calvoro::JobRecord::kSize)));
        } catch (const calvoro::DocumentError&) {
        }
    }
    try {
        // Large pictures are the unit tests' business; here they would only
        // slow the search down.
        const calvoro::BmpInfo info = calvoro::BmpInfoFromBytes(bytes);
        if (static_cast<long long>(info.width) * info.height > (1 << 20)) return 0;
        const calvoro::LoadedDocument document = calvoro::DecodeDocument(bytes);
        if (document.record) {
            CheckRecordSurvivesSaving(*document.record);
        } else if (document.recordProblem.empty()) {
            __builtin_trap();
        }
    } catch (const calvoro::PictureError&) {
    }
    return 0;
}
