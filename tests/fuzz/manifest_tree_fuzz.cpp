// Loads arbitrary bytes as a manifest and reads it the way the update check
// and the hand-off do. Besides memory errors and hangs it catches a load
// that leaves a stale document behind or reports success without one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "update/manifest_tree.h"

namespace {

// GBK bytes, written as escapes so that any compiler reads them alike.
constexpr std::string_view VersionPath = "\xD7\xEE\xD0\xC2\xB0\xE6\xB1\xBE/\xB0\xE6\xB1\xBE\xD0\xC5\xCF\xA2";
constexpr std::string_view RootPath = "\xD7\xEE\xD0\xC2\xB0\xE6\xB1\xBE";
constexpr std::string_view VersionName = "\xB0\xE6\xB1\xBE\xBA\xC5";
constexpr std::string_view NotesName = "\xC9\xFD\xBC\xB6\xCB\xB5\xC3\xF7";

constexpr std::string_view Paths[] = {VersionPath, RootPath, "a", "a/b", "a/b/c", "<&>/\"'", "a/\x81/"};
constexpr std::string_view Names[] = {VersionName, NotesName, "a", "&", "\x81"};

constexpr std::string_view ValidManifest =
    "<\xD7\xEE\xD0\xC2\xB0\xE6\xB1\xBE><\xB0\xE6\xB1\xBE\xD0\xC5\xCF\xA2 \xB0\xE6\xB1\xBE\xBA\xC5=\"3.3\"/>"
    "</\xD7\xEE\xD0\xC2\xB0\xE6\xB1\xBE>";

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view document(reinterpret_cast<const char*>(data), size);
    ManifestTree tree;
    Check(tree.LoadDocument(ValidManifest));

    const bool loaded = tree.LoadDocument(document);
    Check(loaded == tree.HasDocument());
    for (std::string_view path : Paths) {
        for (std::string_view name : Names) {
            const std::string value = tree.ReadAttribute(path, name);
            Check(loaded || value.empty());
            Check(value.size() <= size);
        }
    }

    // A tree that held a document before must read like a fresh one.
    ManifestTree again;
    Check(again.LoadDocument(document) == loaded);
    Check(again.ReadAttribute(VersionPath, VersionName) == tree.ReadAttribute(VersionPath, VersionName));
    return 0;
}
