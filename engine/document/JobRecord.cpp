#include "engine/document/JobRecord.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string_view>

#include "engine/document/DocumentError.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"

namespace calvoro {

namespace {

namespace off = job_record_offset;

// The offsets are written out rather than implied by the order of the calls:
// every field first moves to its own offset.
void MoveTo(BinaryWriter& out, std::size_t offset) {
    if (out.position() > offset)
        throw std::logic_error("job record fields overlap at offset " + std::to_string(offset));
    out.writeBytes(std::string(offset - out.position(), '\0'));
}

void MoveTo(BinaryReader& in, std::size_t offset) {
    if (in.position() > offset) throw std::logic_error("job record fields overlap at offset " + std::to_string(offset));
    in.skip(offset - in.position());
}

void CheckFinite(float value, std::string_view field) {
    if (!std::isfinite(value))
        throw DocumentError("The job record's " + std::string(field) + " is not a finite number.");
}

void CheckLength(const std::string& text, std::size_t most, std::string_view field) {
    if (text.size() > most)
        throw DocumentError("The " + std::string(field) + " is " + std::to_string(text.size()) +
                            " bytes long; a job record holds at most " + std::to_string(most) + ".");
}

// A zero would end the text early when it is read back.
void CheckZeroTerminatedText(const std::string& text, std::size_t field, std::string_view what) {
    CheckLength(text, field, what);
    if (text.find('\0') != std::string::npos) throw DocumentError("The " + std::string(what) + " holds a zero byte.");
}

// What both the encoder and the decoder require of a record.
void CheckRecord(const JobRecord& r) {
    CheckFinite(r.workWidth, "work width");
    CheckFinite(r.workHeight, "work height");
    CheckFinite(r.originX, "reference point X");
    CheckFinite(r.originY, "reference point Y");
    CheckFinite(r.whiteZ, "Z of white");
    CheckFinite(r.blackZ, "Z of black");
    CheckZeroTerminatedText(r.ncFileName, JobRecord::kNcFileNameField, "NC file name");
    CheckZeroTerminatedText(r.postName, JobRecord::kPostNameField, "post-processor name");
    CheckLength(r.tool.name, ToolRecord::kMaxNameLength, "tool name");
    const auto type = static_cast<std::int32_t>(r.tool.toolType);
    if (type < 0 || type > static_cast<std::int32_t>(ToolType::Undefined))
        throw DocumentError("The job record's tool type " + std::to_string(type) + " is unknown.");
    CheckFinite(r.tool.feedRate, "tool feed");
    CheckFinite(r.tool.plungeRate, "tool plunge feed");
    CheckFinite(r.tool.diameter, "tool diameter");
    CheckFinite(r.tool.cornerRadius, "tool corner radius");
    CheckFinite(r.tool.taperAngle, "tool angle");
    CheckFinite(r.tool.flatDiameter, "tool tip diameter");
    CheckFinite(r.tool.passDepth, "tool pass depth");
    CheckFinite(r.feedPlaneZ, "feed plane Z");
    CheckFinite(r.stepOver, "step over");
    CheckFinite(r.stock, "stock to leave");
    CheckFinite(r.filter, "filter");
    if (r.zPasses < 1 || r.zPasses > JobRecord::kMaxZPasses)
        throw DocumentError("The job record's number of Z passes is " + std::to_string(r.zPasses) +
                            "; it must lie between 1 and " + std::to_string(JobRecord::kMaxZPasses) + ".");
    CheckFinite(r.zStep, "depth per pass");
}

void WriteText(BinaryWriter& out, const std::string& text, std::size_t field) {
    out.writeBytes(text);
    out.writeBytes(std::string(field - text.size(), '\0'));
}

// The text up to its first zero, or the whole field.
std::string ReadText(BinaryReader& in, std::size_t field) {
    std::string text = in.readBytes(field);
    text.resize(std::min(text.find('\0'), field));
    return text;
}

bool ReadFlag(BinaryReader& in, std::string_view field) {
    const std::uint8_t value = in.readUInt8();
    if (value > 1)
        throw DocumentError("The job record's " + std::string(field) + " flag holds " + std::to_string(value) +
                            " instead of 0 or 1.");
    return value == 1;
}

}  // namespace

JobRecordBytes EncodeJobRecord(const JobRecord& record) {
    CheckRecord(record);
    BinaryWriter out;
    MoveTo(out, off::kWorkWidth);
    out.writeFloat32(record.workWidth);
    MoveTo(out, off::kWorkHeight);
    out.writeFloat32(record.workHeight);
    MoveTo(out, off::kKeepRatio);
    out.writeBool(record.keepRatio);
    MoveTo(out, off::kOriginX);
    out.writeFloat32(record.originX);
    MoveTo(out, off::kOriginY);
    out.writeFloat32(record.originY);
    MoveTo(out, off::kWhiteZ);
    out.writeFloat32(record.whiteZ);
    MoveTo(out, off::kBlackZ);
    out.writeFloat32(record.blackZ);
    MoveTo(out, off::kNcFileName);
    WriteText(out, record.ncFileName, JobRecord::kNcFileNameField);
    MoveTo(out, off::kPostName);
    WriteText(out, record.postName, JobRecord::kPostNameField);
    MoveTo(out, off::kTool);
    const ToolRecordBytes tool = EncodeToolRecord(record.tool);
    out.writeBytes(tool.data(), tool.size());
    MoveTo(out, off::kFeedPlaneZ);
    out.writeFloat32(record.feedPlaneZ);
    MoveTo(out, off::kStepOver);
    out.writeFloat32(record.stepOver);
    MoveTo(out, off::kStock);
    out.writeFloat32(record.stock);
    MoveTo(out, off::kFilter);
    out.writeFloat32(record.filter);
    MoveTo(out, off::kZPasses);
    out.writeInt32(record.zPasses);
    MoveTo(out, off::kZStep);
    out.writeFloat32(record.zStep);
    MoveTo(out, off::kRasterAlongX);
    out.writeBool(record.rasterAlongX);
    MoveTo(out, off::kRasterAlongY);
    out.writeBool(record.rasterAlongY);
    MoveTo(out, JobRecord::kSize);

    JobRecordBytes bytes;
    const std::string& written = out.bytes();
    std::copy(written.begin(), written.end(), bytes.begin());
    return bytes;
}

JobRecord DecodeJobRecord(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != JobRecord::kSize)
        throw DocumentError("A job record is " + std::to_string(JobRecord::kSize) + " bytes long, not " +
                            std::to_string(bytes.size()) + ".");
    BinaryReader in(bytes.data(), bytes.size());
    JobRecord record;
    MoveTo(in, off::kWorkWidth);
    record.workWidth = in.readFloat32();
    MoveTo(in, off::kWorkHeight);
    record.workHeight = in.readFloat32();
    MoveTo(in, off::kKeepRatio);
    record.keepRatio = ReadFlag(in, "keep ratio");
    MoveTo(in, off::kOriginX);
    record.originX = in.readFloat32();
    MoveTo(in, off::kOriginY);
    record.originY = in.readFloat32();
    MoveTo(in, off::kWhiteZ);
    record.whiteZ = in.readFloat32();
    MoveTo(in, off::kBlackZ);
    record.blackZ = in.readFloat32();
    MoveTo(in, off::kNcFileName);
    record.ncFileName = ReadText(in, JobRecord::kNcFileNameField);
    MoveTo(in, off::kPostName);
    record.postName = ReadText(in, JobRecord::kPostNameField);

    // The tool codec makes a damaged name length or type safe; in a job they
    // mean a damaged record, so they are looked at before it runs.
    const std::span<const std::uint8_t> tool = bytes.subspan(off::kTool, ToolRecord::kSize);
    const std::uint8_t nameLength = tool[tool_record_offset::kNameLength];
    if (nameLength > ToolRecord::kMaxNameLength)
        throw DocumentError("The job record's tool name claims " + std::to_string(nameLength) +
                            " bytes; its field holds " + std::to_string(ToolRecord::kMaxNameLength) + ".");
    BinaryReader typeReader(tool.data() + tool_record_offset::kToolType, 4);
    const std::int32_t type = typeReader.readInt32();
    if (type < 0 || type > static_cast<std::int32_t>(ToolType::Undefined))
        throw DocumentError("The job record's tool type " + std::to_string(type) + " is unknown.");
    record.tool = DecodeToolRecord(tool);
    MoveTo(in, off::kTool + ToolRecord::kSize);

    MoveTo(in, off::kFeedPlaneZ);
    record.feedPlaneZ = in.readFloat32();
    MoveTo(in, off::kStepOver);
    record.stepOver = in.readFloat32();
    MoveTo(in, off::kStock);
    record.stock = in.readFloat32();
    MoveTo(in, off::kFilter);
    record.filter = in.readFloat32();
    MoveTo(in, off::kZPasses);
    record.zPasses = in.readInt32();
    MoveTo(in, off::kZStep);
    record.zStep = in.readFloat32();
    MoveTo(in, off::kRasterAlongX);
    record.rasterAlongX = ReadFlag(in, "raster along X");
    MoveTo(in, off::kRasterAlongY);
    record.rasterAlongY = ReadFlag(in, "raster along Y");
    CheckRecord(record);
    return record;
}

}  // namespace calvoro
