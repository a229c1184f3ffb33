#include "update/manifest_tree.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string VersionPath = "最新版本/版本信息";

const std::string PublishedManifest =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<!-- 发布于 2024 年 -->\r\n"
    "<最新版本>\r\n"
    "<版本信息 版本号=\"3.3\" 升级说明=\"修复若干问题\" 下载地址=\"http://example.com/v.zip\" "
    "文件标题=\"Vantry\" 文件名=\"Vantry.exe\"/>\r\n"
    "</最新版本>\r\n";

std::string Nest(int depth, const std::string& innermost)
{
    std::string document;
    for (int i = 0; i < depth; ++i)
        document += "<a>";
    document += innermost;
    for (int i = 0; i < depth; ++i)
        document += "</a>";
    return document;
}

std::string NestedPath(int depth)
{
    std::string path = "a";
    for (int i = 1; i < depth; ++i)
        path += "/a";
    return path;
}

TEST(ManifestTreeTest, ReadsEveryAttributeOfPublishedManifest)
{
    ManifestTree tree;
    ASSERT_TRUE(tree.LoadDocument(PublishedManifest));
    const struct {
        std::string name;
        std::string value;
    } cases[] = {
        {"版本号", "3.3"},
        {"升级说明", "修复若干问题"},
        {"下载地址", "http://example.com/v.zip"},
        {"文件标题", "Vantry"},
        {"文件名", "Vantry.exe"},
        {"版本", ""},
        {"版本号 ", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tree.ReadAttribute(VersionPath, c.name), c.value);
    }
}

TEST(ManifestTreeTest, FindsNodesByPath)
{
    ManifestTree tree;
    ASSERT_TRUE(tree.LoadDocument(
        "<最新版本 名=\"根\">"
        "<其他 名=\"其他\"/>"
        "<版本信息 名=\"第一\"><内层 名=\"内层\"/></版本信息>"
        "<版本信息 名=\"第二\"/>"
        "<分组><版本信息 名=\"嵌套\"/></分组>"
        "</最新版本>"));
    const struct {
        std::string path;
        std::string value;
    } cases[] = {
        {"最新版本", "根"},
        {VersionPath, "第一"},
        {"最新版本/其他", "其他"},
        {"最新版本/版本信息/内层", "内层"},
        {"最新版本/分组/版本信息", "嵌套"},
        {"最新版本/内层", ""},
        {"版本信息", ""},
        {"最新版本/", ""},
        {"最新版本//版本信息", ""},
        {"/最新版本/版本信息", ""},
        {"最新版本/版本信息/", ""},
        {"最新/版本信息", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(tree.ReadAttribute(c.path, "名"), c.value);
    }
}

TEST(ManifestTreeTest, VersionInfoOneLevelTooDeepIsNotFound)
{
    ManifestTree tree;
    ASSERT_TRUE(tree.LoadDocument("<最新版本><分组><版本信息 版本号=\"3.3\"/></分组></最新版本>"));
    EXPECT_EQ(tree.ReadAttribute(VersionPath, "版本号"), "");
}

TEST(ManifestTreeTest, LoadsWhatTheManifestFormatLeavesOpen)
{
    const std::string cases[] = {
        "<最新版本><空/><版本信息 版本号=\"3.3\"></版本信息></最新版本>",
        "<最新版本>\n\t<版本信息\r\n\t版本号 = '3.3'\t/>\n</最新版本 >",
        "<最新版本>正文<![CDATA[ ]> </最新版本> <版本信息 版本号=\"0\"/>]]>"
        "<版本信息 版本号=\"3.3\">说明文字 a > b</版本信息></最新版本>",
        "<!DOCTYPE 最新版本 [<!ENTITY 说明 \"a>b</版本信息>\">]>"
        "<最新版本><?处理 指令?><版本信息 版本号=\"3.3\"/></最新版本>尾部文字",
        "<最新版本><版本信息 <!-- 注释先于解析去掉 -->版本号=\"3.3\"/></最新版本>",
        "<最新版本><版本信息 版本号=\"3<!-- 值里的注释也去掉 -->.3\"/></最新版本>",
    };
    for (const std::string& document : cases) {
        SCOPED_TRACE(document);
        ManifestTree tree;
        ASSERT_TRUE(tree.LoadDocument(document));
        EXPECT_EQ(tree.ReadAttribute(VersionPath, "版本号"), "3.3");
    }
}

TEST(ManifestTreeTest, RejectsDocumentsThatAreNotWellFormed)
{
    const struct {
        const char* why;
        std::string document;
    } cases[] = {
        {"empty", ""},
        {"text only", "3.3"},
        {"declaration only", "<?xml version=\"1.0\"?>"},
        {"comment only", "<!-- <最新版本/> -->"},
        {"duplicate attribute", "<最新版本><版本信息 版本号=\"3.3\" 版本号=\"3.4\"/></最新版本>"},
        {"mismatched end tag", "<最新版本><版本信息 版本号=\"3.3\"></最新版本></版本信息>"},
        {"root closed by child's end tag", "<最新版本><版本信息 版本号=\"3.3\"/></版本信息>"},
        {"stray end tag", "</最新版本><最新版本/>"},
        {"end tag after the root", "<最新版本/></最新版本>"},
        {"element left open", "<最新版本><版本信息 版本号=\"3.3\"/>"},
        {"second root element", "<最新版本/><最新版本/>"},
        {"attribute without value", "<最新版本 版本号/>"},
        {"unquoted value", "<最新版本 版本号=3.3/>"},
        {"nothing after =", "<最新版本 版本号= />"},
        {"value without closing quote", "<最新版本 版本号=\"3.3/>"},
        {"mixed quotes", "<最新版本 版本号=\"3.3'/>"},
        {"tag inside a tag", "<最新版本<版本信息/>"},
        {"double quote in a name", "<最新版本 版本\"号=\"3.3\"/>"},
        {"single quote in a name", "<最新版本 版本'号='3.3'/>"},
        {"attributes run together", "<最新版本 a=\"1\"b=\"2\"/>"},
        {"empty element", "<></>"},
        {"blank before element name", "< 最新版本/>"},
        {"empty end tag name", "<最新版本></>"},
        {"tag cut off", "<最新版本 版本号=\"3.3\""},
        {"lone angle bracket", "<最新版本/><"},
        {"declaration without end", "<?xml version=\"1.0\" <最新版本/>"},
        {"document type without end", "<!DOCTYPE 最新版本 [ <最新版本/>"},
        {"CDATA without end", "<最新版本><![CDATA[ </最新版本>"},
        {"comment swallows the end tag", "<最新版本><!-- </最新版本>"},
        {"nested one level too deep", Nest(257, "")},
        {"lead byte takes the '<' of the end tag", "<最新版本>\x81</最新版本>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        ManifestTree tree;
        EXPECT_FALSE(tree.LoadDocument(c.document));
        EXPECT_FALSE(tree.HasDocument());
    }
}

TEST(ManifestTreeTest, FailedLoadDiscardsEarlierDocument)
{
    ManifestTree tree;
    ASSERT_TRUE(tree.LoadDocument(PublishedManifest));
    ASSERT_EQ(tree.ReadAttribute(VersionPath, "版本号"), "3.3");

    EXPECT_FALSE(tree.LoadDocument("<最新版本><版本信息 版本号=\"3.4\" 版本号=\"3.5\"/></最新版本>"));
    EXPECT_FALSE(tree.HasDocument());
    EXPECT_EQ(tree.ReadAttribute(VersionPath, "版本号"), "");

    ASSERT_TRUE(tree.LoadDocument(PublishedManifest));
    EXPECT_FALSE(tree.LoadDocument(""));
    EXPECT_EQ(tree.ReadAttribute(VersionPath, "版本号"), "");
}

TEST(ManifestTreeTest, LoadReplacesEarlierDocument)
{
    ManifestTree tree;
    ASSERT_TRUE(tree.LoadDocument("<最新版本><版本信息 版本号=\"3.3\" 文件名=\"a.exe\"/></最新版本>"));
    ASSERT_TRUE(tree.LoadDocument("<最新版本><版本信息 版本号=\"3.4\"/></最新版本>"));
    EXPECT_EQ(tree.ReadAttribute(VersionPath, "版本号"), "3.4");
    EXPECT_EQ(tree.ReadAttribute(VersionPath, "文件名"), "");
}

TEST(ManifestTreeTest, ReleaseEmptiesTree)
{
    ManifestTree tree;
    ASSERT_TRUE(tree.LoadDocument(PublishedManifest));
    tree.Release();
    EXPECT_FALSE(tree.HasDocument());
    EXPECT_EQ(tree.ReadAttribute(VersionPath, "版本号"), "");
}

TEST(ManifestTreeTest, RootOfAnotherNameHidesEveryAttribute)
{
    ManifestTree tree;
    ASSERT_TRUE(tree.LoadDocument("<版本列表><版本信息 版本号=\"3.3\" 文件名=\"a.exe\"/></版本列表>"));
    EXPECT_EQ(tree.ReadAttribute(VersionPath, "版本号"), "");
    EXPECT_EQ(tree.ReadAttribute(VersionPath, "文件名"), "");
    EXPECT_EQ(tree.ReadAttribute("版本列表/版本信息", "版本号"), "3.3");
}

TEST(ManifestTreeTest, EmptyPathOrNameReadsEmpty)
{
    ManifestTree tree;
    ASSERT_TRUE(tree.LoadDocument("<最新版本 版本号=\"3.3\"/>"));
    EXPECT_EQ(tree.ReadAttribute("", "版本号"), "");
    EXPECT_EQ(tree.ReadAttribute("最新版本", ""), "");
    EXPECT_EQ(tree.ReadAttribute("最新版本", "版本号"), "3.3");
}

TEST(ManifestTreeTest, DecodesEntityReferencesInValues)
{
    const struct {
        std::string written;
        std::string read;
    } cases[] = {
        {"a &lt; b &amp;&amp; c &gt; d", "a < b && c > d"},
        {"&apos;单&apos; &quot;双&quot; &quote;旧&quote;", "'单' \"双\" \"旧\""},
        {"&#60;&#x3C;", "&#60;&#x3C;"},
        {"&nbsp; &LT; &lt &amp", "&nbsp; &LT; &lt &amp"},
        {"&amp;lt;", "&lt;"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        ManifestTree tree;
        ASSERT_TRUE(tree.LoadDocument("<最新版本><版本信息 升级说明=\"" + c.written + "\"/></最新版本>"));
        EXPECT_EQ(tree.ReadAttribute(VersionPath, "升级说明"), c.read);
    }
}

TEST(ManifestTreeTest, MatchesNamesAsWrittenWithReferences)
{
    ManifestTree tree;
    ASSERT_TRUE(tree.LoadDocument("<r&amp;s><t&lt;u a&quot;b=\"1\" c&apos;d&gt;=\"2\"/></r&amp;s>"));
    EXPECT_EQ(tree.ReadAttribute("r&s/t<u", "a\"b"), "1");
    EXPECT_EQ(tree.ReadAttribute("r&s/t<u", "c'd>"), "2");
    EXPECT_EQ(tree.ReadAttribute("r&amp;s/t<u", "a\"b"), "");
    EXPECT_EQ(tree.ReadAttribute("r&s/t<u", "a&quot;b"), "");
}

TEST(ManifestTreeTest, SecondByteOfDoubleByteCharacterIsNeverMarkup)
{
    // Element "\x81<", attribute "n\x82>", value "v\x83\"w\x84<", each
    // holding a second byte that would be markup on its own; "\x86-" does
    // not end the comment, "\x87<" does not start one, and "\x88/" is one
    // step of a path.
    ManifestTree tree;
    ASSERT_TRUE(tree.LoadDocument(
        "<r><\x81<"
        " n\x82>=\"v\x83\"w\x84<\" m=\"\x85&lt;\"/>"
        "<!-- \x86--> <x a=\"1\"/> --><y a=\"2\"/>"
        "<z a=\"\x87<!--\"/><\x88/ a=\"3\"/></r><!-- -->"));
    EXPECT_EQ(tree.ReadAttribute("r/\x81<", "n\x82>"), "v\x83\"w\x84<");
    EXPECT_EQ(tree.ReadAttribute("r/\x81<", "m"), "\x85&lt;");
    EXPECT_EQ(tree.ReadAttribute("r/x", "a"), "");
    EXPECT_EQ(tree.ReadAttribute("r/y", "a"), "2");
    EXPECT_EQ(tree.ReadAttribute("r/z", "a"), "\x87<!--");
    EXPECT_EQ(tree.ReadAttribute("r/\x88/", "a"), "3");
}

TEST(ManifestTreeTest, NestingUpToLimitLoads)
{
    ManifestTree tree;
    ASSERT_TRUE(tree.LoadDocument(Nest(255, "<a v=\"深\"/>")));
    EXPECT_EQ(tree.ReadAttribute(NestedPath(256), "v"), "深");
}

TEST(ManifestTreeTest, IgnoresLeadByteAtEndOfInput)
{
    ManifestTree tree;
    EXPECT_TRUE(tree.LoadDocument("<最新版本 版本号=\"3.3\"/>\x81"));
    EXPECT_EQ(tree.ReadAttribute("最新版本", "版本号"), "3.3");
}

}  // namespace
