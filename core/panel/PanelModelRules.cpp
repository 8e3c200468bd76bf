#include "core/panel/PanelModelRules.h"

#include "core/protocol/ModelKinds.h"

namespace fenta21 {

bool hasWaveAndOffset(int modelKind) { return modelKind == ModelKind::kLVLA || modelKind == ModelKind::kLVPQ; }

bool hasZeroSet(int modelKind) { return modelKind == ModelKind::kQS || modelKind == ModelKind::kRS8; }

bool zeroesEachChannel(int modelKind) { return modelKind == ModelKind::kRS8; }

bool isTideFamily(int modelKind) { return modelKind == ModelKind::kSEAL || modelKind == ModelKind::kSEAL2; }

bool skipsInterval(int modelKind) {
    return modelKind == ModelKind::kRGT1 || modelKind == ModelKind::kCMLOGR || modelKind == ModelKind::kXCMLOGR;
}

bool namesChannels(int modelKind) { return modelKind == ModelKind::kCM || skipsInterval(modelKind); }

bool hasSecondPresets(int modelKind) { return (modelKind & 0x2000) != 0; }

bool isWindFamily(int modelKind) { return modelKind == ModelKind::kWNDA; }

bool monitorsUpperChannels(int modelKind) { return modelKind == ModelKind::kHBLTZ; }

}  // namespace fenta21
