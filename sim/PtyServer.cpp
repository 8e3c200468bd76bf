#include "sim/PtyServer.h"

#include "sim/HandOff.h"
#include "sim/LineTime.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace fenta21::sim {
namespace {

std::uint32_t bitsPerSecond(speed_t speed) {
    switch (speed) {
        case B300: return 300;
        case B600: return 600;
        case B1200: return 1200;
        case B2400: return 2400;
        case B4800: return 4800;
        case B9600: return 9600;
        case B19200: return 19200;
        case B38400: return 38400;
        case B57600: return 57600;
        case B115200: return 115200;
        default: return 0;
    }
}

}  // namespace

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
    // Writes must never block: a program that stops reading would otherwise keep the server
    // from ever seeing that it is asked to stop.
    const int flags = ::fcntl(master_, F_GETFL);
    if (flags >= 0) ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    // Holding the slave open keeps the master readable between the program's opens (a
    // pseudo-terminal whose slave nobody holds reports a hang-up), and setting it raw before
    // anyone opens it keeps the line discipline from echoing our replies back to us. It is
    // also where the speed the program sets can be read back.
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
        // Unprompted talk is dropped when the line is full, as a real device's would be
        // lost when nobody reads it; it must never hold up the answers.
        std::string talk = device_.unprompted();
        if (!talk.empty()) [[maybe_unused]] ssize_t dropped = ::write(master_, talk.data(), talk.size());
        if (ready <= 0) continue;
        ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) {
            // EIO while no one holds the slave: wait for the next open.
            ::usleep(10000);
            continue;
        }
        const std::uint32_t speed = readLineSpeed();
        lineSpeed_.store(speed);
        device_.setLineSpeed(speed);
        write(device_.receive(std::string_view(buffer, static_cast<std::size_t>(n))));
        if (auto argv = device_.takeHandOff()) device_.handOffEnded(runOnLine(*argv, master_, running_));
    }
}

// Writes in chunks. When pacing, a chunk goes out only when the line would have delivered its
// last byte, reckoned from one start time so that sleeping late never adds up: the reader gets
// everything no sooner than a real line of that speed would give it.
void PtyServer::write(std::string_view bytes) {
    const std::uint32_t pace = pace_.load();
    const std::size_t chunk = pace == 0 ? bytes.size() : pacedChunkBytes(pace);
    const auto start = std::chrono::steady_clock::now();
    std::size_t written = 0;
    while (written < bytes.size() && running_.load()) {
        const std::size_t size = std::min(chunk, bytes.size() - written);
        if (pace != 0) std::this_thread::sleep_until(start + lineTime(written + size, pace));
        pollfd pfd{master_, POLLOUT, 0};
        const int ready = ::poll(&pfd, 1, 20);
        if (ready < 0 && errno != EINTR) break;
        if (ready <= 0) continue;
        ssize_t w = ::write(master_, bytes.data() + written, size);
        if (w < 0 && errno != EAGAIN && errno != EINTR) break;
        if (w > 0) written += static_cast<std::size_t>(w);
    }
}

std::uint32_t PtyServer::readLineSpeed() const {
    termios tio{};
    if (heldSlave_ < 0 || tcgetattr(heldSlave_, &tio) != 0) return 0;
    return bitsPerSecond(cfgetospeed(&tio));
}

}  // namespace fenta21::sim
