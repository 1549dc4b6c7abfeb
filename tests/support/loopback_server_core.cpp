#include "support/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace {

int BindLoopback(int& port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket");
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        close(fd);
        throw std::runtime_error("bind");
    }
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return fd;
}

} // namespace

TLoopbackServer::TLoopbackServer(THandler handler) : FHandler(std::move(handler)) {
    FListen = BindLoopback(FPort);
    listen(FListen, 8);
    FThread = std::thread([this] { Run(); });
}

TLoopbackServer::~TLoopbackServer() {
    FStop = true;
    FThread.join();
    close(FListen);
}

std::string TLoopbackServer::Address() const { return "127.0.0.1:" + std::to_string(FPort); }

std::vector<std::string> TLoopbackServer::Requests() const {
    std::lock_guard<std::mutex> g(FLock);
    return FRequests;
}

std::string TLoopbackServer::Reply(int status, const std::string& reason, const std::string& body,
                                   const std::string& extraHeaders) {
    return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: close\r\n" + extraHeaders + "\r\n" + body;
}

int TLoopbackServer::ClosedPort() {
    int port = 0;
    int fd = BindLoopback(port);
    close(fd);
    return port;
}

void TLoopbackServer::Run() {
    while (!FStop) {
        pollfd p{FListen, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        int client = accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        Serve(client);
        close(client);
    }
}

void TLoopbackServer::Serve(int client) {
    std::string head;
    char buf[4096];
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (head.find("\r\n\r\n") == std::string::npos && !FStop &&
           std::chrono::steady_clock::now() < deadline) {
        pollfd p{client, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        ssize_t n = recv(client, buf, sizeof buf, 0);
        if (n <= 0) return;
        head.append(buf, static_cast<size_t>(n));
    }
    std::string line = head.substr(0, head.find("\r\n"));
    {
        std::lock_guard<std::mutex> g(FLock);
        FRequests.push_back(line);
    }
    TReply reply = FHandler(line);
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(reply.StallMs);
    while (!FStop && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    size_t sent = 0;
    while (!FStop && sent < reply.Raw.size()) {
        ssize_t n = send(client, reply.Raw.data() + sent, reply.Raw.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return; // the client gave up
        sent += static_cast<size_t>(n);
    }
}
