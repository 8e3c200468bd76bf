#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fenta21::test {

// A PostgreSQL server of the test program's own, from Debian's postgresql package: made with
// initdb in a temporary folder, listening only on a Unix socket there, run as an unprivileged
// user (as `nobody` when the tests run as root, which initdb refuses), and stopped and removed
// when the program ends. One per test program, started when first asked for.
class PostgresServer {
public:
    // The running server, or null when it cannot be had: `problem` says why, and `skipped` is
    // set when FENTA21_NO_POSTGRES=1 asks to leave such tests out.
    static PostgresServer* shared(bool& skipped, std::string& problem);

    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // A new empty database, and the URL that reaches it.
    std::string newDatabaseUrl();
    // The server taken down and brought back, for a store that is away for a while.
    bool stop();
    bool start();

private:
    PostgresServer() = default;
    bool run(const std::vector<std::string>& command, std::string& output);
    bool setUp(std::string& problem);

    std::string bin_;
    std::string folder_;
    std::string user_;  // who runs the server's programs; empty: the test's own user
    int databases_ = 0;
    bool running_ = false;
};

// The URL of a new database on the shared server for a test; nothing when there is no server,
// after the test was failed for it (or, with FENTA21_NO_POSTGRES=1, without failing it).
std::optional<std::string> postgresDatabase();

}  // namespace fenta21::test
