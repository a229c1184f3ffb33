// The process-wide XML tree that the update check reads the manifest into.
// Pure logic: no Win32 call, built natively for the unit tests and the fuzzer.
#pragma once

#include <memory>
#include <string>
#include <string_view>

struct ManifestElement;

class ManifestTree {
public:
    ManifestTree();
    ~ManifestTree();
    ManifestTree(const ManifestTree&) = delete;
    ManifestTree& operator=(const ManifestTree&) = delete;

    // Discards the loaded document, then parses `document` (GBK bytes).
    // True when a document was loaded; on any error the tree stays empty.
    bool LoadDocument(std::string_view document);

    // The decoded value of attribute `name` of the element at `nodePath`
    // ("root/child/..."), or empty text when anything is missing.
    std::string ReadAttribute(std::string_view nodePath, std::string_view name) const;

    bool HasDocument() const { return root_ != nullptr; }
    void Release();

private:
    std::unique_ptr<ManifestElement> root_;
};
