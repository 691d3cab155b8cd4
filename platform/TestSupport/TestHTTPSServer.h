// Test support: an HTTPS server on 127.0.0.1 for the tests of what fetches over the
// network, with a certificate authority and a server certificate made fresh for the
// test program (openssl), serving the routes of https_server.py beside this file and,
// under /files/, the files of a folder. Clients trust it through
// additionalTrustedCertificatesFile = authorityFile(). Nothing leaves the machine.
// Thread: the test's.
#pragma once

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "TestSupport/ChildProcess.h"
#include "TestSupport/TemporaryDirectory.h"

class TestHTTPSServer {
  public:
    // Starts the server; running() is false when something failed (say why in `error`).
    explicit TestHTTPSServer(const std::filesystem::path& files = {}) {
        auto at = [&](const char* name) { return (folder / name).string(); };
        std::ofstream(at("ext.cnf")) << "subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n"
                                        "extendedKeyUsage=serverAuth\n";
        const std::string ec = "ec", curve = "ec_paramgen_curve:prime256v1";
        if (ChildProcess::run({"openssl", "req", "-x509", "-newkey", ec, "-pkeyopt", curve,
                               "-nodes", "-keyout", at("ca.key"), "-out", at("ca.pem"), "-days",
                               "2", "-subj", "/CN=Test Authority"}) != 0 ||
            ChildProcess::run({"openssl", "req", "-newkey", ec, "-pkeyopt", curve, "-nodes",
                               "-keyout", at("server.key"), "-out", at("server.csr"), "-subj",
                               "/CN=127.0.0.1"}) != 0 ||
            ChildProcess::run({"openssl", "x509", "-req", "-in", at("server.csr"), "-CA",
                               at("ca.pem"), "-CAkey", at("ca.key"), "-CAcreateserial", "-out",
                               at("server.pem"), "-days", "2", "-extfile", at("ext.cnf")}) != 0) {
            error = "openssl could not make the certificates";
            return;
        }
        int pipeFds[2];
        if (pipe(pipeFds) != 0) {
            error = "no pipe";
            return;
        }
        std::string script = std::string(EMBERFALL_TEST_SUPPORT_DIR) + "/https_server.py";
        std::vector<std::string> args{"python3", script, at("server.pem"), at("server.key")};
        if (!files.empty())
            args.push_back(files.string());
        server = ChildProcess::spawn(args, pipeFds[1], pipeFds[0]);
        close(pipeFds[1]);
        FILE* out = fdopen(pipeFds[0], "r");
        if (server <= 0 || !out || std::fscanf(out, "%d", &port) != 1)
            error = "the server did not start";
        if (out)
            std::fclose(out);
    }
    ~TestHTTPSServer() {
        if (server > 0) {
            kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
    }
    TestHTTPSServer(const TestHTTPSServer&) = delete;
    TestHTTPSServer& operator=(const TestHTTPSServer&) = delete;

    bool running() const { return error.empty(); }
    std::string error;
    int port = 0;
    std::string authorityFile() const { return (folder / "ca.pem").string(); }
    // "https://127.0.0.1:<port><path>" (or another scheme).
    std::string url(const std::string& path, const char* scheme = "https") const {
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(port) + path;
    }

  private:
    TemporaryDirectory folder{"https-server"};
    pid_t server = 0;
};
