#include "sim/PtyServer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace fenta21::sim {

PtyServer::PtyServer(std::string linkPath, SimDevice& device) : linkPath_(std::move(linkPath)), device_(device) {}

PtyServer::~PtyServer() { stop(); }

bool PtyServer::start() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        error_ = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        stop();
        return false;
    }
    char name[256];
    if (ptsname_r(master_, name, sizeof name) != 0) {
        error_ = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        stop();
        return false;
    }
    slavePath_ = name;
    // Holding the slave open keeps the master readable between the program's opens (a
    // pseudo-terminal whose slave nobody holds reports a hang-up), and setting it raw before
    // anyone opens it keeps the line discipline from echoing our replies back to us.
    heldSlave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (heldSlave_ >= 0) {
        termios tio{};
        if (tcgetattr(heldSlave_, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(heldSlave_, TCSANOW, &tio);
        }
    }
    ::unlink(linkPath_.c_str());
    if (::symlink(name, linkPath_.c_str()) != 0) {
        error_ = "cannot publish " + linkPath_ + ": " + std::strerror(errno);
        stop();
        return false;
    }
    running_.store(true);
    thread_ = std::thread([this] { serve(); });
    return true;
}

void PtyServer::stop() {
    running_.store(false);
    if (thread_.joinable()) thread_.join();
    if (!slavePath_.empty()) {
        char target[256] = {};
        ssize_t n = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
        if (n > 0 && slavePath_ == std::string(target, static_cast<std::size_t>(n))) ::unlink(linkPath_.c_str());
    }
    if (heldSlave_ >= 0) ::close(heldSlave_);
    if (master_ >= 0) ::close(master_);
    heldSlave_ = master_ = -1;
}

void PtyServer::serve() {
    char buffer[4096];
    while (running_.load()) {
        pollfd pfd{master_, POLLIN, 0};
        int ready = ::poll(&pfd, 1, 20);
        if (ready <= 0) continue;
        ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) {
            // EIO while no one holds the slave: wait for the next open.
            ::usleep(10000);
            continue;
        }
        std::string reply = device_.receive(std::string_view(buffer, static_cast<std::size_t>(n)));
        std::size_t written = 0;
        while (written < reply.size() && running_.load()) {
            ssize_t w = ::write(master_, reply.data() + written, reply.size() - written);
            if (w > 0) written += static_cast<std::size_t>(w);
            else if (errno != EAGAIN && errno != EINTR) break;
        }
    }
}

}  // namespace fenta21::sim
