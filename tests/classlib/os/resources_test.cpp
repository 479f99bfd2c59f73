#include "classlib/os/resources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// test_resources.rc compiles resource_blob.txt into this program twice:
// by name and by number.
const String kBlob = "A resource compiled into the test program.\r\nSecond line.\r\n";

String ReadAll(TStream& stream) {
    String text;
    char buffer[7];  // small, so that reads cross the buffer's end
    Int64 n;
    while ((n = stream.Read(buffer, sizeof(buffer))) > 0) text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

TEST(ResourceStream, ReadsANamedResource) {
    TResourceStream s(GetModuleHandleA(nullptr), "TESTBLOB", RT_RCDATA);
    EXPECT_EQ(s.Size(), static_cast<Int64>(kBlob.size()));
    EXPECT_EQ(ReadAll(s), kBlob);
    EXPECT_EQ(String(static_cast<const char*>(s.Memory()), kBlob.size()), kBlob);
}

TEST(ResourceStream, ReadsANumberedResource) {
    TResourceStream byId(GetModuleHandleA(nullptr), 42, RT_RCDATA);
    EXPECT_EQ(ReadAll(byId), kBlob);
    TResourceStream byText(GetModuleHandleA(nullptr), "#42", RT_RCDATA);
    EXPECT_EQ(ReadAll(byText), kBlob);
}

TEST(ResourceStream, SeeksLikeAMemoryStream) {
    TResourceStream s(nullptr, "TESTBLOB", RT_RCDATA);  // null: the program itself
    const Int64 size = s.Size();
    EXPECT_EQ(s.Seek(-7, soEnd), size - 7);
    char tail[6];
    EXPECT_EQ(s.Read(tail, 6), 6);
    EXPECT_EQ(String(tail, 6), "line.\r");
    EXPECT_EQ(s.Read(tail, 6), 1);
    EXPECT_EQ(s.Position(), size);
    EXPECT_EQ(s.Read(tail, 6), 0);

    EXPECT_EQ(s.Seek(2, soBeginning), 2);
    EXPECT_EQ(s.Seek(3, soCurrent), 5);
    EXPECT_EQ(s.Seek(100, soEnd), size + 100);  // past the end: reads give nothing
    EXPECT_EQ(s.Read(tail, 6), 0);
    EXPECT_EQ(s.Seek(-1000, soCurrent), 0);  // never before the start
}

TEST(ResourceStream, IsReadOnly) {
    TResourceStream s(nullptr, "EMPTYISH", RT_RCDATA);
    EXPECT_EQ(s.Size(), 1);
    try {
        s.Write("y", 1);
        ADD_FAILURE() << "no exception";
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), "Can't write to a read-only resource stream");
    }
    EXPECT_THROW(s.SetSize(0), EStreamError);
}

TEST(ResourceStream, MissingResourceRaises) {
    struct Case {
        String name;
        const char* type;
    };
    const Case cases[] = {{"NOSUCHBLOB", RT_RCDATA}, {"TESTBLOB", RT_BITMAP}};
    for (const Case& c : cases) {
        try {
            TResourceStream s(nullptr, c.name, c.type);
            ADD_FAILURE() << "no exception for " << c.name;
        } catch (const EResNotFound& e) {
            EXPECT_EQ(e.Message(), "Resource " + c.name + " not found");
        }
    }
    EXPECT_THROW(TResourceStream(nullptr, 4711, RT_RCDATA), EResNotFound);
}

}  // namespace
