// Post-processor definitions for the tests: the SBO and Heidenhain dialects
// set up by hand on the initial values, the definitions shipped in data/pst,
// and the job's values as the NC page hands them over.
#pragma once

#include "engine/post/PostLoader.h"
#include "engine/post/PostTemplate.h"
#include "tests/support/SourceTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace calvoro::test {

inline void SboDialect(PostSettings& s) {
    s.dialect = PostDialect::Sbo;
    s.outputSeq = s.gModal = s.delZero = false;
    s.separator = "";
    s.gWords = {"J", "M", "", ""};
    s.sboXyPrefix = "2,";
    s.sboXyzPrefix = "3,";
    for (auto& axis : s.axes) axis.prefix += ",", axis.format.precision = 3;
}

inline void HeidenhainDialect(PostSettings& s) {
    s.dialect = PostDialect::Hei;
    s.gWords = {"L", "L", "C", "C"};
    s.gModal = false;
    s.feedRapid = "FMAX";
    s.seqPrefix.clear();
    s.startComment = ";";
    s.endComment.clear();
}

inline std::vector<std::string> ShippedPostNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(ShippedData() / "pst"))
        if (entry.path().extension() == ".pst") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A shipped definition, which must load without a report.
inline PostSettings LoadShippedPost(const std::string& name) {
    PostSettings current;
    current.postName = name;
    PostLoadResult result = LoadPostProcessor(ShippedData(), current);
    EXPECT_TRUE(result.found) << name;
    for (const auto& problem : result.problems) ADD_FAILURE() << name << ": " << problem;
    return result.settings;
}

// The tool's name holds brackets, which a comment cannot.
inline NcJobValues JobValues(const char* feed = "1000", const char* plunge = "300") {
    NcJobValues job;
    job.toolNumber = 3;
    job.toolName = "Ball (6mm) rough";
    job.spindleSpeedText = "18000";
    job.feedText = feed;
    job.plungeText = plunge;
    job.ncFileName = "relief.nc";
    return job;
}

}  // namespace calvoro::test
