#pragma once

#include "core/serial/TTYInfo.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace fenta21 {

// Channel life. The record exists from start-up to exit; operations on a missing record
// return 0 like the rest of the channel's calls.
std::unique_ptr<TTYInfo> createChannel(ChannelEnvironment environment);
int destroyChannel(std::unique_ptr<TTYInfo>& channel);
// Opens "COM<portNumber>" (or deviceOverride) at the record's baud rate: 1 or 0.
int openChannel(TTYInfo* channel);
// Applies the record's line settings to the open port: non-zero on success.
int SetupConnection(TTYInfo* channel);
int closeChannel(TTYInfo* channel);

// The device name used in messages: "COMn", or the override path.
std::string portName(const TTYInfo& channel);
// The device that opening COMn would use now (the override path when one is set), from the
// COM port map as it stands; empty when the number leads to none.
std::string devicePathFor(const TTYInfo& channel, int portNumber);

// Byte level. Reads wait up to 2 s (scaled) for the first byte, as the logger's time-outs
// are counted in such reads; longer reads allow 1 s more per byte and 1 s between bytes.
std::size_t readBytes(TTYInfo* channel, std::uint8_t* buffer, std::size_t count);
// Up to `count` bytes, allowing each byte the 2 s (scaled) that a one-byte read allows, as if
// read one at a time but without a system call per byte. Returns the count read.
std::size_t readEachWithin(TTYInfo* channel, std::uint8_t* buffer, std::size_t count);
int writeBytes(TTYInfo* channel, const std::uint8_t* data, std::size_t count);
int sendByte(TTYInfo* channel, std::uint8_t byte);
int sendText(TTYInfo* channel, const std::string& text);
int sendLineCR(TTYInfo* channel, const std::string& text);
int sendLineCRLF(TTYInfo* channel, const std::string& text);
void purgeInput(TTYInfo* channel);
int inputQueueCount(TTYInfo* channel);

// One line, one byte per read: 0 a line (without its terminator), -1 `max` bytes arrived
// without one, -2 a read timed out. LF ends a logger reply and CR is dropped; readLineCR is
// the reverse, for modem replies.
int readLineCR(TTYInfo* channel, std::string& line, int max);
int readLineLF(TTYInfo* channel, std::string& line, int max);

// Waiting: 0 after n x 100 ms, or 27 as soon as the cancel flag says so.
int waitTenths(TTYInfo* channel, int tenths);
void sleepSeconds(TTYInfo* channel, int seconds);

// Capture queue entry points for the monitor.
void captureBytes(TTYInfo* channel, const std::uint8_t* bytes, std::size_t count, CaptureDirection direction);
void resetCapture(TTYInfo* channel);

}  // namespace fenta21
