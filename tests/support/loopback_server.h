#pragma once
// A small HTTP server for tests on 127.0.0.1 with an ephemeral port. It answers
// one connection at a time with the raw reply its handler returns, so a test
// can send anything: proper replies, broken status lines, stalls, huge bodies.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TLoopbackServer {
public:
    struct TReply {
        std::string Raw;  // sent as it stands, then the connection is closed
        int StallMs = 0;  // wait this long before sending
    };
    // Gets the request line (e.g. "GET /x HTTP/1.1") and returns the reply.
    using THandler = std::function<TReply(const std::string& requestLine)>;

    explicit TLoopbackServer(THandler handler);
    ~TLoopbackServer();
    TLoopbackServer(const TLoopbackServer&) = delete;
    TLoopbackServer& operator=(const TLoopbackServer&) = delete;

    int Port() const { return FPort; }
    // "127.0.0.1:PORT", the form a server setting takes.
    std::string Address() const;
    // The request lines received so far, in order.
    std::vector<std::string> Requests() const;

    // A complete reply with Content-Length.
    static std::string Reply(int status, const std::string& reason, const std::string& body,
                             const std::string& extraHeaders = {});
    // A loopback port nobody listens on (bound, then closed).
    static int ClosedPort();

private:
    void Run();
    void Serve(int client);

    THandler FHandler;
    int FListen = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    mutable std::mutex FLock;
    std::vector<std::string> FRequests;
    std::thread FThread;
};
