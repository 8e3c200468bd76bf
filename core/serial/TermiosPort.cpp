// Every termios call and modem-line ioctl of the program lives in this file.
#include "core/serial/OutputDrain.h"
#include "core/serial/PortDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace fenta21 {
namespace {

speed_t speedConstant(std::uint32_t baud) {
    switch (baud) {
        case 300: return B300;
        case 600: return B600;
        case 1200: return B1200;
        case 2400: return B2400;
        case 4800: return B4800;
        case 9600: return B9600;
        case 19200: return B19200;
        case 38400: return B38400;
        case 57600: return B57600;
        case 115200: return B115200;
        default: return B0;
    }
}

int pollMilliseconds(std::chrono::nanoseconds timeout) {
    if (timeout <= std::chrono::nanoseconds::zero()) return 0;
    // Round up so that a scaled time-out of a fraction of a millisecond still waits.
    auto ms = std::chrono::ceil<std::chrono::milliseconds>(timeout).count();
    return ms > 0x7fffffff ? 0x7fffffff : static_cast<int>(ms);
}

// A modem-line request that a pseudo-terminal or a bare adapter does not know is not an error.
void setModemLines(int fd, unsigned long request, int lines) { (void)ioctl(fd, request, &lines); }

class TermiosPort final : public PortDevice {
public:
    explicit TermiosPort(int fd) : fd_(fd) {}
    ~TermiosPort() override {
        close();
        ::close(fd_);
    }

    bool configure(const LineSettings& settings) override {
        termios tio{};
        if (tcgetattr(fd_, &tio) != 0) return fail();
        speed_t speed = speedConstant(settings.baudRate);
        if (speed == B0 || settings.byteSize != 8) {
            error_ = EINVAL;
            return false;
        }
        cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD | CS8;
        tio.c_cflag &= ~(PARENB | CSTOPB);
        if (settings.parity != 0) tio.c_cflag |= PARENB | (settings.parity == 1 ? PARODD : 0);
        if (settings.stopBits == 2) tio.c_cflag |= CSTOPB;
        if (settings.flowControl & 2) tio.c_cflag |= CRTSCTS;
        else tio.c_cflag &= ~CRTSCTS;
        if (settings.flowControl & 4) tio.c_iflag |= IXON | IXOFF;
        tio.c_cc[VSTART] = 0x11;
        tio.c_cc[VSTOP] = 0x13;
        // Reads are driven by poll(), so the driver never waits by itself.
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0) return fail();
        if (tcsetattr(fd_, TCSANOW, &tio) != 0) return fail();
        return true;
    }

    long readSome(std::uint8_t* buffer, std::size_t maxBytes, std::chrono::nanoseconds timeout) override {
        if (closed_.load()) return closedError();
        pollfd pfd{fd_, POLLIN, 0};
        int ready = ::poll(&pfd, 1, pollMilliseconds(timeout));
        if (ready < 0) return errno == EINTR ? 0 : fail(-1L);
        if (ready == 0) return 0;
        ssize_t n = ::read(fd_, buffer, maxBytes);
        if (n < 0) return (errno == EAGAIN || errno == EINTR) ? 0 : fail(-1L);
        if (n == 0 && (pfd.revents & (POLLHUP | POLLERR))) {
            error_ = EIO;
            return -1;
        }
        return n;
    }

    long writeSome(const std::uint8_t* data, std::size_t count, std::chrono::nanoseconds timeout) override {
        if (closed_.load()) return closedError();
        pollfd pfd{fd_, POLLOUT, 0};
        int ready = ::poll(&pfd, 1, pollMilliseconds(timeout));
        if (ready < 0) return errno == EINTR ? 0 : fail(-1L);
        if (ready == 0) return 0;
        ssize_t n = ::write(fd_, data, count);
        if (n < 0) return (errno == EAGAIN || errno == EINTR) ? 0 : fail(-1L);
        return n;
    }

    int inputCount() override {
        int count = 0;
        if (ioctl(fd_, FIONREAD, &count) != 0) return 0;
        return count;
    }

    void purge() override { (void)tcflush(fd_, TCIOFLUSH); }

    void raiseDtr() override { setModemLines(fd_, TIOCMBIS, TIOCM_DTR); }

    // The descriptor itself is released by the destructor, once no thread is inside a read
    // or write on it any more; a closed port answers every later call with EBADF.
    void close() override {
        if (closed_.exchange(true)) return;
        drainOrDiscardOutput(
            [this] {
                int waiting = 0;
                return ioctl(fd_, TIOCOUTQ, &waiting) == 0 ? waiting : 0;
            },
            [this] { (void)tcflush(fd_, TCOFLUSH); }, [] { ::usleep(5000); });
        setModemLines(fd_, TIOCMBIC, TIOCM_DTR);
        setModemLines(fd_, TIOCMBIC, TIOCM_RTS);
        // Only what came in is thrown away here: a write has returned once the bytes are
        // queued, and what has left the queue is on its way.
        (void)tcflush(fd_, TCIFLUSH);
    }

    int lastError() const override { return error_.load(); }

private:
    bool fail() {
        error_ = errno;
        return false;
    }
    long fail(long result) {
        error_ = errno;
        return result;
    }
    long closedError() {
        error_ = EBADF;
        return -1;
    }

    const int fd_;
    std::atomic<bool> closed_{false};
    std::atomic<int> error_{0};
};

}  // namespace

std::unique_ptr<PortDevice> openTermiosPort(const std::string& path, int& errorNumber) {
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        errorNumber = errno;
        return nullptr;
    }
    // TIOCEXCL keeps other users out, but not root; the advisory lock also keeps a second
    // copy of this program off a port that the first one holds, whoever runs it.
    if (!isatty(fd) || ioctl(fd, TIOCEXCL) != 0 || flock(fd, LOCK_EX | LOCK_NB) != 0) {
        errorNumber = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<TermiosPort>(fd);
}

}  // namespace fenta21
