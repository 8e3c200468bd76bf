#include "core/serial/Channel.h"

#include "core/serial/ComPortMap.h"
#include "core/serial/PortHolder.h"

#include <cerrno>
#include <cstdio>

namespace fenta21 {
namespace {

using namespace std::chrono_literals;

// The time-outs the logger protocol was built around: a one-byte read gives up after 2 s.
constexpr auto kByteInterval = 1000ms;
constexpr auto kPerByteTotal = 1000ms;
constexpr auto kTotalConstant = 1000ms;

std::shared_ptr<PortDevice> currentDevice(TTYInfo& channel) {
    std::lock_guard lock(channel.deviceMutex);
    return channel.device;
}

void logError(TTYInfo& channel, const std::string& text) {
    if (channel.env.logError) channel.env.logError(text);
}

std::string formatted(const char* format, unsigned value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void captureErrorMarker(TTYInfo& channel, int errorNumber, CaptureDirection direction) {
    if (!channel.displayErrors.load()) return;
    std::string marker = formatted("<CE-%u>", static_cast<unsigned>(errorNumber));
    channel.capture.capture(reinterpret_cast<const std::uint8_t*>(marker.data()), marker.size(), direction);
}

int readLine(TTYInfo* channel, std::string& line, int max, char terminator, char dropped) {
    line.clear();
    while (static_cast<int>(line.size()) < max) {
        std::uint8_t byte = 0;
        if (readBytes(channel, &byte, 1) == 0) return kLineTimeout;
        if (byte == static_cast<std::uint8_t>(dropped)) continue;
        if (byte == static_cast<std::uint8_t>(terminator)) return kLineRead;
        line.push_back(static_cast<char>(byte));
    }
    return kLineFull;
}

}  // namespace

std::unique_ptr<TTYInfo> createChannel(ChannelEnvironment environment) {
    static const SystemClock realClock;
    if (environment.clock == nullptr) environment.clock = &realClock;
    return std::make_unique<TTYInfo>(std::move(environment));
}

int destroyChannel(std::unique_ptr<TTYInfo>& channel) {
    if (!channel) return 0;
    if (channel->connected.load()) closeChannel(channel.get());
    channel.reset();
    return 1;
}

std::string portName(const TTYInfo& channel) {
    if (!channel.deviceOverride.empty()) return channel.deviceOverride;
    return "COM" + std::to_string(channel.portNumber.load());
}

std::string devicePathFor(const TTYInfo& channel, int portNumber) {
    if (!channel.deviceOverride.empty()) return channel.deviceOverride;
    return ComPortMap::load(channel.env.portMapFile).devicePath(portNumber);
}

int openChannel(TTYInfo* channel) {
    if (channel == nullptr) return 0;  // no record to log through: the caller's job
    resetCapture(channel);
    if (channel->env.speedOpened) channel->env.speedOpened(static_cast<std::int32_t>(channel->baudRate.load()));

    // A port that is still open is closed first, so that a reopen never leaks the old device.
    if (currentDevice(*channel)) closeChannel(channel);

    PortOpenFailure failure;
    failure.portNumber = channel->deviceOverride.empty() ? channel->portNumber.load() : 0;
    failure.baudRate = channel->baudRate.load();
    failure.duringPortSearch = channel->searchingPorts.load();
    failure.devicePath = channel->deviceOverride;
    if (failure.devicePath.empty()) {
        auto map = ComPortMap::load(channel->env.portMapFile);
        for (const auto& problem : map.problems()) logError(*channel, "comports.txt " + problem);
        // A refused line's number has no device: its reason is in the log just written.
        failure.devicePath = map.devicePath(failure.portNumber);
        failure.mapProblem = map.problemFor(failure.portNumber);
    }
    int errorNumber = ENOENT;
    std::unique_ptr<PortDevice> device =
        failure.devicePath.empty() ? nullptr : channel->env.openPort(failure.devicePath, errorNumber);
    if (!device) {
        logError(*channel, formatted("COM CreateFile ERROR(%d)", static_cast<unsigned>(errorNumber)));
        closeChannel(channel);
        failure.stage = failure.devicePath.empty() ? PortOpenFailure::Stage::NoDevice : PortOpenFailure::Stage::Open;
        failure.errorNumber = errorNumber;
        if (errorNumber == EBUSY) {
            PortHolder holder = findPortHolder(failure.devicePath);
            failure.holderProcess = holder.processId;
            failure.holderProgram = holder.programName;
        }
        if (channel->env.openFailed) channel->env.openFailed(failure);
        return 0;
    }
    device->purge();
    {
        std::lock_guard lock(channel->deviceMutex);
        channel->device = std::move(device);
    }
    if (SetupConnection(channel) != 0) {
        channel->connected.store(true);
        currentDevice(*channel)->raiseDtr();
        return 1;
    }
    int setupError = currentDevice(*channel)->lastError();
    channel->connected.store(false);
    {
        std::lock_guard lock(channel->deviceMutex);
        channel->device->close();
        channel->device.reset();
    }
    logError(*channel, formatted("SetupConnection ERROR(%d)", static_cast<unsigned>(setupError)));
    failure.stage = PortOpenFailure::Stage::Setup;
    failure.errorNumber = setupError;
    if (channel->env.openFailed) channel->env.openFailed(failure);
    return 0;
}

int SetupConnection(TTYInfo* channel) {
    if (channel == nullptr) return 0;
    auto device = currentDevice(*channel);
    if (!device) return 0;
    LineSettings settings{channel->baudRate.load(), channel->byteSize, channel->flowControl, channel->parity,
                          channel->stopBits};
    return device->configure(settings) ? 1 : 0;
}

int closeChannel(TTYInfo* channel) {
    if (channel == nullptr) return 0;
    channel->connected.store(false);
    std::shared_ptr<PortDevice> device;
    {
        std::lock_guard lock(channel->deviceMutex);
        device.swap(channel->device);
    }
    if (device) device->close();
    return 1;
}

std::size_t readBytes(TTYInfo* channel, std::uint8_t* buffer, std::size_t count) {
    if (channel == nullptr || count == 0) return 0;
    auto device = currentDevice(*channel);
    if (!device) return 0;
    const Clock& clock = *channel->env.clock;
    auto start = std::chrono::steady_clock::now();
    auto totalLimit = clock.scaled(kPerByteTotal * static_cast<long>(count) + kTotalConstant);
    auto intervalLimit = clock.scaled(kByteInterval);
    std::size_t got = 0;
    auto lastByte = start;
    while (got < count) {
        auto now = std::chrono::steady_clock::now();
        auto remaining = totalLimit - (now - start);
        if (got > 0) remaining = std::min(remaining, intervalLimit - (now - lastByte));
        if (remaining <= std::chrono::nanoseconds::zero()) break;
        long n = device->readSome(buffer + got, count - got, remaining);
        if (n < 0) {
            captureErrorMarker(*channel, device->lastError(), CaptureDirection::Received);
            break;
        }
        if (n > 0) {
            channel->capture.capture(buffer + got, static_cast<std::size_t>(n), CaptureDirection::Received);
            got += static_cast<std::size_t>(n);
            lastByte = std::chrono::steady_clock::now();
        }
    }
    return got;
}

std::size_t readEachWithin(TTYInfo* channel, std::uint8_t* buffer, std::size_t count) {
    if (channel == nullptr || count == 0) return 0;
    auto device = currentDevice(*channel);
    if (!device) return 0;
    auto perByte = channel->env.clock->scaled(kPerByteTotal + kTotalConstant);
    std::size_t got = 0;
    while (got < count) {
        long n = device->readSome(buffer + got, count - got, perByte);
        if (n < 0) captureErrorMarker(*channel, device->lastError(), CaptureDirection::Received);
        if (n <= 0) break;
        channel->capture.capture(buffer + got, static_cast<std::size_t>(n), CaptureDirection::Received);
        got += static_cast<std::size_t>(n);
    }
    return got;
}

int writeBytes(TTYInfo* channel, const std::uint8_t* data, std::size_t count) {
    if (channel == nullptr || count == 0) return 0;
    auto device = currentDevice(*channel);
    if (!device) return 0;
    const Clock& clock = *channel->env.clock;
    auto deadline = std::chrono::steady_clock::now() +
                    clock.scaled(kPerByteTotal * static_cast<long>(count) + kTotalConstant);
    std::size_t written = 0;
    while (written < count) {
        auto remaining = deadline - std::chrono::steady_clock::now();
        if (remaining <= std::chrono::nanoseconds::zero()) break;
        long n = device->writeSome(data + written, count - written, remaining);
        if (n < 0) {
            captureErrorMarker(*channel, device->lastError(), CaptureDirection::Sent);
            break;
        }
        if (n > 0) {
            channel->capture.capture(data + written, static_cast<std::size_t>(n), CaptureDirection::Sent);
            written += static_cast<std::size_t>(n);
        }
    }
    return written == count ? 1 : 0;
}

int sendByte(TTYInfo* channel, std::uint8_t byte) { return writeBytes(channel, &byte, 1); }

int sendText(TTYInfo* channel, const std::string& text) {
    if (channel == nullptr) return 0;
    for (char c : text)
        if (sendByte(channel, static_cast<std::uint8_t>(c)) == 0) return 0;
    return 1;
}

int sendLineCR(TTYInfo* channel, const std::string& text) {
    if (sendText(channel, text) == 0) return 0;
    return sendByte(channel, '\r');
}

int sendLineCRLF(TTYInfo* channel, const std::string& text) {
    if (sendText(channel, text) == 0) return 0;
    static const std::uint8_t kCrLf[2] = {'\r', '\n'};
    return writeBytes(channel, kCrLf, 2);
}

void purgeInput(TTYInfo* channel) {
    int waiting = inputQueueCount(channel);
    for (int i = 0; i < waiting; ++i) {
        std::uint8_t byte;
        if (readBytes(channel, &byte, 1) == 0) break;
    }
}

int inputQueueCount(TTYInfo* channel) {
    if (channel == nullptr) return 0;
    auto device = currentDevice(*channel);
    return device ? (device->inputCount() & 0xFFFF) : 0;
}

int readLineCR(TTYInfo* channel, std::string& line, int max) { return readLine(channel, line, max, '\r', '\n'); }

int readLineLF(TTYInfo* channel, std::string& line, int max) { return readLine(channel, line, max, '\n', '\r'); }

int waitTenths(TTYInfo* channel, int tenths) {
    if (channel == nullptr) return 0;
    for (int i = 0; i < tenths; ++i) {
        if (channel->cancelFlag.load() == kCancelled) return kCancelled;
        channel->env.clock->sleepFor(100ms);
    }
    return 0;
}

void sleepSeconds(TTYInfo* channel, int seconds) {
    if (channel == nullptr) return;
    channel->env.clock->sleepFor(std::chrono::seconds(seconds));
}

void captureBytes(TTYInfo* channel, const std::uint8_t* bytes, std::size_t count, CaptureDirection direction) {
    if (channel == nullptr) return;
    channel->capture.capture(bytes, count, direction);
}

void resetCapture(TTYInfo* channel) {
    if (channel == nullptr) return;
    channel->capture.reset();
}

}  // namespace fenta21
