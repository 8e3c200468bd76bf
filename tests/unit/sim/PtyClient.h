#pragma once

#include <termios.h>

#include <chrono>
#include <string>

namespace fenta21::sim::test {

// The program's end of a simulated line, as bare as can be: a raw terminal at a chosen speed
// that writes bytes and reads what arrives within a time.
class PtyClient {
public:
    explicit PtyClient(const std::string& path, speed_t speed = B9600);
    ~PtyClient();
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    void setSpeed(speed_t speed);
    void write(const std::string& bytes);
    // Reads until `count` bytes have arrived or `within` has passed.
    std::string read(std::size_t count, std::chrono::milliseconds within);
    // Reads up to and including the next LF, or what arrived within the time.
    std::string readLine(std::chrono::milliseconds within);

private:
    int fd_ = -1;
};

}  // namespace fenta21::sim::test
