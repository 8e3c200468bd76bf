#include "tests/support/PostgresServer.h"

#include "tests/support/Process.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace fenta21::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRole = "fenta21";
constexpr const char* kUnprivilegedUser = "nobody";

// The newest server's programs: FENTA21_POSTGRES_BIN, else Debian's /usr/lib/postgresql/N/bin.
std::string serverPrograms() {
    if (const char* given = std::getenv("FENTA21_POSTGRES_BIN")) return given;
    std::string best;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
        std::string bin = (entry.path() / "bin").string();
        if (fs::exists(bin + "/initdb") && fs::exists(bin + "/pg_ctl") && bin > best) best = bin;
    }
    return best;
}

std::string firstExisting(std::initializer_list<const char*> paths) {
    for (const char* path : paths)
        if (fs::exists(path)) return path;
    return {};
}

}  // namespace

PostgresServer* PostgresServer::shared(bool& skipped, std::string& problem) {
    static std::string setUpProblem;
    static std::unique_ptr<PostgresServer> server = [] {
        std::unique_ptr<PostgresServer> made(new PostgresServer);
        if (!made->setUp(setUpProblem)) made.reset();
        return made;
    }();
    const char* skip = std::getenv("FENTA21_NO_POSTGRES");
    skipped = server == nullptr && skip != nullptr && std::string(skip) == "1";
    problem = setUpProblem;
    return server.get();
}

bool PostgresServer::run(const std::vector<std::string>& command, std::string& output) {
    std::vector<std::string> argv;
    if (!user_.empty()) {
        // The server's programs run as the unprivileged user, from a folder it may enter.
        argv = {firstExisting({"/usr/sbin/runuser", "/sbin/runuser"}), "-u", user_, "--", "/usr/bin/env", "-C", folder_};
    }
    argv.insert(argv.end(), command.begin(), command.end());
    ProcessResult result = runProcess(argv, {{"LC_ALL", "C"}}, folder_);
    output = result.out + result.err;
    return result.exitCode == 0;
}

bool PostgresServer::setUp(std::string& problem) {
    bin_ = serverPrograms();
    if (bin_.empty()) {
        problem = "no PostgreSQL server programs (initdb, pg_ctl) under /usr/lib/postgresql/*/bin: install the "
                  "postgresql package (scripts/install-deps.sh), or set FENTA21_NO_POSTGRES=1 to leave these tests out";
        return false;
    }
    std::string pattern = (fs::temp_directory_path() / "fenta21-pg-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        problem = "no temporary folder for the PostgreSQL server";
        return false;
    }
    folder_ = pattern;
    if (::geteuid() == 0) {
        const passwd* account = ::getpwnam(kUnprivilegedUser);
        if (account == nullptr || ::chown(folder_.c_str(), account->pw_uid, account->pw_gid) != 0) {
            problem = std::string("the PostgreSQL server cannot run as ") + kUnprivilegedUser;
            return false;
        }
        user_ = kUnprivilegedUser;
    }
    std::string output;
    if (!run({bin_ + "/initdb", "-D", folder_ + "/data", "-U", kRole, "--auth=trust", "-E", "UTF8", "--locale=C", "-N"},
             output)) {
        problem = "initdb failed: " + output;
        return false;
    }
    if (!start()) {
        problem = "the PostgreSQL server did not start: " + readFileBytes(folder_ + "/server.log");
        return false;
    }
    running_ = true;
    return true;
}

bool PostgresServer::start() {
    std::string output;
    // Only the socket in the folder: no port is opened on the machine. Durability is not what
    // these tests check, so nothing waits for the disk.
    return run({bin_ + "/pg_ctl", "-D", folder_ + "/data", "-l", folder_ + "/server.log", "-w", "-o",
                "-k " + folder_ + " -c listen_addresses= -c fsync=off -c synchronous_commit=off -c full_page_writes=off",
                "start"},
               output);
}

bool PostgresServer::stop() {
    std::string output;
    return run({bin_ + "/pg_ctl", "-D", folder_ + "/data", "-m", "fast", "-w", "stop"}, output);
}

std::string PostgresServer::newDatabaseUrl() {
    std::string name = "store" + std::to_string(++databases_);
    std::string output;
    run({bin_ + "/createdb", "-h", folder_, "-U", kRole, name}, output);
    return "postgresql:///" + name + "?host=" + folder_ + "&user=" + kRole;
}

PostgresServer::~PostgresServer() {
    std::string output;
    if (running_) run({bin_ + "/pg_ctl", "-D", folder_ + "/data", "-m", "immediate", "-w", "stop"}, output);
    std::error_code ec;
    if (!folder_.empty()) fs::remove_all(folder_, ec);
}

std::optional<std::string> postgresDatabase() {
    bool skipped = false;
    std::string problem;
    PostgresServer* server = PostgresServer::shared(skipped, problem);
    if (server != nullptr) return server->newDatabaseUrl();
    if (!skipped) ADD_FAILURE() << problem;
    return std::nullopt;
}

}  // namespace fenta21::test
