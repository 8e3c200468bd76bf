#include "core/protocol/ModelKinds.h"

namespace fenta21 {
namespace {

struct Family {
    std::string_view contains;
    int kind;
};

// The order matters: a later family that matches replaces an earlier one.
constexpr Family kFamilies[] = {
    {"WNDA", ModelKind::kWNDA},   {"LVLA", ModelKind::kLVLA},     {"QP", ModelKind::kQP},
    {"QS", ModelKind::kQS},       {"LVPQ", ModelKind::kLVPQ},     {"Q8", ModelKind::kQ8},
    {"RP8", ModelKind::kRP8},     {"RS8", ModelKind::kRS8},       {"CM", ModelKind::kCM},
    {"SEAL-", ModelKind::kSEAL},  {"SEAL2-", ModelKind::kSEAL2},  {"GAPD", ModelKind::kGAPD},
    {"FLKA", ModelKind::kFLKA},   {"Q4", ModelKind::kQ4},         {"RGT1", ModelKind::kRGT1},
    {"FLKB", ModelKind::kFLKB},   {"CMLOGR", ModelKind::kCMLOGR}, {"XCMLOGR", ModelKind::kXCMLOGR},
    {"HBLTZ", ModelKind::kHBLTZ},
};

}  // namespace

int modelKindNumber(std::string_view modelCode) {
    int kind = ModelKind::kUnknown;
    for (const Family& family : kFamilies)
        if (modelCode.find(family.contains) != std::string_view::npos) kind = family.kind;
    return kind;
}

}  // namespace fenta21
