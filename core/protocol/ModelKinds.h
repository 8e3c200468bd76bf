#pragma once

#include <string_view>

namespace fenta21 {

// The model kind number: what the panel, its settings dialogs and the CSV converter branch on.
// It is derived from the model code by substring tests, so a new code of a known family
// needs only its type.dat line.
namespace ModelKind {
inline constexpr int kUnknown = 0;
inline constexpr int kWNDA = 20;
inline constexpr int kLVLA = 32;
inline constexpr int kQP = 40;
inline constexpr int kQS = 44;
inline constexpr int kLVPQ = 132;
inline constexpr int kQ8 = 0x3000;
inline constexpr int kRP8 = 0x3005;
inline constexpr int kRS8 = 0x302C;
inline constexpr int kCM = 52;
inline constexpr int kSEAL = 92;   // "SEAL-"
inline constexpr int kSEAL2 = 93;  // "SEAL2-"
inline constexpr int kGAPD = 100;
inline constexpr int kFLKA = 104;
inline constexpr int kQ4 = 0x2000;
inline constexpr int kRGT1 = 105;
inline constexpr int kFLKB = 106;
inline constexpr int kCMLOGR = 107;
inline constexpr int kXCMLOGR = 108;
inline constexpr int kHBLTZ = 109;
}  // namespace ModelKind

// Every family whose name the code contains overwrites the previous result, so the last
// family in the list wins: "XCMLOGR-01" is an XCMLOGR although it also contains "CM" and
// "CMLOGR". A code of no known family gives ModelKind::kUnknown.
int modelKindNumber(std::string_view modelCode);

}  // namespace fenta21
