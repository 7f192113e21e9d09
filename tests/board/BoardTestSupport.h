#pragma once

#include "FileConv.h"
#include "NumberedError.h"
#include "PaiStructure.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

inline uint16_t Code(int layer, int column, int row)
{
    return static_cast<uint16_t>(layer * 2048 + column * 32 + row);
}

// A file in the test folder, named after the running test so that tests
// running side by side never share one.
inline std::string TempPath(const std::string& suffix)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(TOVRIK_TEST_TMP) + "/" + info->test_suite_name() + "." + info->name() + "." + suffix;
}

inline std::string ClassicPath() { return std::string(TOVRIK_SOURCE_DIR) + "/data/template/classic.tvm"; }

// 41 count bytes with the given (class, byte) pairs set.
inline std::vector<uint8_t> Counts(std::initializer_list<std::pair<int, int>> classes)
{
    std::vector<uint8_t> counts(41, 0);
    for (const auto& [k, value] : classes)
        counts[k] = static_cast<uint8_t>(value);
    return counts;
}

inline std::string WriteLayout(const std::vector<uint16_t>& positions, const std::vector<uint8_t>& counts,
                               int setSize, const std::string& suffix = "tvm")
{
    FileConv file;
    file.PutPositionArray(positions);
    file.PutPaiArray(counts);
    file.PutPlaytime(setSize);
    file.PutMessage(u"test");
    const std::string path = TempPath(suffix);
    file.SaveFile(path);
    return path;
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The error an action throws: its number and text, or 0 and "" when it succeeds.
inline std::pair<int, std::string> Failure(const std::function<void()>& action)
{
    try {
        action();
    } catch (const NumberedError& error) {
        return {error.number(), error.what()};
    }
    return {0, {}};
}

inline int ErrorNumber(const std::function<void()>& action) { return Failure(action).first; }
inline std::string ErrorText(const std::function<void()>& action) { return Failure(action).second; }
