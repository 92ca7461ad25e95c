// libFuzzer entry for the road from the size page to the NC program, as the
// wizard walks it without its windows: a small generated picture, sizes,
// keep-ratio, corners, origins and quarter turns as the pages take them (or a job
// document through the document reader, its record bytes partly scrambled),
// depths, cutting values and a cutter, then the relief and the program. The
// promise held: every X and Y the program writes lies within the work box the
// page shows, grown by the cutter's radius; the relief's pixels span that box
// to within a pixel and never beyond it. Values the road refuses end with
// their message; anything else thrown, or a crash, is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "engine/document/DocumentError.h"
#include "engine/document/JobDocument.h"
#include "engine/nc/NcProgram.h"
#include "engine/picture/ImageInfo.h"
#include "engine/picture/Picture.h"
#include "engine/picture/PictureEdits.h"
#include "engine/toolpath/ToolPathError.h"
#include "kernel/platform/AtomicFile.h"
#include "shell/app/WorkBox.h"
#include "shell/wizard/JobComputation.h"
#include "shell/wizard/NumberText.h"
#include "shell/wizard/Placement.h"
#include "tests/support/ProgramExtents.h"

namespace calvoro {
namespace {

// The largest picture side: each input stays a few milliseconds.
constexpr int kMaxSide = 24;
// Cutters wider than this many pixels are the unit tests' business.
constexpr double kMaxFootprintPixels = 48;
constexpr double kMaxRasterLines = 4096;

// The placement is told with the finding.
const ImageInfo* shownInfo = nullptr;
const ReliefValues* shownValues = nullptr;

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "JobComputeFuzz: %s\n", what);
    if (shownInfo != nullptr && shownValues != nullptr)
        std::fprintf(stderr, "  %d x %d pixels shown as %.9g x %.9g at (%.9g, %.9g); pixels %.9g x %.9g\n",
                     shownInfo->PixelWidth, shownInfo->PixelHeight, shownInfo->SizeX, shownInfo->SizeY, shownInfo->X0,
                     shownInfo->Y0, shownValues->PixelSize, shownValues->CellSizeY());
    __builtin_trap();
}

// What a person might type into an edit: mostly numbers in a range, written
// as the edits hold them, sometimes anything at all.
std::string TypedText(FuzzedDataProvider& in, double low, double high) {
    switch (in.ConsumeIntegralInRange(0, 9)) {
        case 0:
            return in.ConsumeRandomLengthString(10);
        case 1:
            return std::to_string(in.ConsumeIntegralInRange(-5, 120));
        default: {
            char text[64];
            const int decimals = in.ConsumeIntegralInRange(0, 5);
            std::snprintf(text, sizeof text, "%.*f", decimals, in.ConsumeFloatingPointInRange(low, high));
            return text;
        }
    }
}

double TypedValue(FuzzedDataProvider& in, double low, double high, double otherwise) {
    return ParseEditNumber(TypedText(in, low, high)).value_or(otherwise);
}

Picture MakePicture(FuzzedDataProvider& in, int& dpi) {
    Picture picture;
    const int width = in.ConsumeIntegralInRange(2, kMaxSide);
    const int height = in.ConsumeIntegralInRange(2, kMaxSide);
    picture.allocate(width, height, PixelFormat::Grey8);
    const auto seed = in.ConsumeIntegral<std::uint32_t>();
    const int kind = in.ConsumeIntegralInRange(0, 2);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            const std::uint32_t mixed =
                (seed ^ (static_cast<std::uint32_t>(r) * 73856093u) ^ (static_cast<std::uint32_t>(c) * 19349663u)) *
                2654435761u;
            picture.row(r)[c] = kind == 0   ? static_cast<std::uint8_t>(mixed >> 24)
                                : kind == 1 ? static_cast<std::uint8_t>((c * 255) / (width - 1))
                                            : static_cast<std::uint8_t>((mixed >> 28) == 0 ? 0 : 255);
        }
    const int resolutions[] = {0, 0, 72, 100, 254, 300};
    dpi = resolutions[in.ConsumeIntegralInRange(0, 5)];
    picture.dpiX = picture.dpiY = dpi;
    return picture;
}

ToolRecord MakeCutter(FuzzedDataProvider& in) {
    ToolRecord tool;
    tool.toolType = static_cast<ToolType>(in.ConsumeIntegralInRange(0, 6));
    tool.diameter = static_cast<float>(in.ConsumeFloatingPointInRange(0.05, 20.0));
    tool.cornerRadius = static_cast<float>(in.ConsumeFloatingPointInRange(0.0, tool.diameter / 2.0));
    tool.taperAngle = static_cast<float>(in.ConsumeFloatingPointInRange(1.0, 89.0));
    tool.flatDiameter = static_cast<float>(in.ConsumeFloatingPointInRange(0.0, double{tool.diameter}));
    tool.name = "fuzz";
    return tool;
}

CuttingParameters MakeCutting(FuzzedDataProvider& in) {
    // As the cutting page reads its edits: a value that is no number, or out
    // of its range, leaves the one before.
    CuttingParameters values;
    if (const double v = TypedValue(in, 0.001, 30.0, -1); v > 0) values.stepOver = v;
    values.feedPlaneZ = TypedValue(in, -2.0, 20.0, values.feedPlaneZ);
    if (const double v = TypedValue(in, 0.0, 2.0, -1); v >= 0) values.stockAllowance = static_cast<float>(v);
    if (const double v = TypedValue(in, 0.0, 1.0, -1); v >= 0) values.filterTolerance = static_cast<float>(v);
    if (const double v = TypedValue(in, 0.0, 3.0, -1); v >= 0) values.zStep = v;
    values.passCount = in.ConsumeIntegralInRange(1, 3);
    // 0°, 90°, both, and now and then neither.
    const int directions = in.ConsumeIntegralInRange(0, 6);
    values.rasterAlongX = directions != 6 && directions % 3 != 1;
    values.rasterAlongY = directions != 6 && directions % 3 != 0;
    return values;
}

struct Job {
    Picture picture;
    Placement placement;
    ReliefValues relief;
    ToolRecord cutter;
    CuttingParameters cutting;
};

// Sizes, keep-ratio, corners and origins typed on the first two pages.
bool TypedJob(FuzzedDataProvider& in, Job& job) {
    int dpi = 0;
    job.picture = MakePicture(in, dpi);
    job.placement.reset(ComputeImageScale(ImageInfo{}, job.picture.width, job.picture.height, dpi, in.ConsumeBool()));
    for (int edits = in.ConsumeIntegralInRange(0, 6); edits > 0; --edits) {
        switch (in.ConsumeIntegralInRange(0, 6)) {
            case 0:
                job.placement.setWidthText(TypedText(in, 0.001, 400.0));
                break;
            case 1:
                job.placement.setHeightText(TypedText(in, 0.001, 400.0));
                break;
            case 2:
                job.placement.setKeepRatio(in.ConsumeBool());
                break;
            case 3:
                job.placement.chooseCorner(in.ConsumeIntegralInRange(0, 6));
                break;
            case 4: {
                const std::string x = TypedText(in, -300.0, 300.0);
                job.placement.typedOrigin(x, TypedText(in, -300.0, 300.0));
                break;
            }
            case 5:
                job.placement.pickedOrigin(in.ConsumeFloatingPointInRange(-100.0, 100.0),
                                           in.ConsumeFloatingPointInRange(-100.0, 100.0));
                break;
            default:  // the picture turned by a quarter on the editing page
                RotateBitmap90(job.picture);
                job.placement.pictureRotated();
                break;
        }
    }
    if (const auto white = ParseEditNumber(TypedText(in, -10.0, 10.0)))
        job.relief.setWhiteZ(static_cast<float>(*white));
    if (const auto black = ParseEditNumber(TypedText(in, -10.0, 10.0)))
        job.relief.setBlackZ(static_cast<float>(*black));
    job.cutter = MakeCutter(in);
    job.cutting = MakeCutting(in);
    return true;
}

// A stored job, its record partly scrambled, read back and replayed as the
// wizard replays an opened document.
bool StoredJob(FuzzedDataProvider& in, Job& job) {
    int dpi = 0;
    const Picture picture = MakePicture(in, dpi);
    JobRecord record;
    record.workWidth = static_cast<float>(in.ConsumeFloatingPointInRange(0.001, 400.0));
    record.workHeight = static_cast<float>(in.ConsumeFloatingPointInRange(0.001, 400.0));
    record.keepRatio = in.ConsumeBool();
    record.originX = static_cast<float>(in.ConsumeFloatingPointInRange(-300.0, 300.0));
    record.originY = static_cast<float>(in.ConsumeFloatingPointInRange(-300.0, 300.0));
    record.whiteZ = static_cast<float>(in.ConsumeFloatingPointInRange(-10.0, 10.0));
    record.blackZ = static_cast<float>(in.ConsumeFloatingPointInRange(-10.0, 10.0));
    record.ncFileName = "/tmp/job.nc";
    record.postName = "fanuc_mm";
    record.tool = MakeCutter(in);
    const CuttingParameters cutting = MakeCutting(in);
    record.feedPlaneZ = static_cast<float>(cutting.feedPlaneZ);
    record.stepOver = static_cast<float>(cutting.stepOver);
    record.stock = cutting.stockAllowance;
    record.filter = cutting.filterTolerance;
    record.zPasses = cutting.passCount;
    record.zStep = static_cast<float>(cutting.zStep);
    record.rasterAlongX = cutting.rasterAlongX;
    record.rasterAlongY = cutting.rasterAlongY;
    std::string bytes = EncodeDocument(picture, record);
    for (int flips = in.ConsumeIntegralInRange(0, 3); flips > 0; --flips) {
        const std::size_t at = bytes.size() - JobRecord::kSize + in.ConsumeIntegralInRange<std::size_t>(0, 31);
        bytes[at] = static_cast<char>(in.ConsumeIntegral<std::uint8_t>());
    }
    LoadedDocument document;
    try {
        document = DecodeDocument(bytes);
    } catch (const PictureError&) {
        return false;
    }
    if (!document.record) return false;
    const JobRecord& stored = *document.record;
    job.picture = std::move(document.picture);
    job.placement.reset(ComputeImageScale(ImageInfo{}, job.picture.width, job.picture.height, job.picture.dpiX, false));
    job.placement.restoreSize(stored.workWidth, stored.workHeight, stored.keepRatio);
    job.placement.originEdited();
    job.placement.typedOrigin(stored.originX, stored.originY);
    job.relief.setWhiteZ(stored.whiteZ);
    job.relief.setBlackZ(stored.blackZ);
    job.cutter = stored.tool;
    job.cutting.feedPlaneZ = stored.feedPlaneZ;
    job.cutting.stepOver = stored.stepOver;
    job.cutting.stockAllowance = stored.stock;
    job.cutting.filterTolerance = stored.filter;
    job.cutting.passCount = stored.zPasses;
    job.cutting.zStep = stored.zStep;
    job.cutting.rasterAlongX = stored.rasterAlongX;
    job.cutting.rasterAlongY = stored.rasterAlongY;
    return true;
}

}  // namespace
}  // namespace calvoro

// Each value drawn takes a few bytes: an empty corpus folder named on the
// command line gets a few longer inputs to start from, so that a short run
// already reaches typed texts, several edits and the cutting values.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i) {
        const std::filesystem::path folder = (*argv)[i];
        if ((*argv)[i][0] == '-' || !std::filesystem::is_directory(folder) || !std::filesystem::is_empty(folder))
            continue;
        std::mt19937 random(7);
        for (int seed = 0; seed < 12; ++seed) {
            std::string bytes(48 + 16 * seed, '\0');
            for (char& byte : bytes) byte = static_cast<char>(random());
            calvoro::WriteFileAtomically(folder / ("seed" + std::to_string(seed)), bytes);
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace calvoro;
    FuzzedDataProvider in(data, size);
    Job job;
    if (!(in.ConsumeBool() ? StoredJob(in, job) : TypedJob(in, job))) return 0;
    const int decimals = in.ConsumeIntegralInRange(2, 4);

    const ImageInfo& info = job.placement.info();
    ReliefValues values = job.relief;
    PlaceRelief(info, values);
    shownInfo = &info;
    shownValues = &values;
    // The relief's pixels span the box shown, to within a pixel.
    const double spanX = (info.PixelWidth - 1) * static_cast<double>(values.PixelSize);
    const double spanY = (info.PixelHeight - 1) * static_cast<double>(values.CellSizeY());
    Require(spanX <= info.SizeX * (1 + 1e-5), "the columns reach past the width shown");
    Require(spanX >= info.SizeX - values.PixelSize * (1 + 1e-5),
            "the columns fall over a pixel short of the width shown");
    Require(spanY <= info.SizeY * (1 + 1e-5), "the rows reach past the height shown");
    Require(spanY >= info.SizeY - values.CellSizeY() * (1 + 1e-5),
            "the rows fall over a pixel short of the height shown");

    const double smallerCell = std::min(values.PixelSize, values.CellSizeY());
    if ((job.cutter.diameter / 2.0 + job.cutting.stockAllowance) / smallerCell > kMaxFootprintPixels) return 0;
    // A scrambled record may place the picture kilometres wide: millions of
    // raster lines are a long job, not a finding.
    if (job.cutting.stepOver > 0 && (spanX + spanY) / job.cutting.stepOver > kMaxRasterLines) return 0;

    NcComputation computation;
    try {
        computation.relief = BuildRelief(job.picture, values);
    } catch (const std::invalid_argument&) {
        return 0;  // depths that are no numbers
    }
    computation.request.cutter = job.cutter;
    computation.request.parameters = job.cutting;
    computation.request.placement = ToolPathPlacement(values);
    computation.request.threads = 1;
    for (AxisSettings& axis : computation.post.axes) axis.format.precision = decimals;
    computation.job = MakeNcJobValues(job.cutter, "job.nc");
    NcComputed computed;
    try {
        computed = ComputeNcProgram(computation, nullptr);
    } catch (const ToolPathError&) {
        return 0;
    } catch (const NcProgramError&) {
        return 0;
    }

    const test::ProgramExtents cut = test::WrittenExtents(computed.program.text);
    Require(cut.unreadable == 0, "an X or Y word without a number");
    if (cut.words == 0) return 0;
    const double radius = job.cutter.diameter / 2.0;
    const double slack = 0.5 * std::pow(10.0, -decimals) +
                         1e-5 * (std::fabs(info.X0) + std::fabs(info.Y0) + info.SizeX + info.SizeY + 1);
    Require(cut.minX >= info.X0 - radius - slack, "X written left of the work box");
    Require(cut.maxX <= info.X0 + info.SizeX + radius + slack, "X written right of the work box");
    Require(cut.minY >= info.Y0 - radius - slack, "Y written below the work box");
    Require(cut.maxY <= info.Y0 + info.SizeY + radius + slack, "Y written above the work box");
    return 0;
}
