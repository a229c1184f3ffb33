// The tests' HTTP server (manifest_server.py), started on 127.0.0.1 for one
// test and stopped again: what it answers, and the requests it got.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The port of the update server that the programs under test were built for.
int UpdateServerPort();

// A complete HTTP/1.0 response: status line, Content-Length, any further
// header lines (each ending in \r\n), a blank line and the body.
std::string HttpResponse(int status, std::string_view body, std::string_view headers = {});

class TestServer {
public:
    // Starts the server on `port` and waits until it listens; a busy port
    // or a server that does not come up fails the test.
    explicit TestServer(const std::string& name, int port = UpdateServerPort());
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    bool Listening() const { return listening_; }
    // Answers requests for `path` ("/Vantry.xml") with `response` as it
    // stands, after `delayMilliseconds`.
    void Serve(const std::string& path, std::string_view response, unsigned delayMilliseconds = 0) const;
    // The requests so far, each its request line and header lines.
    std::vector<std::string> Requests() const;
    void ForgetRequests() const;

private:
    void Start(const std::string& name, int port);
    std::string File(const std::string& name) const { return directory_ + "\\" + name; }

    std::string directory_;
    bool listening_ = false;
};
