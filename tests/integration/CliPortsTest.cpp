// Mapping a COM port to a device in comports.txt, in the core and through "fenta21-cli ports".
// Real pseudo-terminals stand in for the adapters, since only a character device is taken.
#include "core/serial/ComPortAssignment.h"
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fenta21::test {
namespace {

namespace fs = std::filesystem;

// A pseudo-terminal whose slave is there while the object lives.
class Pty {
public:
    Pty() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) slave_ = ::ptsname(master_);
    }
    ~Pty() {
        if (master_ >= 0) ::close(master_);
    }
    const std::string& slave() const { return slave_; }

private:
    int master_ = -1;
    std::string slave_;
};

// A made-up /dev whose ttyUSB0 leads to a pseudo-terminal and has a stable by-id name.
class PortsMap : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(adapter.slave().empty());
        ASSERT_FALSE(other.slave().empty());
        fs::create_directories(dev + "/serial/by-id");
        fs::create_symlink(adapter.slave(), dev + "/ttyUSB0");
        fs::create_symlink("../../ttyUSB0", byId);
        fs::create_directory(home.root() + "/sys");
    }
    ComPortAssignment assign(const std::string& port, const std::string& device) {
        return assignComPort(mapFile, port, device, {dev, home.root() + "/sys"});
    }

    TempHome home;
    Pty adapter;
    Pty other;
    std::string dev = home.root() + "/dev";
    std::string byId = dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0";
    std::string mapFile = home.file("comports.txt");
};

TEST_F(PortsMap, WritesTheStableNameInPlaceOfThePortsLineAndKeepsTheRest) {
    home.write("comports.txt", "# station ports\nCOM1 /dev/old  # the first cable\nCOM3 /dev/modem\ncom1 /dev/x\n");
    for (const std::string& device : {dev + "/ttyUSB0", std::string("ttyUSB0"), byId}) {
        ComPortAssignment result = assign("com1", device);
        EXPECT_EQ(result.outcome, ComPortAssignment::Outcome::Written) << device << ": " << result.why;
        EXPECT_EQ(result.device, byId) << device;
        EXPECT_EQ(home.read("comports.txt"), "# station ports\nCOM1 " + byId + "\nCOM3 /dev/modem\n") << device;
    }
    // A device without a stable name is written as given; a file without a line for the
    // port gets one at its end, also when its last line has no line end.
    home.write("comports.txt", "COM3 /dev/modem");
    EXPECT_EQ(assign("COM2", other.slave()).outcome, ComPortAssignment::Outcome::Written);
    EXPECT_EQ(home.read("comports.txt"), "COM3 /dev/modem\nCOM2 " + other.slave() + "\n");
}

TEST_F(PortsMap, ABadPortOrDeviceWritesNothing) {
    const std::string before = "COM1 " + byId + "\n# kept byte for byte\r\n";
    struct Row {
        const char* legend;
        std::string port;
        std::string device;
        std::string why;
    } rows[] = {
        {"port 0", "COM0", other.slave(), "the port is COM1 to COM9, not \"COM0\""},
        {"port 10", "COM10", other.slave(), "the port is COM1 to COM9, not \"COM10\""},
        {"not a COM port", "LPT1", other.slave(), "the port is COM1 to COM9, not \"LPT1\""},
        {"no device", "COM2", "", "no device given"},
        {"device not there", "COM2", dev + "/ttyUSB9", dev + "/ttyUSB9 is not there (No such file or directory)"},
        {"a plain file", "COM2", home.file("comports.txt"), home.file("comports.txt") + " is not a serial device"},
        {"a folder", "COM2", dev, dev + " is not a serial device"},
        {"the device of another port", "COM2", dev + "/ttyUSB0",
         "line 3: COM2 " + byId + " (the device is already COM1)"},
    };
    for (const Row& row : rows) {
        home.write("comports.txt", before);
        ComPortAssignment result = assign(row.port, row.device);
        EXPECT_EQ(result.outcome, ComPortAssignment::Outcome::Refused) << row.legend;
        EXPECT_EQ(result.why, row.why) << row.legend;
        EXPECT_EQ(home.read("comports.txt"), before) << row.legend;
    }
    // The same device moves to another port only after its old line goes, also when the port's
    // own line comes first: the later line of two for one device would lose it without a word.
    const std::string earlier = "COM1 /dev/old\nCOM5 " + other.slave() + "\n";
    home.write("comports.txt", earlier);
    EXPECT_EQ(assign("COM1", other.slave()).why, "the device is already COM5");
    EXPECT_EQ(home.read("comports.txt"), earlier);
}

TEST_F(PortsMap, AMapFileThatCannotBeReadIsNotReplaced) {
    fs::create_directory(mapFile);
    ComPortAssignment result = assign("COM1", other.slave());
    EXPECT_EQ(result.outcome, ComPortAssignment::Outcome::NotWritten);
    EXPECT_TRUE(fs::is_directory(mapFile));
}

const std::map<std::string, std::string> kNoEnvironment;

class CliPorts : public ::testing::Test {
protected:
    ProcessResult cli(std::vector<std::string> args) {
        std::vector<std::string> argv{FENTA21_CLI_PATH, "--home", home.path()};
        argv.insert(argv.end(), args.begin(), args.end());
        return runProcess(argv, kNoEnvironment, home.root());
    }
    TempHome home;
    Pty adapter;
};

TEST_F(CliPorts, MapWritesTheLineAndTheListShowsIt) {
    ASSERT_FALSE(adapter.slave().empty());
    home.write("comports.txt", "COM1\n");
    auto mapped = cli({"ports", "map", "COM2", adapter.slave()});
    EXPECT_EQ(mapped.exitCode, 0) << mapped.err;
    EXPECT_EQ(mapped.out, "COM2 " + adapter.slave() + "\n");
    EXPECT_EQ(home.read("comports.txt"), "COM1\nCOM2 " + adapter.slave() + "\n");

    auto listed = cli({"ports"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find("COM ports (" + home.file("comports.txt") + "):\n"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("  COM1  none  comports.txt line 1: COM1 (no device given)\n"), std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("  COM2  " + adapter.slave() + "\n"), std::string::npos) << listed.out;
}

TEST_F(CliPorts, BadValuesExitTwoAndWriteNothing) {
    ASSERT_FALSE(adapter.slave().empty());
    for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
             {"ports", "map", "COM10", adapter.slave()},
             {"ports", "map", "COM2", home.file("ttyUSB9")},
             {"ports", "map", "COM2"},
             {"ports", "list"}}) {
        auto result = cli(args);
        EXPECT_EQ(result.exitCode, 2) << args.back() << "\n" << result.err;
        EXPECT_EQ(result.out, "") << args.back();
        EXPECT_FALSE(home.exists("comports.txt")) << args.back();
    }
    EXPECT_NE(cli({"ports", "map", "COM2", home.file("ttyUSB9")}).err.find("ttyUSB9 is not there"), std::string::npos);
}

}  // namespace
}  // namespace fenta21::test
