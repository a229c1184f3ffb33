// A small XML reader for the update manifest. The manifest is downloaded,
// so every byte here is untrusted: the reader walks the text once, keeps its
// open elements on an explicit stack of bounded depth, and fails rather than
// guesses.
//
// Comments go before anything else is parsed, wherever they stand, even
// inside a quoted value; one without its end runs to the end of the input.
//
// What it accepts beyond the plain manifest form:
// - white space inside tags may be any run of blanks, tabs, CR and LF;
// - attribute values may stand in single quotes as well as double quotes;
// - element text, CDATA sections, processing instructions and document type
//   declarations are skipped wherever they stand, and text is never stored.
// What makes a load fail beyond the plain errors:
// - a second root element, since there is no open element left to hold it;
// - an attribute without "=" and a quoted value, or one not set apart by
//   white space from the name or the attribute before it;
// - elements nested deeper than MaxNestingDepth.
#include "update/manifest_tree.h"

#include <algorithm>
#include <vector>

#include "shell/gbk_text.h"

struct ManifestAttribute {
    std::string name;
    std::string value;  // as written between the quotes
};

struct ManifestElement {
    std::string name;
    std::vector<ManifestAttribute> attributes;
    std::vector<std::unique_ptr<ManifestElement>> children;
};

namespace {

constexpr std::size_t MaxNestingDepth = 256;
constexpr std::string_view CommentOpen = "<!--";
constexpr std::string_view CommentClose = "-->";
constexpr std::string_view CdataOpen = "<![CDATA[";
constexpr std::string_view CdataClose = "]]>";
constexpr std::string_view InstructionOpen = "<?";
constexpr std::string_view InstructionClose = "?>";
constexpr std::string_view DeclarationOpen = "<!";
constexpr std::string_view EndTagOpen = "</";
constexpr std::string_view EmptyTagClose = "/>";
constexpr char PathSeparator = '/';

struct EntityReference {
    std::string_view text;
    char character;
};

// The first reference for a character is the one that names are escaped
// with; "&quote;", a common misspelling, is read as a double quote too.
constexpr EntityReference EntityReferences[] = {
    {"&lt;", '<'},     {"&gt;", '>'},    {"&amp;", '&'},
    {"&apos;", '\''},  {"&quot;", '"'},  {"&quote;", '"'},
};

// A lead byte at the very end has no second byte and counts alone.
std::size_t CharLength(std::string_view text, std::size_t at)
{
    return IsGbkLeadByte(text[at]) && at + 1 < text.size() ? 2 : 1;
}

// Offset of the first `token` at or after `from` that begins a character,
// or npos. Tokens are ASCII, so a match that begins a character is whole.
std::size_t FindMarkup(std::string_view text, std::size_t from, std::string_view token)
{
    for (std::size_t at = from; at < text.size(); at += CharLength(text, at)) {
        if (text.substr(at).starts_with(token))
            return at;
    }
    return std::string_view::npos;
}

std::string RemoveComments(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t open = FindMarkup(text, from, CommentOpen);
        if (open == std::string_view::npos) {
            kept.append(text.substr(from));
            break;
        }
        kept.append(text.substr(from, open - from));
        const std::size_t close = FindMarkup(text, open + CommentOpen.size(), CommentClose);
        if (close == std::string_view::npos)
            break;
        from = close + CommentClose.size();
    }
    return kept;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool EndsName(char c)
{
    return IsSpace(c) || c == '/' || c == '>' || c == '<' || c == '=' || c == '"' || c == '\'';
}

bool HasDuplicateAttribute(const ManifestElement& element)
{
    std::vector<std::string_view> names;
    names.reserve(element.attributes.size());
    for (const ManifestAttribute& attribute : element.attributes)
        names.push_back(attribute.name);
    std::sort(names.begin(), names.end());
    return std::adjacent_find(names.begin(), names.end()) != names.end();
}

class DocumentParser {
public:
    explicit DocumentParser(std::string_view text) : text_(text) {}

    // The root element, or null when the text is not a well-formed document.
    std::unique_ptr<ManifestElement> Parse()
    {
        while (pos_ < text_.size()) {
            if (text_[pos_] != '<')
                pos_ += CharLength(text_, pos_);
            else if (!ParseMarkup())
                return nullptr;
        }
        if (!open_.empty())
            return nullptr;
        return std::move(root_);
    }

private:
    bool ParseMarkup()
    {
        const std::string_view rest = text_.substr(pos_);
        if (rest.starts_with(InstructionOpen))
            return SkipPast(InstructionOpen, InstructionClose);
        if (rest.starts_with(CdataOpen))
            return SkipPast(CdataOpen, CdataClose);
        if (rest.starts_with(DeclarationOpen))
            return SkipDeclaration();
        if (rest.starts_with(EndTagOpen))
            return ParseEndTag();
        return ParseStartTag();
    }

    bool SkipPast(std::string_view open, std::string_view close)
    {
        const std::size_t at = FindMarkup(text_, pos_ + open.size(), close);
        if (at == std::string_view::npos)
            return false;
        pos_ = at + close.size();
        return true;
    }

    // A document type declaration may carry an internal subset in brackets
    // whose own declarations end in '>'.
    bool SkipDeclaration()
    {
        bool inSubset = false;
        for (std::size_t at = pos_ + DeclarationOpen.size(); at < text_.size();
             at += CharLength(text_, at)) {
            if (text_[at] == '[') {
                inSubset = true;
            } else if (text_[at] == ']') {
                inSubset = false;
            } else if (text_[at] == '>' && !inSubset) {
                pos_ = at + 1;
                return true;
            }
        }
        return false;
    }

    bool ParseStartTag()
    {
        ++pos_;
        auto element = std::make_unique<ManifestElement>();
        element->name = ReadName();
        if (element->name.empty())
            return false;
        bool isEmpty = false;
        if (!ReadAttributes(*element, isEmpty) || HasDuplicateAttribute(*element))
            return false;
        return AttachElement(std::move(element), isEmpty);
    }

    bool ParseEndTag()
    {
        pos_ += EndTagOpen.size();
        const std::string_view name = ReadName();
        SkipSpaces();
        if (pos_ >= text_.size() || text_[pos_] != '>')
            return false;
        ++pos_;
        if (open_.empty() || open_.back()->name != name)
            return false;
        open_.pop_back();
        return true;
    }

    bool AttachElement(std::unique_ptr<ManifestElement> element, bool isEmpty)
    {
        if (open_.size() >= MaxNestingDepth)
            return false;
        ManifestElement* const attached = element.get();
        if (!root_)
            root_ = std::move(element);
        else if (open_.empty())
            return false;
        else
            open_.back()->children.push_back(std::move(element));
        if (!isEmpty)
            open_.push_back(attached);
        return true;
    }

    bool ReadAttributes(ManifestElement& element, bool& isEmpty)
    {
        for (;;) {
            const bool spaced = SkipSpaces();
            if (pos_ >= text_.size())
                return false;
            if (text_[pos_] == '>') {
                ++pos_;
                return true;
            }
            if (text_.substr(pos_).starts_with(EmptyTagClose)) {
                pos_ += EmptyTagClose.size();
                isEmpty = true;
                return true;
            }
            if (!spaced)
                return false;
            ManifestAttribute attribute;
            attribute.name = ReadName();
            SkipSpaces();
            if (attribute.name.empty() || pos_ >= text_.size() || text_[pos_] != '=')
                return false;
            ++pos_;
            SkipSpaces();
            if (!ReadQuotedValue(attribute.value))
                return false;
            element.attributes.push_back(std::move(attribute));
        }
    }

    bool ReadQuotedValue(std::string& value)
    {
        if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\''))
            return false;
        const char quote = text_[pos_++];
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != quote)
            pos_ += CharLength(text_, pos_);
        if (pos_ >= text_.size())
            return false;
        value = text_.substr(start, pos_ - start);
        ++pos_;
        return true;
    }

    std::string_view ReadName()
    {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !EndsName(text_[pos_]))
            pos_ += CharLength(text_, pos_);
        return text_.substr(start, pos_ - start);
    }

    // True when at least one space was skipped.
    bool SkipSpaces()
    {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsSpace(text_[pos_]))
            ++pos_;
        return pos_ != start;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::unique_ptr<ManifestElement> root_;
    std::vector<ManifestElement*> open_;
};

const EntityReference* FindReferenceFor(char character)
{
    for (const EntityReference& entity : EntityReferences) {
        if (entity.character == character)
            return &entity;
    }
    return nullptr;
}

const EntityReference* FindReferenceAt(std::string_view text)
{
    for (const EntityReference& entity : EntityReferences) {
        if (text.starts_with(entity.text))
            return &entity;
    }
    return nullptr;
}

// Names are compared as they stand in the document, where these characters
// can only appear as references.
std::string EscapeName(std::string_view name)
{
    std::string escaped;
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t length = CharLength(name, at);
        if (const EntityReference* reference = FindReferenceFor(name[at]))
            escaped.append(reference->text);
        else
            escaped.append(name.substr(at, length));
        at += length;
    }
    return escaped;
}

std::string DecodeEntities(std::string_view value)
{
    std::string decoded;
    decoded.reserve(value.size());
    for (std::size_t at = 0; at < value.size();) {
        if (const EntityReference* reference = FindReferenceAt(value.substr(at))) {
            decoded += reference->character;
            at += reference->text.size();
        } else {
            const std::size_t length = CharLength(value, at);
            decoded.append(value.substr(at, length));
            at += length;
        }
    }
    return decoded;
}

std::vector<std::string_view> SplitPath(std::string_view path)
{
    std::vector<std::string_view> steps;
    std::size_t start = 0;
    for (std::size_t at = 0; at < path.size(); at += CharLength(path, at)) {
        if (path[at] == PathSeparator) {
            steps.push_back(path.substr(start, at - start));
            start = at + 1;
        }
    }
    steps.push_back(path.substr(start));
    return steps;
}

const ManifestElement* FindChild(const ManifestElement& parent, const std::string& name)
{
    for (const auto& child : parent.children) {
        if (child->name == name)
            return child.get();
    }
    return nullptr;
}

const ManifestElement* FindElement(const ManifestElement& root, std::string_view path)
{
    const std::vector<std::string_view> steps = SplitPath(path);
    if (EscapeName(steps.front()) != root.name)
        return nullptr;
    const ManifestElement* element = &root;
    for (std::size_t i = 1; i < steps.size() && element; ++i)
        element = FindChild(*element, EscapeName(steps[i]));
    return element;
}

}  // namespace

ManifestTree::ManifestTree() = default;
ManifestTree::~ManifestTree() = default;

bool ManifestTree::LoadDocument(std::string_view document)
{
    Release();
    if (document.empty())
        return false;
    const std::string uncommented = RemoveComments(document);
    root_ = DocumentParser(uncommented).Parse();
    return HasDocument();
}

std::string ManifestTree::ReadAttribute(std::string_view nodePath, std::string_view name) const
{
    if (nodePath.empty() || name.empty() || !root_)
        return {};
    const ManifestElement* element = FindElement(*root_, nodePath);
    if (!element)
        return {};
    const std::string wanted = EscapeName(name);
    for (const ManifestAttribute& attribute : element->attributes) {
        if (attribute.name == wanted)
            return DecodeEntities(attribute.value);
    }
    return {};
}

void ManifestTree::Release()
{
    root_.reset();
}
