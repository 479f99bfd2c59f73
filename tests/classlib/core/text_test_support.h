// Helpers of the text, stream and INI tests: scratch files in the test's
// working folder, read and written byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "classlib/core/types.h"

// A file name unique to the running test, removed when the object goes.
class TScratchFile {
public:
    explicit TScratchFile(const char* suffix = ".txt") {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        FName = String("scratch-") + info->test_suite_name() + "-" + info->name() + "-" + std::to_string(++Counter()) +
                suffix;
        for (char& c : FName)
            if (c == '/') c = '_';
        std::remove(FName.c_str());
    }
    ~TScratchFile() { std::remove(FName.c_str()); }
    TScratchFile(const TScratchFile&) = delete;
    TScratchFile& operator=(const TScratchFile&) = delete;

    const String& Name() const { return FName; }

    void Write(const String& bytes) const {
        std::FILE* f = std::fopen(FName.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }

    String Read() const {
        String out;
        std::FILE* f = std::fopen(FName.c_str(), "rb");
        if (!f) return "<missing>";
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        std::fclose(f);
        return out;
    }

    bool Exists() const {
        std::FILE* f = std::fopen(FName.c_str(), "rb");
        if (f) std::fclose(f);
        return f != nullptr;
    }

private:
    static int& Counter() {
        static int n = 0;
        return n;
    }
    String FName;
};

// Runs statement and checks it throws E with exactly message.
#define EXPECT_THROW_MSG(statement, E, message)                                                                        \
    do {                                                                                                               \
        try {                                                                                                          \
            statement;                                                                                                 \
            ADD_FAILURE() << "no " #E " from " #statement;                                                             \
        } catch (const E& e) {                                                                                         \
            EXPECT_EQ(String(e.Message()), String(message));                                                           \
        }                                                                                                              \
    } while (0)
