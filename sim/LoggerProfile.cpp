#include "sim/LoggerProfile.h"

#include "core/protocol/ModelKinds.h"

namespace fenta21::sim {
namespace {

const ProfileKind kMeanSpeed{20, "MeanWS"}, kMaxSpeed{22, "MaxWS"}, kMeanDirection{72, "MeanWD"},
    kMaxDirection{73, "MaxWD"}, kPeakTime{24, "PeakTm"}, kTemperature{5, "Temp"}, kVoltage{0, "Volt"},
    kSpare{99, "Spare"}, kLevel{32, "Level"}, kRain{38, "Rain"}, kSnow{105, "Snow"}, kStrain{60, "Strain"},
    kTide{92, "Tide"}, kHumidity{8, "Humid"};

}  // namespace

std::string LoggerProfile::kindName(int code) const {
    if (code == 127) return "Disable";
    for (const ProfileKind& kind : kinds)
        if (kind.code == code) return kind.name;
    return "-";
}

bool LoggerProfile::hasKind(int code) const {
    for (const ProfileKind& kind : kinds)
        if (kind.code == code) return true;
    return false;
}

LoggerProfile profileFor(const std::string& modelCode) {
    using namespace ModelKind;
    LoggerProfile p;
    p.modelKind = modelKindNumber(modelCode);
    switch (p.modelKind) {
    case kWNDA:
        p.channelCount = 6;
        p.kinds = {kMeanSpeed, kMaxSpeed, kMeanDirection, kMaxDirection, kPeakTime, kTemperature, kVoltage, kSpare};
        break;
    case kLVLA:
        p.channelCount = 3;
        p.kinds = {kLevel, kTemperature, kVoltage};
        break;
    case kLVPQ:
        p.channelCount = 4;
        p.kinds = {kLevel, kRain, kTemperature, kVoltage};
        break;
    case kQS:
        p.channelCount = 3;
        p.kinds = {kSnow, kTemperature, kVoltage};
        break;
    case kRS8:
        p.channelCount = 10;
        p.kinds = std::vector<ProfileKind>(8, kStrain);
        p.kinds.push_back(kTemperature);
        p.kinds.push_back(kVoltage);
        break;
    case kSEAL: case kSEAL2:
        p.channelCount = 3;
        p.kinds = {kTide, kTemperature, kVoltage};
        break;
    case kRGT1:
        p.channelCount = 8;
        p.kinds = {kMeanSpeed, kMeanDirection, kMaxSpeed, kMaxDirection, kPeakTime, kTemperature, kSnow, kVoltage};
        break;
    case kCMLOGR:
        p.channelCount = 9;
        p.kinds = {kMeanSpeed, kMeanDirection, kMaxSpeed, kMaxDirection, kPeakTime, kTemperature, kHumidity, kSnow, kRain};
        break;
    case kXCMLOGR:
        p.channelCount = 9;
        p.kinds = {kMeanSpeed, kMeanDirection, kMaxSpeed, kMaxDirection, kPeakTime, kTemperature, kVoltage, kSnow, kRain};
        break;
    case kHBLTZ:
        p.channelCount = 6;
        p.kinds = {kMeanSpeed, kMeanDirection, kMaxSpeed, kMaxDirection, kTemperature, kVoltage};
        break;
    default:
        p.channelCount = 4;
        p.kinds = {kTemperature, kVoltage};
    }
    return p;
}

}  // namespace fenta21::sim
