// JPEG decoding on libjpeg. libjpeg reports errors by calling a function that
// must not return; ours jumps back with longjmp to one small guard function
// whose frame, like those of the steps it runs, holds only plain C data, so
// no C++ destructor is ever skipped. The C++ code around the guard owns the
// decompressor and turns a failed step into a PictureError.
#include "engine/picture/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "engine/picture/PictureFileError.h"
#include "engine/picture/Resolution.h"
#include "kernel/platform/InputFile.h"

namespace calvoro {

namespace {

struct JpegErrors {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// Everything the guarded steps touch: plain data only.
struct DecodeJob {
    jpeg_decompress_struct info;
    JpegErrors errors;
    const unsigned char* bytes;
    unsigned long size;
    unsigned char* pixels;  // Bgr24 rows, top first
    std::size_t stride;
    unsigned char* cmykRow;  // one row of four-byte pixels, for CMYK files
};

}  // namespace

extern "C" {

static void StopOnJpegError(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// libjpeg warns where it met damaged data and went on with a guess: corrupt
// or missing scan data, restart markers out of order. The picture it then
// delivers is wrong in places, and a wrong grey level is a wrong depth, so
// every such warning refuses the file. The one warning let through is a JFIF
// version number above the ones libjpeg knows, which says nothing about the
// pixels.
static void OnJpegMessage(j_common_ptr info, int level) {
    if (level >= 0) return;  // trace messages
    if (info->err->msg_code == JWRN_JFIF_MAJOR) {
        ++info->err->num_warnings;
        return;
    }
    StopOnJpegError(info);
}

static void IgnoreJpegOutput(j_common_ptr) {}

}  // extern "C"

namespace {

// The only function that calls setjmp. It and step() hold no C++ objects.
bool RunGuarded(DecodeJob& job, void (*step)(DecodeJob&)) {
    if (setjmp(job.errors.jump) != 0) return false;
    step(job);
    return true;
}

void CreateStep(DecodeJob& job) {
    jpeg_create_decompress(&job.info);
}

void HeaderStep(DecodeJob& job) {
    jpeg_mem_src(&job.info, job.bytes, job.size);
    jpeg_read_header(&job.info, TRUE);
    const J_COLOR_SPACE space = job.info.jpeg_color_space;
    job.info.out_color_space = space == JCS_CMYK || space == JCS_YCCK ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&job.info);
}

unsigned char Ink(unsigned int colour, unsigned int black) {
    return static_cast<unsigned char>((colour * black + 127) / 255);
}

void PixelStep(DecodeJob& job) {
    jpeg_decompress_struct& info = job.info;
    jpeg_start_decompress(&info);
    // CMYK written with an Adobe marker is stored inverted.
    const bool inverted = info.saw_Adobe_marker;
    while (info.output_scanline < info.output_height) {
        unsigned char* row = job.pixels + job.stride * info.output_scanline;
        if (!job.cmykRow) {
            JSAMPROW rows[16];
            const JDIMENSION count =
                info.output_height - info.output_scanline < 16 ? info.output_height - info.output_scanline : 16;
            for (JDIMENSION i = 0; i < count; ++i) rows[i] = row + job.stride * i;
            jpeg_read_scanlines(&info, rows, count);
            continue;
        }
        JSAMPROW cmyk = job.cmykRow;
        jpeg_read_scanlines(&info, &cmyk, 1);
        for (JDIMENSION x = 0; x < info.output_width; ++x, cmyk += 4, row += 3) {
            const unsigned int c = inverted ? cmyk[0] : 255 - cmyk[0];
            const unsigned int m = inverted ? cmyk[1] : 255 - cmyk[1];
            const unsigned int y = inverted ? cmyk[2] : 255 - cmyk[2];
            const unsigned int k = inverted ? cmyk[3] : 255 - cmyk[3];
            row[0] = Ink(y, k);
            row[1] = Ink(m, k);
            row[2] = Ink(c, k);
        }
    }
    jpeg_finish_decompress(&info);
}

PictureError JpegRefusal(const DecodeJob& job) {
    switch (job.errors.manager.msg_code) {
        case JWRN_JPEG_EOF:
            return PictureError("The JPEG file is cut short.");
        case JWRN_ADOBE_XFORM:
        case JWRN_BOGUS_PROGRESSION:
        case JWRN_EXTRANEOUS_DATA:
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_MUST_RESYNC:
        case JWRN_NOT_SEQUENTIAL:
        case JWRN_TOO_MUCH_DATA:
            return PictureError(std::string("The JPEG file is damaged (") + job.errors.message +
                                "); its picture would give a wrong relief.");
        default:
            return PictureError(std::string("The JPEG file cannot be read: ") + job.errors.message + ".");
    }
}
int DensityToDpi(int units, int density) {
    if (units == 1) return density;
    if (units == 2) return DotsPerCentimetreToDpi(density);
    return 0;
}

}  // namespace

JpegDensity JpegDensityFromBytes(std::string_view bytes) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])); };
    const auto word = [&](std::size_t at) { return byte(at) << 8 | byte(at + 1); };
    if (bytes.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8) return {};
    // Walk the segments in front of the picture data; a JFIF header is an
    // APP0 segment that starts with "JFIF" and a zero. It counts only when that
    // name lies within the first 50 bytes of the file, where a JFIF header
    // sits in a file that leads with one; the walk stops there, so an Exif
    // file whose JFIF header comes after its camera data has no resolution.
    constexpr std::size_t kJfifSearchBytes = 50;
    std::size_t at = 2;
    while (at + 4 <= bytes.size() && at + 8 <= kJfifSearchBytes && byte(at) == 0xFF) {
        const unsigned marker = byte(at + 1);
        if (marker == 0xFF) {
            ++at;  // fill byte
            continue;
        }
        const bool segmentWithLength = (marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE || marker == 0xDB ||
                                       marker == 0xC4 || marker == 0xDD || marker == 0xCC;
        if (!segmentWithLength) break;  // frame, scan or something unknown: no more headers
        const std::size_t length = word(at + 2);
        if (length < 2) break;
        if (marker == 0xE0 && length >= 16 && at + 18 <= bytes.size() &&
            bytes.substr(at + 4, 5) == std::string_view("JFIF\0", 5)) {
            const int units = static_cast<int>(byte(at + 11));
            return {DensityToDpi(units, static_cast<int>(word(at + 12))),
                    DensityToDpi(units, static_cast<int>(word(at + 14)))};
        }
        at += 2 + length;
    }
    return {};
}

JpegDensity ReadJpegDensity(const std::filesystem::path& fileName) {
    // The JFIF header is only looked for near the start of the file.
    return WithFileName(fileName, [&] { return JpegDensityFromBytes(ReadFileStart(fileName, 64)); });
}

Picture DecodeJpeg(std::string_view bytes) {
    auto job = std::make_unique<DecodeJob>();
    job->info.err = jpeg_std_error(&job->errors.manager);
    job->errors.manager.error_exit = StopOnJpegError;
    job->errors.manager.emit_message = OnJpegMessage;
    job->errors.manager.output_message = IgnoreJpegOutput;
    job->bytes = reinterpret_cast<const unsigned char*>(bytes.data());
    job->size = static_cast<unsigned long>(bytes.size());
    if (!RunGuarded(*job, CreateStep)) throw JpegRefusal(*job);
    const auto destroy = [](DecodeJob* j) { jpeg_destroy_decompress(&j->info); };
    const std::unique_ptr<DecodeJob, decltype(destroy)> created(job.get(), destroy);

    if (!RunGuarded(*job, HeaderStep)) throw JpegRefusal(*job);
    const jpeg_decompress_struct& info = job->info;
    const J_COLOR_SPACE space = info.jpeg_color_space;
    if (space != JCS_GRAYSCALE && space != JCS_YCbCr && space != JCS_RGB && space != JCS_CMYK && space != JCS_YCCK)
        throw PictureError("JPEG files with " + std::to_string(info.num_components) +
                               " colour components of an unknown kind are not supported.",
                           PictureErrorKind::Unsupported);
    CheckPictureSize(info.output_width, info.output_height);

    Picture picture;
    picture.allocate(static_cast<int>(info.output_width), static_cast<int>(info.output_height), PixelFormat::Bgr24);
    std::vector<unsigned char> cmykRow;
    if (info.out_color_space == JCS_CMYK) cmykRow.resize(static_cast<std::size_t>(info.output_width) * 4);
    job->pixels = picture.pixels.data();
    job->stride = picture.stride();
    job->cmykRow = cmykRow.empty() ? nullptr : cmykRow.data();
    if (!RunGuarded(*job, PixelStep)) throw JpegRefusal(*job);

    const JpegDensity density = JpegDensityFromBytes(bytes);
    picture.dpiX = density.dpiX;
    picture.dpiY = density.dpiY;
    picture.sourceBitCount = 24;
    return picture;
}

std::optional<JpegFrameSize> ReadJpegFrameSize(const InputFile& file) {
    const auto byte = [](const std::string& bytes, std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at]));
    };
    const std::string start = file.read(0, 2);
    if (start.size() < 2 || byte(start, 0) != 0xFF || byte(start, 1) != 0xD8) return std::nullopt;
    std::uint64_t at = 2;
    for (;;) {
        const std::string head = file.read(at, 9);
        if (head.size() < 2 || byte(head, 0) != 0xFF) return std::nullopt;
        const unsigned marker = byte(head, 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (head.size() < 9) return std::nullopt;
            return JpegFrameSize{static_cast<int>(byte(head, 7) << 8 | byte(head, 8)),
                                 static_cast<int>(byte(head, 5) << 8 | byte(head, 6))};
        }
        // Markers without a length, or the scan: no frame header in front.
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xDA) || head.size() < 4) return std::nullopt;
        at += 2 + (byte(head, 2) << 8 | byte(head, 3));
    }
}

Picture LoadJpegFile(const std::filesystem::path& fileName) {
    return WithFileName(fileName, [&] {
        const InputFile file(fileName);
        // A picture over the size limits is refused before its data is read.
        if (const auto size = ReadJpegFrameSize(file)) CheckPictureSize(size->width, size->height);
        return DecodeJpeg(file.readAll());
    });
}

}  // namespace calvoro
