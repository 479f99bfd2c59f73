// Writes the seeds of the version-resource fuzzer into the folder given on
// the command line: valid resources of both layouts and a few malformed ones.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/storage/support/version_resource_builder.h"

namespace {

void Write(const std::filesystem::path& folder, const char* name, const std::vector<Byte>& bytes) {
    std::FILE* f = std::fopen((folder / name).string().c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);

    Write(folder, "sample-32bit", SampleResource().Bytes());
    Write(folder, "sample-16bit", [] {
        TVersionBlock table = NodeBlock("040904E4");
        table.Child(TextBlock("CompanyName", "Quillmere Software", false)).Child(TextBlock("ProductName", "Q", false));
        TVersionBlock root = RootBlock();
        root.Child(NodeBlock("StringFileInfo").Child(table)).Child(TranslationBlock({0x04E40409}));
        return root.Bytes(false);
    }());
    Write(folder, "two-tables-binary-values", [] {
        TVersionBlock english = NodeBlock("040904E4");
        english.Child(BinaryBlock("Two", {0x34, 0x12})).Child(BinaryBlock("Six", {'a', 0, 'b', 0, 0, 0}));
        TVersionBlock german = NodeBlock("0x04070x04B0");
        german.Child(TextBlock("ProductName", "Federmeer"));
        TVersionBlock root = RootBlock();
        root.Child(NodeBlock("StringFileInfo").Child(english).Child(german)).Child(TranslationBlock({1, 2, 3}));
        return root.Bytes();
    }());
    Write(folder, "root-only", RootBlock().Bytes());
    Write(folder, "string-too-long", [] {
        TVersionBlock root = SampleResource();
        root.Children[0].Children[0].Children[1].ForcedLength = 0x400;
        return root.Bytes();
    }());
    return 0;
}
