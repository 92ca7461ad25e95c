// Reading large pictures: the BMP decoder against a plain copy of the same
// bytes, and the JPEG decoder against libjpeg decoding alone.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "engine/picture/BmpCodec.h"
#include "engine/picture/JpegDecoder.h"

namespace {

constexpr int Side = 4000;

// Smooth shading with some grain, like a scanned photograph.
calvoro::Picture Photograph() {
    calvoro::Picture picture;
    picture.allocate(Side, Side, calvoro::PixelFormat::Bgr24);
    std::uint32_t grain = 1;
    for (int r = 0; r < Side; ++r) {
        std::uint8_t* p = picture.row(r);
        for (int x = 0; x < Side; ++x, p += 3) {
            grain = grain * 1664525u + 1013904223u;
            const int noise = static_cast<int>(grain >> 28) - 8;
            p[0] = static_cast<std::uint8_t>(
                std::clamp(128 + static_cast<int>(100 * std::sin(x * 0.003)) + noise, 0, 255));
            p[1] = static_cast<std::uint8_t>(
                std::clamp(128 + static_cast<int>(100 * std::cos(r * 0.002)) + noise, 0, 255));
            p[2] = static_cast<std::uint8_t>((x + r) / 32);
        }
    }
    return picture;
}

const std::string& BmpFile() {
    static const std::string bytes = calvoro::EncodeBmp(Photograph());
    return bytes;
}

const std::string& JpegFile() {
    static const std::string bytes = [] {
        const calvoro::Picture picture = Photograph();
        jpeg_compress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_compress(&info);
        unsigned char* buffer = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&info, &buffer, &size);
        info.image_width = Side;
        info.image_height = Side;
        info.input_components = 3;
        info.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, 90, TRUE);
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < info.image_height) {
            JSAMPROW row = const_cast<std::uint8_t*>(picture.row(static_cast<int>(info.next_scanline)));
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        std::string bytes(reinterpret_cast<const char*>(buffer), size);
        std::free(buffer);
        // The same file for a command-line decoder to be timed against.
        if (const char* out = std::getenv("CALVORO_BENCH_JPEG_OUT")) {
            if (std::FILE* file = std::fopen(out, "wb")) {
                std::fwrite(bytes.data(), 1, bytes.size(), file);
                std::fclose(file);
            }
        }
        return bytes;
    }();
    return bytes;
}

void BM_CopyBmpBytes(benchmark::State& state) {
    const std::string& bytes = BmpFile();
    std::vector<char> target(bytes.size());
    for (auto _ : state) {
        std::memcpy(target.data(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_CopyBmpBytes)->Unit(benchmark::kMillisecond);

void BM_DecodeBmp24(benchmark::State& state) {
    const std::string& bytes = BmpFile();
    for (auto _ : state) {
        calvoro::DecodedBmp decoded = calvoro::DecodeBmp(bytes);
        benchmark::DoNotOptimize(decoded.picture.pixels.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_DecodeBmp24)->Unit(benchmark::kMillisecond);

// libjpeg on its own, decoding into one reused buffer: the work a command-line
// decoder does before it writes its output.
void BM_LibjpegAlone(benchmark::State& state) {
    const std::string& bytes = JpegFile();
    std::vector<unsigned char> pixels(static_cast<std::size_t>(Side) * Side * 3);
    for (auto _ : state) {
        jpeg_decompress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_BGR;
        jpeg_start_decompress(&info);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = pixels.data() + static_cast<std::size_t>(info.output_scanline) * Side * 3;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * Side * Side);
}
BENCHMARK(BM_LibjpegAlone)->Unit(benchmark::kMillisecond);

void BM_DecodeJpeg(benchmark::State& state) {
    const std::string& bytes = JpegFile();
    for (auto _ : state) {
        calvoro::Picture picture = calvoro::DecodeJpeg(bytes);
        benchmark::DoNotOptimize(picture.pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * Side * Side);
}
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond);

}  // namespace
