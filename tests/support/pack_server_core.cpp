#include "support/pack_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace {
const std::string kPackTool = HALVORA_BUILD_DIR "/authoring/halvora-pack";
}

TPackServer::TPackServer(const std::string& folder) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    FPid = fork();
    if (FPid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execl(kPackTool.c_str(), kPackTool.c_str(), "serve", folder.c_str(), "--port", "0", "--host",
              "127.0.0.1", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') FBanner += c;
    close(out[0]);
    size_t colon = FBanner.rfind(':');
    if (colon != std::string::npos) FPort = std::atoi(FBanner.c_str() + colon + 1);
}

TPackServer::~TPackServer() {
    if (FPid > 0) {
        kill(FPid, SIGTERM);
        waitpid(FPid, nullptr, 0);
    }
}

std::string TPackServer::RawRequest(const std::string& head) const {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(FPort));
    std::string reply;
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
        send(fd, head.data(), head.size(), MSG_NOSIGNAL);
        timeval tv{3, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        char buf[4096];
        ssize_t n;
        while ((n = recv(fd, buf, sizeof buf, 0)) > 0) reply.append(buf, static_cast<size_t>(n));
    }
    close(fd);
    return reply;
}
