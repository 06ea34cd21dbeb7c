#pragma once
// Windows-style virtual-key codes: the codes the stored settings hold.
namespace pf::vk {

constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kClear = 12;
constexpr int kReturn = 13;
constexpr int kShift = 16;
constexpr int kControl = 17;
constexpr int kAlt = 18;
constexpr int kPause = 19;
constexpr int kCapsLock = 20;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kPageUp = 33;
constexpr int kPageDown = 34;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kSelect = 41;
constexpr int kPrint = 42;
constexpr int kExecute = 43;
constexpr int kScreen = 44;
constexpr int kInsert = 45;
constexpr int kDelete = 46;
constexpr int kHelp = 47;
constexpr int k0 = 48;  // ... k9 = 57
constexpr int kA = 65;  // ... kZ = 90
constexpr int kC = 67;
constexpr int kQ = 81;
constexpr int kR = 82;
constexpr int kW = 87;
constexpr int kX = 88;
constexpr int kZ = 90;
constexpr int kNumpad0 = 96;  // ... 105
constexpr int kNumpadMultiply = 106;
constexpr int kNumpadAdd = 107;
constexpr int kNumpadSubtract = 109;
constexpr int kNumpadDecimal = 110;
constexpr int kNumpadDivide = 111;
constexpr int kF1 = 112;  // ... kF12 = 123
constexpr int kNumLock = 144;
constexpr int kScrollLock = 145;
constexpr int kShiftLeft = 160;
constexpr int kShiftRight = 161;
constexpr int kControlLeft = 162;
constexpr int kControlRight = 163;
constexpr int kAltLeft = 164;
constexpr int kAltRight = 165;
constexpr int kSemicolon = 186;
constexpr int kEquals = 187;
constexpr int kComma = 188;
constexpr int kMinus = 189;
constexpr int kPeriod = 190;
constexpr int kSlash = 191;
constexpr int kTilde = 192;
constexpr int kBracketOpen = 219;
constexpr int kBackslashUs = 220;
constexpr int kBracketClose = 221;
constexpr int kQuote = 222;
constexpr int kBackslash = 226;

}  // namespace pf::vk
