// JPEG files made by the tests.
#include "tests/engine/picture/JpegTestFiles.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace calvoro::test {

std::string BuildJpeg(const JpegSpec& spec) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(spec.width);
    info.image_height = static_cast<JDIMENSION>(spec.height);
    const int components = spec.kind == JpegKind::Grey ? 1 : spec.kind == JpegKind::Colour ? 3 : 4;
    info.input_components = components;
    info.in_color_space = spec.kind == JpegKind::Grey     ? JCS_GRAYSCALE
                          : spec.kind == JpegKind::Colour ? JCS_RGB
                                                          : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, spec.quality, TRUE);
    for (int c = 0; c < components; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    info.write_JFIF_header = spec.jfif && spec.app1.empty() ? TRUE : FALSE;
    info.density_unit = static_cast<UINT8>(spec.densityUnit);
    info.X_density = static_cast<UINT16>(spec.densityX);
    info.Y_density = static_cast<UINT16>(spec.densityY);
    if (spec.kind == JpegKind::Cmyk) info.write_Adobe_marker = spec.adobeMarker ? TRUE : FALSE;
    if (spec.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (!spec.app1.empty())
        jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(spec.app1.data()),
                          static_cast<unsigned>(spec.app1.size()));
    std::vector<unsigned char> row(static_cast<std::size_t>(spec.width) * components);
    while (info.next_scanline < info.image_height) {
        const int r = static_cast<int>(info.next_scanline);
        for (int x = 0; x < spec.width; ++x) {
            const auto p = spec.pixel(x, r);
            for (int c = 0; c < components; ++c) row[static_cast<std::size_t>(x) * components + c] = p[c];
        }
        JSAMPROW rows = row.data();
        jpeg_write_scanlines(&info, &rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

}  // namespace calvoro::test
