// serve FOLDER [--port N] [--host H]: answers the reader's news requests from
// FOLDER/news.txt and FOLDER/sites.txt and its recitation requests from
// FOLDER/Quran_RAM/, for previews and small sites. The replies are static
// files, so a busy site serves the same folder from any web server.
#include "commands.h"

#include "net/news.h"
#include "net/recitation.h"
#include "util/fileutils.h"

#include <httplib.h>

#include <cstdio>
#include <sys/stat.h>

namespace {

constexpr int kDefaultServePort = 8020;

bool ReadRegularFile(const std::string& path, std::string& bytes) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return ReadFileBytes(path, bytes);
}

void ServeFile(const std::string& path, const char* type, httplib::Response& res) {
    std::string bytes;
    if (!ReadRegularFile(path, bytes)) {
        res.status = 404;
        res.set_content("Not Found", "text/plain");
        return;
    }
    res.status = 200;
    res.set_content(bytes, type);
}

int RunServe(const std::vector<std::string>& args) {
    std::string folder = args[0];
    std::string host = "127.0.0.1";
    int port = kDefaultServePort;
    for (size_t i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) throw EPackError("missing value after " + args[i]);
        if (args[i] == "--port") {
            int32_t p = -1;
            if (!TryStrToInt(args[i + 1], p) || p < 0 || p > 65535) throw EPackError("not a port: " + args[i + 1]);
            port = p;
        } else if (args[i] == "--host") {
            host = args[i + 1];
        } else {
            throw EPackError("unknown option " + args[i]);
        }
    }
    if (!FolderExists(folder)) throw EPackError("no such folder: " + folder);
    if (folder.back() != '/') folder += '/';

    httplib::Server server;
    const char* kText = "text/plain; charset=windows-1252";
    server.Get(kNewsPath, [&](const httplib::Request&, httplib::Response& res) {
        ServeFile(folder + "news.txt", kText, res);
    });
    server.Get(kSitesPath, [&](const httplib::Request&, httplib::Response& res) {
        ServeFile(folder + "sites.txt", kText, res);
    });
    server.Get(R"(/Quran_RAM/(.*))", [&](const httplib::Request& req, httplib::Response& res) {
        // The name arrives decoded: one that is no plain file name would leave the folder.
        std::string name = req.matches[1];
        if (!TQRemoteAudio::SafeCacheName(name)) {
            res.status = 404;
            res.set_content("Not Found", "text/plain");
            return;
        }
        ServeFile(folder + "Quran_RAM/" + name, "audio/x-pn-realaudio", res);
    });
    server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.body.empty()) res.set_content(std::to_string(res.status), "text/plain");
    });

    int bound = port == 0 ? server.bind_to_any_port(host) : (server.bind_to_port(host, port) ? port : -1);
    if (bound < 0) throw EPackError("cannot listen on " + host + ":" + std::to_string(port));
    std::printf("serving %s on http://%s:%d/\n", folder.c_str(), host.c_str(), bound);
    std::fflush(stdout);
    if (!server.listen_after_bind()) throw EPackError("the server stopped");
    return 0;
}

const TPackCommandRegistration kServe{{"serve", "serve FOLDER [--port N] [--host H]",
                                       "serve news and recitation files (default 127.0.0.1:8020)", 1, 5,
                                       RunServe}};

} // namespace
