#include "update/manifest_fetcher.h"

#include <gtest/gtest.h>

#include "tests/support/test_server.h"

namespace {

constexpr const char* kExpectedRequestLine = "GET /Vantry.xml HTTP/1.0\r\n";
constexpr const char* kUserAgentLine = "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n";

std::string UrlOf(const std::string& path)
{
    return "http://127.0.0.1:" + std::to_string(UpdateServerPort()) + path;
}

std::size_t CountOf(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class FetchUrlTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.Listening()); }

    TestServer server_{"fetch"};
};

TEST_F(FetchUrlTest, SendsOneHttp10GetWithTheUserAgentAndAccept)
{
    server_.Serve("/Vantry.xml", HttpResponse(200, "<a/>"));
    EXPECT_EQ(FetchUrl(UrlOf("/Vantry.xml")), "<a/>");

    const std::vector<std::string> requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& request = requests.front();
    std::cout << "The request as the server recorded it:\n" << request;
    EXPECT_EQ(request.rfind(kExpectedRequestLine, 0), 0u) << request;
    EXPECT_EQ(CountOf(request, kUserAgentLine), 1u) << request;
    EXPECT_EQ(CountOf(request, "Accept: */*"), 1u) << request;
    EXPECT_EQ(CountOf(request, "Accept:"), 1u) << request;
    EXPECT_EQ(CountOf(request, "If-Modified-Since"), 0u) << request;
}

TEST_F(FetchUrlTest, LeavesTheFragmentOut)
{
    server_.Serve("/Vantry.xml", HttpResponse(200, "body"));
    EXPECT_EQ(FetchUrl(UrlOf("/Vantry.xml#part")), "body");
    const std::vector<std::string> requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests.front().rfind(kExpectedRequestLine, 0), 0u) << requests.front();
}

TEST_F(FetchUrlTest, FollowsARedirect)
{
    server_.Serve("/Vantry.xml", HttpResponse(302, "moved", "Location: /moved.xml\r\n"));
    server_.Serve("/moved.xml", HttpResponse(200, "the manifest"));
    EXPECT_EQ(FetchUrl(UrlOf("/Vantry.xml")), "the manifest");
    const std::vector<std::string> requests = server_.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].rfind("GET /moved.xml HTTP/1.0\r\n", 0), 0u) << requests[1];
}

TEST_F(FetchUrlTest, EachCallFetchesAgain)
{
    server_.Serve("/Vantry.xml", HttpResponse(200, "first"));
    EXPECT_EQ(FetchUrl(UrlOf("/Vantry.xml")), "first");
    server_.Serve("/Vantry.xml", HttpResponse(200, "second"));
    EXPECT_EQ(FetchUrl(UrlOf("/Vantry.xml")), "second");
    EXPECT_EQ(server_.Requests().size(), 2u);
}

TEST_F(FetchUrlTest, ReturnsBodiesWhateverTheirStatusAndLength)
{
    const std::string large(500000, 'x');
    const std::string unannounced(50000, 'y');
    const struct {
        const char* what;
        std::string response;
        std::string body;
    } cases[] = {
        {"an error page", HttpResponse(404, "<html>missing</html>"), "<html>missing</html>"},
        {"an empty body", HttpResponse(200, ""), ""},
        {"500 000 bytes, read in several chunks", HttpResponse(200, large), large},
        {"no Content-Length: read until the server closes", "HTTP/1.0 200 OK\r\n\r\n" + unannounced, unannounced},
        {"a body cut short: what arrived", "HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\nonly this", "only this"},
        {"no response at all", "", ""},
    };
    for (const auto& c : cases) {
        server_.Serve("/Vantry.xml", c.response);
        const std::string body = FetchUrl(UrlOf("/Vantry.xml"));
        EXPECT_EQ(body.size(), c.body.size()) << c.what;
        EXPECT_TRUE(body == c.body) << c.what;
    }
}

TEST(FetchUrlFailureTest, UnusableUrlsAndRefusedConnectionsGiveNothing)
{
    const char* urls[] = {
        "",
        "not a url",
        "ftp://127.0.0.1/Vantry.xml",
        // Port 1 on the loopback: nothing listens, the connection is refused.
        "http://127.0.0.1:1/Vantry.xml",
    };
    for (const char* url : urls)
        EXPECT_EQ(FetchUrl(url), "") << url;
}

}  // namespace
