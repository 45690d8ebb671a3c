// The 65816 side of the walk: one instruction at a time, its item, its log statement and the
// rules that end a script.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scripts/ScriptWalk.h"

namespace {

// How the operand reads in a log statement.
enum class OperandMode : std::uint8_t {
    None,
    Imm,       // accumulator immediate, 8 or 16 bits by the tracked width
    ImmIndex,  // 16-bit immediate
    Dp,
    DpX,
    DpY,
    DpInd,
    DpIndY,
    DpLong,
    DpLongY,
    Stack,
    StackY,
    Abs,
    AbsX,
    AbsY,
    Long,
    LongX,
    Block,
    Branch,
};

enum class Flow : std::uint8_t {
    None,
    NotDecoded,      // one item for the byte, decoding goes on at the next one
    NotImplemented,  // "[NYI]" over the instruction's standard length
    Brk,
    Rep,
    Sep,
    Return,
    Jump,
    JumpLong,
    JumpIndexed,
    Bra,
    Branch,
    Jsr,
    Jsl,
};

struct Opcode {
    const char* item;    // tree item, the 8-bit accumulator form
    const char* item16;  // tree item with a 16-bit accumulator, where it differs
    const char* log8;    // log statement; %E is the operand expression, %V the immediate
    const char* log16;
    std::uint8_t length;  // with an 8-bit accumulator
    OperandMode mode;
    Flow flow;
};

// The opcodes as this walk decodes them, indexed by opcode byte.
// clang-format off
constexpr std::array<Opcode, 256> kOpcodes{{
    /* 00 */ {"//BRK", nullptr, nullptr, nullptr, 3, OperandMode::None, Flow::Brk},
    /* 01 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 02 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 03 */ {"ORA S, $%02X", nullptr, "ORA8( %E );", "ORA16( %E );", 2, OperandMode::Stack, Flow::None},
    /* 04 */ {"TSB $%02X", nullptr, "RAM.TSB8( %E, A );", "RAM.TSB( %E, AB );", 2, OperandMode::Dp, Flow::None},
    /* 05 */ {"ORA $%02X", nullptr, "ORA8( %E );", "ORA16( %E );", 2, OperandMode::Dp, Flow::None},
    /* 06 */ {"ASL $%02X", nullptr, "RAM.ASL( %E, CState );", "RAM.ASL_16( %E, CState );", 2, OperandMode::Dp, Flow::None},
    /* 07 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 08 */ {"PHP", nullptr, "//PHP;", "//PHP;", 1, OperandMode::None, Flow::None},
    /* 09 */ {"ORA #$%02X", "ORA #$%04X", "ORAB(%V);", "ORA(%V);", 2, OperandMode::Imm, Flow::None},
    /* 0A */ {"ASL A", nullptr, "ASL8;", "ASL_;", 1, OperandMode::None, Flow::None},
    /* 0B */ {"PHD", nullptr, "PHD;", "PHD;", 1, OperandMode::None, Flow::None},
    /* 0C */ {"TSB $%04X", nullptr, "RAM.TSB8( %E, A );", "RAM.TSB( %E, AB );", 3, OperandMode::Abs, Flow::None},
    /* 0D */ {"ORA $%04X", nullptr, "ORA8( %E );", "ORA16( %E );", 3, OperandMode::Abs, Flow::None},
    /* 0E */ {"ASL $%04X", nullptr, "RAM.ASL( %E, CState );", "RAM.ASL_16( %E, CState );", 3, OperandMode::Abs, Flow::None},
    /* 0F */ {"ORA $%06X[%02X:%04X]", nullptr, "ORA8( %E );", "ORA16( %E );", 4, OperandMode::Long, Flow::None},
    /* 10 */ {"BPL $%02X [$%04X]", nullptr, nullptr, nullptr, 2, OperandMode::Branch, Flow::Branch},
    /* 11 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 12 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 13 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 14 */ {"TRB $%02X", nullptr, "RAM.TRB8( %E, A );", "RAM.TRB( %E, AB );", 2, OperandMode::Dp, Flow::None},
    /* 15 */ {"ORA D, $%02X, x", nullptr, "ORA8( %E );", "ORA16( %E );", 2, OperandMode::DpX, Flow::None},
    /* 16 */ {"[NYI]", nullptr, nullptr, nullptr, 2, OperandMode::None, Flow::NotImplemented},
    /* 17 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 18 */ {"CLC", nullptr, "CLC;", "CLC;", 1, OperandMode::None, Flow::None},
    /* 19 */ {"ORA $%04X,y", nullptr, "ORA8( %E );", "ORA16( %E );", 3, OperandMode::AbsY, Flow::None},
    /* 1A */ {"INC A", nullptr, "INC8_;", "INC_;", 1, OperandMode::None, Flow::None},
    /* 1B */ {"TCS", nullptr, "TCS;", "TCS;", 1, OperandMode::None, Flow::None},
    /* 1C */ {"TRB $%04X", nullptr, "RAM.TRB8( %E, A );", "RAM.TRB( %E, AB );", 3, OperandMode::Abs, Flow::None},
    /* 1D */ {"ORA $%04X,x[??:????]", nullptr, "ORA8( %E );", "ORA16( %E );", 3, OperandMode::AbsX, Flow::None},
    /* 1E */ {"[NYI]", nullptr, nullptr, nullptr, 3, OperandMode::None, Flow::NotImplemented},
    /* 1F */ {"ORA $%06X,x[??:????]", nullptr, "ORA8( %E );", "ORA16( %E );", 4, OperandMode::LongX, Flow::None},
    /* 20 */ {"JSR %02X%04X", nullptr, nullptr, nullptr, 3, OperandMode::Abs, Flow::Jsr},
    /* 21 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 22 */ {"JSL $%06X[%02X:%04X]", nullptr, nullptr, nullptr, 4, OperandMode::Long, Flow::Jsl},
    /* 23 */ {"AND S, $%02X", nullptr, "AND8( %E );", "AND16( %E );", 2, OperandMode::Stack, Flow::None},
    /* 24 */ {"BIT $%02X", nullptr, nullptr, nullptr, 2, OperandMode::Dp, Flow::None},
    /* 25 */ {"AND $%02X", nullptr, "AND8( %E );", "AND16( %E );", 2, OperandMode::Dp, Flow::None},
    /* 26 */ {"ROL $%02X", nullptr, "RAM.ROL( %E, CState );", "RAM.ROL_16( %E, CState );", 2, OperandMode::Dp, Flow::None},
    /* 27 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 28 */ {"PLP", nullptr, "//PLP;", "//PLP;", 1, OperandMode::None, Flow::None},
    /* 29 */ {"AND #$%02X", "AND #$%04X", "ANDB(%V);", "AND(%V);", 2, OperandMode::Imm, Flow::None},
    /* 2A */ {"ROL A", nullptr, "AB = RAM.ROL( AB, CState );", "AB = RAM.ROL( AB, CState );", 1, OperandMode::None, Flow::None},
    /* 2B */ {"PLD", nullptr, "PLD;", "PLD;", 1, OperandMode::None, Flow::None},
    /* 2C */ {"BIT $%04X", nullptr, nullptr, nullptr, 3, OperandMode::Abs, Flow::None},
    /* 2D */ {"AND $%04X", nullptr, "AND8( %E );", "AND16( %E );", 3, OperandMode::Abs, Flow::None},
    /* 2E */ {"ROL $%04X", nullptr, "RAM.ROL( %E, CState );", "RAM.ROL_16( %E, CState );", 3, OperandMode::Abs, Flow::None},
    /* 2F */ {"AND $%06X", nullptr, "AND8( %E );", "AND16( %E );", 4, OperandMode::Long, Flow::None},
    /* 30 */ {"BMI $%02X [$%04X]", nullptr, nullptr, nullptr, 2, OperandMode::Branch, Flow::Branch},
    /* 31 */ {"[NYI]", nullptr, nullptr, nullptr, 2, OperandMode::None, Flow::NotImplemented},
    /* 32 */ {"[NYI]", nullptr, nullptr, nullptr, 2, OperandMode::None, Flow::NotImplemented},
    /* 33 */ {"[NYI]", nullptr, nullptr, nullptr, 2, OperandMode::None, Flow::NotImplemented},
    /* 34 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 35 */ {"[NYI]", nullptr, nullptr, nullptr, 2, OperandMode::None, Flow::NotImplemented},
    /* 36 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 37 */ {"[NYI]", nullptr, nullptr, nullptr, 2, OperandMode::None, Flow::NotImplemented},
    /* 38 */ {"SEC", nullptr, "SEC;", "SEC;", 1, OperandMode::None, Flow::None},
    /* 39 */ {"AND $%04X,y", nullptr, "AND8( %E );", "AND16( %E );", 3, OperandMode::AbsY, Flow::None},
    /* 3A */ {"DEC A", nullptr, "DEC8_;", "DEC_;", 1, OperandMode::None, Flow::None},
    /* 3B */ {"TSC", nullptr, "TSC;", "TSC;", 1, OperandMode::None, Flow::None},
    /* 3C */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 3D */ {"AND $%04X,x", nullptr, "AND8( %E );", "AND16( %E );", 3, OperandMode::AbsX, Flow::None},
    /* 3E */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 3F */ {"[NYI]", nullptr, nullptr, nullptr, 4, OperandMode::None, Flow::NotImplemented},
    /* 40 */ {"RTI", nullptr, "RTI();", "RTI();", 1, OperandMode::None, Flow::Return},
    /* 41 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 42 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 43 */ {"EOR S, $%02X", nullptr, "EOR8( %E );", "EOR16( %E );", 2, OperandMode::Stack, Flow::None},
    /* 44 */ {"[NYI]", nullptr, nullptr, nullptr, 3, OperandMode::None, Flow::NotImplemented},
    /* 45 */ {"EOR $%02X", nullptr, "EOR8( %E );", "EOR16( %E );", 2, OperandMode::Dp, Flow::None},
    /* 46 */ {"LSR $%02X", nullptr, "RAM.LSR( %E, CState );", "RAM.LSR_16( %E, CState );", 2, OperandMode::Dp, Flow::None},
    /* 47 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 48 */ {"PHA", nullptr, "PHA8;", "PHA;", 1, OperandMode::None, Flow::None},
    /* 49 */ {"EOR #$%02X", "EOR #$%04X", "EORB(%V);", "EOR(%V);", 2, OperandMode::Imm, Flow::None},
    /* 4A */ {"LSR", nullptr, "LSR8;", "LSR_;", 1, OperandMode::None, Flow::None},
    /* 4B */ {"PHK", nullptr, "PHK;", "PHK;", 1, OperandMode::None, Flow::None},
    /* 4C */ {"JMP $%04X [%02X:%04X]", nullptr, nullptr, nullptr, 3, OperandMode::Abs, Flow::Jump},
    /* 4D */ {"EOR $%04X", nullptr, "EOR8( %E );", "EOR16( %E );", 3, OperandMode::Abs, Flow::None},
    /* 4E */ {"LSR $%04X", nullptr, "RAM.LSR( %E, CState );", "RAM.LSR_16( %E, CState );", 3, OperandMode::Abs, Flow::None},
    /* 4F */ {"[NYI]", nullptr, nullptr, nullptr, 4, OperandMode::None, Flow::NotImplemented},
    /* 50 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 51 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 52 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 53 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 54 */ {"MVN #$%02X, #$%02X", nullptr, "RAM.MVN( %E, CState );", "RAM.MVN( %E, CState );", 3, OperandMode::Block, Flow::None},
    /* 55 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 56 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 57 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 58 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 59 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 5A */ {"PHY", nullptr, "PHY;", "PHY;", 1, OperandMode::None, Flow::None},
    /* 5B */ {"TCD", nullptr, "TCD;", "TCD;", 1, OperandMode::None, Flow::None},
    /* 5C */ {"JMP $%06X", nullptr, nullptr, nullptr, 4, OperandMode::Long, Flow::JumpLong},
    /* 5D */ {"EOR $%04X, X", nullptr, "EOR8( %E );", "EOR16( %E );", 3, OperandMode::AbsX, Flow::None},
    /* 5E */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 5F */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 60 */ {"RTS", nullptr, "RTS();", "RTS();", 1, OperandMode::None, Flow::Return},
    /* 61 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 62 */ {"[NYI]", nullptr, nullptr, nullptr, 3, OperandMode::None, Flow::NotImplemented},
    /* 63 */ {"ADC S, %u", nullptr, "ADC8( %E );", "ADC16( %E );", 2, OperandMode::Stack, Flow::None},
    /* 64 */ {"STZ $%02X", nullptr, "STZ8( %E);", "STZ16( %E);", 2, OperandMode::Dp, Flow::None},
    /* 65 */ {"ADC $%02X", nullptr, "ADC8( %E );", "ADC16( %E );", 2, OperandMode::Dp, Flow::None},
    /* 66 */ {"ROR $%02X", nullptr, "RAM.ROR( %E, CState );", "RAM.ROR_16( %E, CState );", 2, OperandMode::Dp, Flow::None},
    /* 67 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 68 */ {"PLA", nullptr, "PLA8;", "PLA;", 1, OperandMode::None, Flow::None},
    /* 69 */ {"ADC #$%02X", "ADC #$%04X", "ADCB(%V);", "ADC(%V);", 2, OperandMode::Imm, Flow::None},
    /* 6A */ {"ROR A", nullptr, "AB = RAM.ROR( AB, CState );", "AB = RAM.ROR( AB, CState );", 1, OperandMode::None, Flow::None},
    /* 6B */ {"RTL", nullptr, "RTL();", "RTL();", 1, OperandMode::None, Flow::Return},
    /* 6C */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 6D */ {"ADC $%04X", nullptr, "ADC8( %E );", "ADC16( %E );", 3, OperandMode::Abs, Flow::None},
    /* 6E */ {"ROR $%04X", nullptr, "RAM.ROR( %E, CState );", "RAM.ROR_16( %E, CState );", 3, OperandMode::Abs, Flow::None},
    /* 6F */ {"ADC $%06X", nullptr, "ADC8( %E );", "ADC16( %E );", 4, OperandMode::Long, Flow::None},
    /* 70 */ {"BVS $%02X [$%04X]", nullptr, nullptr, nullptr, 2, OperandMode::Branch, Flow::Branch},
    /* 71 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 72 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 73 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 74 */ {"STZ $%02X,x", nullptr, "STZ8( %E);", "STZ16( %E);", 2, OperandMode::DpX, Flow::None},
    /* 75 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 76 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 77 */ {"ADC [D, $7E%04X],y", nullptr, "ADC8( %E );", "ADC16( %E );", 2, OperandMode::DpLongY, Flow::None},
    /* 78 */ {"SEI", nullptr, "SEI;", "SEI;", 1, OperandMode::None, Flow::None},
    /* 79 */ {"ADC $%04X, Y", nullptr, "ADC8( %E );", "ADC16( %E );", 3, OperandMode::AbsY, Flow::None},
    /* 7A */ {"PLY", nullptr, "PLY;", "PLY;", 1, OperandMode::None, Flow::None},
    /* 7B */ {"TDC", nullptr, "TDC;", "TDC;", 1, OperandMode::None, Flow::None},
    /* 7C */ {"JMP ($%04X, X)", nullptr, nullptr, nullptr, 3, OperandMode::Abs, Flow::JumpIndexed},
    /* 7D */ {"ADC $%04X, X", nullptr, "ADC8( %E );", "ADC16( %E );", 3, OperandMode::AbsX, Flow::None},
    /* 7E */ {"ROR $%04X,x", nullptr, "RAM.ROR( %E, CState );", "RAM.ROR_16( %E, CState );", 3, OperandMode::AbsX, Flow::None},
    /* 7F */ {"ADC $%06X,x[??:????]", nullptr, "ADC8( %E );", "ADC16( %E );", 4, OperandMode::LongX, Flow::None},
    /* 80 */ {"BRA $%02X [$%04X]", nullptr, nullptr, nullptr, 2, OperandMode::Branch, Flow::Bra},
    /* 81 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 82 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 83 */ {"STA S, %u", nullptr, "STA8( %E );", "STA( %E );", 2, OperandMode::Stack, Flow::None},
    /* 84 */ {"STY $%02X", nullptr, "STY( %E );", "STY( %E );", 2, OperandMode::Dp, Flow::None},
    /* 85 */ {"STA $%02X", nullptr, "STA8( %E );", "STA( %E );", 2, OperandMode::Dp, Flow::None},
    /* 86 */ {"STX $%02X", nullptr, "STX( %E );", "STX( %E );", 2, OperandMode::Dp, Flow::None},
    /* 87 */ {"STA [D, %04X]", nullptr, "STA8( %E );", "STA( %E );", 2, OperandMode::DpLong, Flow::None},
    /* 88 */ {"DEY", nullptr, "DEY;", "DEY;", 1, OperandMode::None, Flow::None},
    /* 89 */ {"BIT #$%02X", "BIT #$%04X", nullptr, nullptr, 2, OperandMode::Imm, Flow::None},
    /* 8A */ {"TXA", nullptr, "TXA;", "TXA;", 1, OperandMode::None, Flow::None},
    /* 8B */ {"PHB", nullptr, "PHB;", "PHB;", 1, OperandMode::None, Flow::None},
    /* 8C */ {"STY $%04X  [??:%04X]", nullptr, "STY( %E );", "STY( %E );", 3, OperandMode::Abs, Flow::None},
    /* 8D */ {"STA $%04X", nullptr, "STA8( %E );", "STA( %E );", 3, OperandMode::Abs, Flow::None},
    /* 8E */ {"STX $%04X  [??:%04X]", nullptr, "STX( %E );", "STX( %E );", 3, OperandMode::Abs, Flow::None},
    /* 8F */ {"STA $%06X[%02X:%04X]", nullptr, "STA8( %E );", "STA( %E );", 4, OperandMode::Long, Flow::None},
    /* 90 */ {"BCC $%02X [$%04X]", nullptr, nullptr, nullptr, 2, OperandMode::Branch, Flow::Branch},
    /* 91 */ {"STA (D, $%02X), Y", nullptr, "STA8( %E );", "STA( %E );", 2, OperandMode::DpIndY, Flow::None},
    /* 92 */ {"STA (D, $%02X)", nullptr, "STA8( %E );", "STA( %E );", 2, OperandMode::DpInd, Flow::None},
    /* 93 */ {"STA (SP, $%02X), Y", nullptr, "STA8( %E );", "STA( %E );", 2, OperandMode::StackY, Flow::None},
    /* 94 */ {"STY $%02X,x", nullptr, "STY( %E );", "STY( %E );", 2, OperandMode::DpX, Flow::None},
    /* 95 */ {"STA $%02X,x", nullptr, "STA8( %E );", "STA( %E );", 2, OperandMode::DpX, Flow::None},
    /* 96 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* 97 */ {"STA [D, $7E%04X], y", nullptr, "STA8( %E );", "STA( %E );", 2, OperandMode::DpLongY, Flow::None},
    /* 98 */ {"TYA", nullptr, "TYA;", "TYA;", 1, OperandMode::None, Flow::None},
    /* 99 */ {"STA $%04X,y[??:????]", nullptr, "STA8( %E );", "STA( %E );", 3, OperandMode::AbsY, Flow::None},
    /* 9A */ {"TXS", nullptr, "TXS;", "TXS;", 1, OperandMode::None, Flow::None},
    /* 9B */ {"TXY", nullptr, "TXY;", "TXY;", 1, OperandMode::None, Flow::None},
    /* 9C */ {"STZ $%04X", nullptr, "STZ8( %E);", "STZ16( %E);", 3, OperandMode::Abs, Flow::None},
    /* 9D */ {"STA $%04X,x[??:????]", nullptr, "STA8( %E );", "STA( %E );", 3, OperandMode::AbsX, Flow::None},
    /* 9E */ {"STZ $%04X,x[??:????]", nullptr, "STZ8( %E);", "STZ16( %E);", 3, OperandMode::AbsX, Flow::None},
    /* 9F */ {"STA $%06X,x[??:????]", nullptr, "STA8( %E );", "STA( %E );", 4, OperandMode::LongX, Flow::None},
    /* A0 */ {"LDY #$%04X", nullptr, "LDY16(%V);", "LDY16(%V);", 3, OperandMode::ImmIndex, Flow::None},
    /* A1 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* A2 */ {"LDX #$%04X", nullptr, "LDX16( %V );", "LDX16( %V );", 3, OperandMode::ImmIndex, Flow::None},
    /* A3 */ {"LDA S, %u", nullptr, "LDA8( %E );", "LDA( %E );", 2, OperandMode::Stack, Flow::None},
    /* A4 */ {"LDY $%02X", nullptr, "LDY( %E );", "LDY( %E );", 2, OperandMode::Dp, Flow::None},
    /* A5 */ {"LDA $%02X", nullptr, "LDA8( %E );", "LDA( %E );", 2, OperandMode::Dp, Flow::None},
    /* A6 */ {"LDX $%02X [??:%04X]", nullptr, "LDX( %E );", "LDX( %E );", 2, OperandMode::Dp, Flow::None},
    /* A7 */ {"LDA [D, $7E%04X]", nullptr, "LDA8( %E );", "LDA( %E );", 2, OperandMode::DpLong, Flow::None},
    /* A8 */ {"TAY", nullptr, "TAY;", "TAY;", 1, OperandMode::None, Flow::None},
    /* A9 */ {"LDA #$%02X", "LDA #$%04X", "LDAB(%V);", "LDAW(%V);", 2, OperandMode::Imm, Flow::None},
    /* AA */ {"TAX", nullptr, "TAX;", "TAX;", 1, OperandMode::None, Flow::None},
    /* AB */ {"PLB", nullptr, "PLB;", "PLB;", 1, OperandMode::None, Flow::None},
    /* AC */ {"LDY $%04X  [??:%04X]", nullptr, "LDY( %E );", "LDY( %E );", 3, OperandMode::Abs, Flow::None},
    /* AD */ {"LDA $%04X", nullptr, "LDA8( %E );", "LDA( %E );", 3, OperandMode::Abs, Flow::None},
    /* AE */ {"LDX $%04X", nullptr, "LDX( %E );", "LDX( %E );", 3, OperandMode::Abs, Flow::None},
    /* AF */ {"LDA $%06X[%02X:%04X]", nullptr, "LDA8( %E );", "LDA( %E );", 4, OperandMode::Long, Flow::None},
    /* B0 */ {"BCS $%02X $%04X", nullptr, nullptr, nullptr, 2, OperandMode::Branch, Flow::Branch},
    /* B1 */ {"LDA (D, $7E%04X), Y", nullptr, "LDA8( %E );", "LDA( %E );", 2, OperandMode::DpIndY, Flow::None},
    /* B2 */ {"LDA (D, $7E%04X)", nullptr, "LDA8( %E );", "LDA( %E );", 2, OperandMode::DpInd, Flow::None},
    /* B3 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* B4 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* B5 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* B6 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* B7 */ {"LDA [D, $7E%04X], Y", nullptr, "LDA8( %E );", "LDA( %E );", 2, OperandMode::DpLongY, Flow::None},
    /* B8 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* B9 */ {"LDA $%04X, Y", nullptr, "LDA8( %E );", "LDA( %E );", 3, OperandMode::AbsY, Flow::None},
    /* BA */ {"TSX", nullptr, "TSX;", "TSX;", 1, OperandMode::None, Flow::None},
    /* BB */ {"TYX", nullptr, "TYX;", "TYX;", 1, OperandMode::None, Flow::None},
    /* BC */ {"LDY $%04X,x", nullptr, "LDY( %E );", "LDY( %E );", 3, OperandMode::AbsX, Flow::None},
    /* BD */ {"LDA $%04X, X", nullptr, "LDA8( %E );", "LDA( %E );", 3, OperandMode::AbsX, Flow::None},
    /* BE */ {"LDX $%04X,y", nullptr, "LDX( %E );", "LDX( %E );", 3, OperandMode::AbsY, Flow::None},
    /* BF */ {"LDA $%06X, X", nullptr, "LDA8( %E );", "LDA( %E );", 4, OperandMode::LongX, Flow::None},
    /* C0 */ {"CPY #%04X", nullptr, nullptr, nullptr, 3, OperandMode::ImmIndex, Flow::None},
    /* C1 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* C2 */ {"REP", nullptr, nullptr, nullptr, 2, OperandMode::None, Flow::Rep},
    /* C3 */ {"CMP S, $%02X", nullptr, nullptr, nullptr, 2, OperandMode::Stack, Flow::None},
    /* C4 */ {"CPY $%02X", nullptr, nullptr, nullptr, 2, OperandMode::Dp, Flow::None},
    /* C5 */ {"CMP $%02X", nullptr, nullptr, nullptr, 2, OperandMode::Dp, Flow::None},
    /* C6 */ {"DEC $%02X", nullptr, "DEC8( %E );", "DEC16( %E );", 2, OperandMode::Dp, Flow::None},
    /* C7 */ {"CMP [D, $%02X]", nullptr, nullptr, nullptr, 2, OperandMode::DpLong, Flow::None},
    /* C8 */ {"INY", nullptr, "INY;", "INY;", 1, OperandMode::None, Flow::None},
    /* C9 */ {"CMP #%02X", "CMP #%04X", nullptr, nullptr, 2, OperandMode::Imm, Flow::None},
    /* CA */ {"DEX", nullptr, "DEX;", "DEX;", 1, OperandMode::None, Flow::None},
    /* CB */ {"WAI", nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::None},
    /* CC */ {"CPY $%04X", nullptr, nullptr, nullptr, 3, OperandMode::Abs, Flow::None},
    /* CD */ {"CMP $%04X", nullptr, nullptr, nullptr, 3, OperandMode::Abs, Flow::None},
    /* CE */ {"DEC $%04X", nullptr, "DEC8( %E );", "DEC16( %E );", 3, OperandMode::Abs, Flow::None},
    /* CF */ {"CMP $%06X", nullptr, nullptr, nullptr, 4, OperandMode::Long, Flow::None},
    /* D0 */ {"BNE $%02X [$%04X]", nullptr, nullptr, nullptr, 2, OperandMode::Branch, Flow::Branch},
    /* D1 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* D2 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* D3 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* D4 */ {"PEI (D,$%02X)", nullptr, "PEI( %E );", "PEI( %E );", 2, OperandMode::Dp, Flow::None},
    /* D5 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* D6 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* D7 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* D8 */ {"CLD", nullptr, "CLD;", "CLD;", 1, OperandMode::None, Flow::None},
    /* D9 */ {"CMP $%04X,y", nullptr, nullptr, nullptr, 3, OperandMode::AbsY, Flow::None},
    /* DA */ {"PHX", nullptr, "PHX;", "PHX;", 1, OperandMode::None, Flow::None},
    /* DB */ {"STP", nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::None},
    /* DC */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* DD */ {"CMP $%04X,x[??:????]", nullptr, nullptr, nullptr, 3, OperandMode::AbsX, Flow::None},
    /* DE */ {"DEC $%04X,x", nullptr, "DEC8( %E );", "DEC16( %E );", 3, OperandMode::AbsX, Flow::None},
    /* DF */ {"CMP $%06X,x[??:????]", nullptr, nullptr, nullptr, 4, OperandMode::LongX, Flow::None},
    /* E0 */ {"CPX #%04X", nullptr, nullptr, nullptr, 3, OperandMode::ImmIndex, Flow::None},
    /* E1 */ {"[NYI]", nullptr, nullptr, nullptr, 2, OperandMode::None, Flow::NotImplemented},
    /* E2 */ {"SEP", nullptr, nullptr, nullptr, 2, OperandMode::None, Flow::Sep},
    /* E3 */ {"SBC S, $%02X", nullptr, "SBC8( %E );", "SBC16( %E );", 2, OperandMode::Stack, Flow::None},
    /* E4 */ {"CPX $%02X", nullptr, nullptr, nullptr, 2, OperandMode::Dp, Flow::None},
    /* E5 */ {"SBC $%02X", nullptr, "SBC8( %E );", "SBC16( %E );", 2, OperandMode::Dp, Flow::None},
    /* E6 */ {"INC $%02X", nullptr, "INC8( %E );", "INC16( %E );", 2, OperandMode::Dp, Flow::None},
    /* E7 */ {"SBC [D, $7E%04X]", nullptr, "SBC8( %E );", "SBC16( %E );", 2, OperandMode::DpLong, Flow::None},
    /* E8 */ {"INX", nullptr, "INX;", "INX;", 1, OperandMode::None, Flow::None},
    /* E9 */ {"SBC #$%02X", "SBC #$%04X", "SBCB(%V);", "SBC(%V);", 2, OperandMode::Imm, Flow::None},
    /* EA */ {"NOP", nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::None},
    /* EB */ {"XBA", nullptr, "XBA;", "XBA;", 1, OperandMode::None, Flow::None},
    /* EC */ {"CPX $%04X", nullptr, nullptr, nullptr, 3, OperandMode::Abs, Flow::None},
    /* ED */ {"SBC $%04X[??:%04X]", nullptr, "SBC8( %E );", "SBC16( %E );", 3, OperandMode::Abs, Flow::None},
    /* EE */ {"INC $%04X", nullptr, "INC8( %E );", "INC16( %E );", 3, OperandMode::Abs, Flow::None},
    /* EF */ {"SBC $%06X", nullptr, "SBC8( %E );", "SBC16( %E );", 4, OperandMode::Long, Flow::None},
    /* F0 */ {"BEQ $%02X [$%04X]", nullptr, nullptr, nullptr, 2, OperandMode::Branch, Flow::Branch},
    /* F1 */ {"SBC (D, $%02X), Y", nullptr, "SBC8( %E );", "SBC16( %E );", 2, OperandMode::DpIndY, Flow::None},
    /* F2 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* F3 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* F4 */ {"PEA #$%04X", nullptr, "PEA( %V );", "PEA( %V );", 3, OperandMode::ImmIndex, Flow::None},
    /* F5 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* F6 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* F7 */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* F8 */ {"SED", nullptr, "SED;", "SED;", 1, OperandMode::None, Flow::None},
    /* F9 */ {"SBC $%04X, Y", nullptr, "SBC8( %E );", "SBC16( %E );", 3, OperandMode::AbsY, Flow::None},
    /* FA */ {"PLX", nullptr, "PLX;", "PLX;", 1, OperandMode::None, Flow::None},
    /* FB */ {"XCE", nullptr, "XCE;", "XCE;", 1, OperandMode::None, Flow::None},
    /* FC */ {nullptr, nullptr, nullptr, nullptr, 1, OperandMode::None, Flow::NotDecoded},
    /* FD */ {"SBC $%04X, X", nullptr, "SBC8( %E );", "SBC16( %E );", 3, OperandMode::AbsX, Flow::None},
    /* FE */ {"INC $%04X,x[??:????]", nullptr, "INC8( %E );", "INC16( %E );", 3, OperandMode::AbsX, Flow::None},
    /* FF */ {"SBC $%06X,x[??:????]", nullptr, "SBC8( %E );", "SBC16( %E );", 4, OperandMode::LongX, Flow::None},
}};
// clang-format on

constexpr std::uint32_t kBankMask = 0xFF0000;
constexpr char kIfLine[] = "if( %s )\n\t\tgoto loc_%06X;\n\n";

// The log conditions of the conditional branches. The flags a branch tests were set by the
// instruction before it; `after` lists those instructions (hex opcodes), the two conditions are
// for an 8-bit and a 16-bit accumulator, and a placeholder in them shows the operand of that
// instruction, read from the bytes just before the branch.
struct BranchCondition {
    const char* after;  // null: every other instruction
    const char* condition8;
    const char* condition16;
    const char* line = kIfLine;
};

constexpr char kCheckLine[] = "if( %s ) //Check!\n\t\tgoto loc_%06X;\n\n";

const BranchCondition kBplConditions[] = {
    {"0A 29 3A 68 7D 7F 85 8D 8F 90 9F A5 A7 A8 A9 AD B0 B7 B9 BD BF C9 E5 E9 ED F0 FD FF",
     "BPL8(A)", "BPL(AB)"},
    {"28", "CState->n == 0", "CState->n == 0"},
    {"88 AC", "BPL(Y)", "BPL(Y)"},
    {"CA", "BPL(X)", "BPL(X)"},
    {"C5 C6", "BPL( WORD( DP + 0x%02X ) )", "BPL( WORD( DP + 0x%02X ) )"},
    {"CE", "BPL( WORD( B + 0x%04X ) )", "BPL( WORD( B + 0x%04X ) )"},
    {"DE FE", "BPL( WORD( B + 0x%04X + X ) )", "BPL( WORD( B + 0x%04X + X ) )"},
};
const BranchCondition kBmiConditions[] = {
    {"00 22 60 65 83 85 8D 9D A3 A5 A7 AD B7 B9 BD BF E5 E9 ED FD", "A & 0x80", "AB & 0x8000"},
    {"0A 90 B0 F0", "A & 0x80", "AB & 0x8000", kCheckLine},
    {"28 E2", "CState->n", "CState->n"},
    {"2B", "DP & 0x8000", "DP & 0x8000"},
    {"88 A4 A8 AC", "Y & 0x8000", "Y & 0x8000"},
    {"FA", "X & 0x8000", "X & 0x8000"},
    {"C6", "WORD( DP + 0x%02X ) & 0x8000", "WORD( DP + 0x%02X ) & 0x8000"},
    {"CD", "WORD( B + 0x%04X ) & 0x8000", "WORD( B + 0x%04X ) & 0x8000"},
    {"DD DE FE", "WORD( B + 0x%04X + X ) & 0x8000", "WORD( B + 0x%04X + X ) & 0x8000"},
    {"C9", "AB < 0x%04X", "AB < 0x%04X"},
    {"E0", "X < 0x%04X", "X < 0x%04X"},
};
const BranchCondition kBvsConditions[] = {
    {nullptr, "CState->v", "CState->v"},
};
const BranchCondition kBccConditions[] = {
    {"C0", "Y < 0x%04X", "Y < 0x%04X"},
    {"C3", "AB < WORD( SP + %u )", "AB < WORD( SP + %u )"},
    {"C4", "Y < WORD( DP + 0x%02X )", "Y < WORD( DP + 0x%02X )"},
    {"C5", "AB < WORD( DP + 0x%02X )", "AB < WORD( DP + 0x%02X )"},
    {"C7", "AB < LDA( U24( DP + 0x%02X ) )", "AB < LDA( U24( DP + 0x%02X ) )"},
    {"C9", "AB < 0x%02X", "AB < 0x%04X"},
    {"CD", "AB < WORD( B + 0x%04X )", "AB < WORD( B + 0x%04X )"},
    {"D9", "A < BYTE( B + 0x%04X + Y )", "AB < WORD( B + 0x%04X + Y )"},
    {"DD", "A < BYTE( B + 0x%04X + X )", "AB < WORD( B + 0x%04X + X )"},
    {"E0", "X < 0x%04X", "X < 0x%04X"},
    {"E4", "X < WORD( DP + 0x%02X )", "X < WORD( DP + 0x%02X )"},
    {"08 0A 20 22 29 46 4A 4E 68 B9 E3 E9", "CState->c == 0", "CState->c == 0",
     "if( %s ) // check!\n\t\tgoto loc_%06X;\n\n"},
    {nullptr, "CState->c == 0", "CState->c == 0"},
};
const BranchCondition kBcsConditions[] = {
    {"C0", "Y >= 0x%04X", "Y >= 0x%04X"},
    {"C4", "Y >= WORD( DP + 0x%02X )", "Y >= WORD( DP + 0x%02X )"},
    {"C5", "AB >= WORD( DP + 0x%02X )", "AB >= WORD( DP + 0x%02X )"},
    {"C9", "A >= 0x%02X", "AB >= 0x%04X"},
    {"CF", "AB >= WORD(0x%06X)", "AB >= WORD(0x%06X)"},
    {"D9", "A >= BYTE( B + 0x%04X + Y )", "AB >= WORD( B + 0x%04X + Y )"},
    {"DF", "AB >= WORD(0x%06X + X)", "AB >= WORD(0x%06X + X)"},
    {"E0", "X >= 0x%04X", "X >= 0x%04X"},
    {"E4", "X >= WORD( DP + 0x%02X )", "X >= WORD( DP + 0x%02X )"},
    {nullptr, "CState->c", "CState->c", "if(%s)\n\t\tgoto loc_%06X;\n\n"},
};
const BranchCondition kBneConditions[] = {
    {"00 0D 0F 18 1F 20 22 28 29 2D 38 39 3A 4A 4C 5B 69 6B 80 83 85 8A 8D 90 99 9F A5 AA AD AF "
     "B0 B2 B9 BD BF E2 E5 E9 F9",
     "A != 0", "AB != 0"},
    {"88 AC BC C8", "Y != 0", "Y != 0"},
    {"A6 AE BE CA", "X != 0", "X != 0"},
    {"89", "A & 0x%02X", "AB & 0x%04X"},
    {"C0", "Y != 0x%04X", "Y != 0x%04X"},
    {"C3", "AB != WORD( SP + %u )", "AB != WORD( SP + %u )"},
    {"C4", "Y != WORD( DP + 0x%02X )", "Y != WORD( DP + 0x%02X )"},
    {"C5", "AB != WORD( DP + 0x%02X )", "AB != WORD( DP + 0x%02X )"},
    {"C6 E6", "BYTE( DP + 0x%02X ) != 0", "WORD( DP + 0x%02X ) != 0"},
    {"C9", "A != 0x%02X", "AB != 0x%04X"},
    {"CC", "Y != WORD( B + 0x%04X )", "Y != WORD( B + 0x%04X )"},
    {"CD", "BYTE( B + 0x%04X ) != A", "WORD( B + 0x%04X ) != AB"},
    {"CE EE", "BYTE( B + 0x%04X ) != 0", "WORD( B + 0x%04X ) != 0"},
    {"CF", "AB != WORD( 0x%06X )", "AB != WORD( 0x%06X )"},
    {"DD DE", "BYTE( B + 0x%04X + X ) != A", "WORD( B + 0x%04X + X ) != AB"},
    {"DF", "AB != WORD( 0x%06X + X)", "AB != WORD( 0x%06X + X)"},
    {"E0", "X != 0x%04X", "X != 0x%04X"},
    {"EC", "X != WORD( B + 0x%04X )", "X != WORD( B + 0x%04X )"},
    {"FE", "WORD( B + 0x%04X + X ) != 0", "WORD( B + 0x%04X + X ) != 0"},
};
const BranchCondition kBeqConditions[] = {
    {"03 0D 18 20 22 23 29 2D 2F 30 38 3A 49 60 68 69 85 8A 98 9F A5 A8 AA AD AF B7 B9 BD BF C2 "
     "E5 E9 F9 FD FF",
     "A == 0", "AB == 0"},
    {"7A 84 88 8C A4 AC BC", "Y == 0", "Y == 0"},
    {"AE BE", "X == 0", "X == 0"},
    {"24", "(AB & WORD( DP + 0x%02X )) == 0", "(AB & WORD( DP + 0x%02X )) == 0"},
    {"28", "CState->z", "CState->z"},
    {"2B", "DP == 0", "DP == 0"},
    {"2C", "(AB & WORD( B + 0x%04X )) == 0", "(AB & WORD( B + 0x%04X )) == 0"},
    {"89", "(A & 0x%02X) == 0", "(AB & 0x%04X) == 0"},
    {"C0", "Y == 0x%04X", "Y == 0x%04X"},
    {"C3", "AB == WORD( SP + %u )", "AB == WORD( SP + %u )"},
    {"C5", "AB == WORD( DP + 0x%02X )", "AB == WORD( DP + 0x%02X )"},
    {"C6 E6", "WORD( DP + 0x%02X ) == 0", "WORD( DP + 0x%02X ) == 0"},
    {"C9", "A == 0x%02X", "AB == 0x%04X"},
    {"CD", "A == BYTE( B + 0x%04X )", "AB == WORD( B + 0x%04X )"},
    {"CE", "WORD( B + 0x%04X ) == 0", "WORD( B + 0x%04X ) == 0"},
    {"CF", "AB == WORD( 0x%06X )", "AB == WORD( 0x%06X )"},
    {"D9", "AB == WORD( B + 0x%04X + Y )", "AB == WORD( B + 0x%04X + Y )"},
    {"DD", "AB == WORD( B + 0x%04X + X )", "AB == WORD( B + 0x%04X + X )"},
    {"DF", "AB == WORD( 0x%06X + X )", "AB == WORD( 0x%06X + X )"},
    {"E0", "X == 0x%04X", "X == 0x%04X"},
    {"EC", "X == WORD( B + 0x%04X )", "X == WORD( B + 0x%04X )"},
};

// For one branch opcode: which condition applies after each flag setter.
class BranchConditionIndex {
public:
    template <std::size_t N>
    explicit BranchConditionIndex(const BranchCondition (&conditions)[N]) {
        byOpcode_.fill(nullptr);
        for (const BranchCondition& condition : conditions) {
            if (condition.after == nullptr) {
                otherwise_ = &condition;
                continue;
            }
            for (std::string_view list(condition.after); list.size() >= 2;) {
                byOpcode_[HexDigit(list[0]) << 4 | HexDigit(list[1])] = &condition;
                list.remove_prefix(std::min<std::size_t>(list.size(), 3));
            }
        }
    }

    // Null where the log gets no statement. Before any instruction (setter -1) the condition
    // for every other instruction applies.
    const BranchCondition* For(int setter) const {
        const BranchCondition* listed =
            setter >= 0 ? byOpcode_[static_cast<std::size_t>(setter)] : nullptr;
        return listed != nullptr ? listed : otherwise_;
    }

private:
    static std::size_t HexDigit(char c) {
        return static_cast<std::size_t>(c <= '9' ? c - '0' : c - 'A' + 10);
    }

    std::array<const BranchCondition*, 256> byOpcode_{};
    const BranchCondition* otherwise_ = nullptr;
};

const BranchConditionIndex* ConditionsOf(std::uint8_t branch) {
    static const BranchConditionIndex bpl(kBplConditions), bmi(kBmiConditions), bvs(kBvsConditions),
        bcc(kBccConditions), bcs(kBcsConditions), bne(kBneConditions), beq(kBeqConditions);
    switch (branch) {
        case 0x10:
            return &bpl;
        case 0x30:
            return &bmi;
        case 0x70:
            return &bvs;
        case 0x90:
            return &bcc;
        case 0xB0:
            return &bcs;
        case 0xD0:
            return &bne;
        case 0xF0:
            return &beq;
        default:
            return nullptr;
    }
}

// A stack-relative operand as the log shows it: the byte less one, above 1.
std::uint32_t StackOffset(std::uint32_t byte) {
    return byte > 1 ? byte - 1 : byte;
}

// The value of a placeholder of width `width` that shows the operand of the instruction whose
// operand ends at `end`; nothing is read below offset 0.
std::uint32_t OperandBefore(const ScriptWalk& walk, std::uint32_t end, int width) {
    const std::uint32_t bytes = width == 6 ? 3 : width == 4 ? 2 : 1;
    if (end < bytes) {
        return 0;
    }
    const std::uint32_t value = width == 6   ? walk.Long(end - 3)
                                : width == 4 ? walk.Word(end - 2)
                                             : walk.Byte(end - 1);
    return width == 0 ? StackOffset(value) : value;
}

void LogBranch(ScriptWalk& walk, std::uint8_t branch, std::uint32_t at, std::uint32_t target) {
    int setter = walk.previousOpcode;
    std::uint32_t setterEnd = at;
    if (branch == 0xD0 && setter == 0xC2) {
        // A REP between a three-byte flag setter and the BNE leaves the flags alone.
        setter = at >= 5 ? walk.Byte(at - 5) : -1;
        setterEnd = at >= 2 ? at - 2 : 0;
        walk.previousOpcode = setter;
    }
    const BranchCondition* condition = ConditionsOf(branch)->For(setter);
    if (condition == nullptr) {
        return;
    }
    std::string text;
    AppendFormat(text, walk.accumulatorIs8Bit ? condition->condition8 : condition->condition16,
                 [&](int, int width) { return FormatArg{OperandBefore(walk, setterEnd, width)}; });
    AppendFormat(*walk.log, condition->line, {{0, text}, {target | kLogAddressBit}});
}

struct Operand {
    std::uint32_t at = 0;     // offset of the opcode
    std::uint32_t value = 0;  // the operand bytes, little-endian
    std::uint32_t length = 1;
    std::uint32_t target = 0;  // of a branch
};

// The operand expressions of the log, by operand mode (null: the mode has none).
const char* ExpressionFormat(OperandMode mode) {
    switch (mode) {
        case OperandMode::Dp:
            return "DP + 0x%02X";
        case OperandMode::DpX:
            return "DP + 0x%02X + X";
        case OperandMode::DpY:
            return "DP + 0x%02X + Y";
        case OperandMode::DpInd:
            return "WORD( DP + 0x%02X )";
        case OperandMode::DpIndY:
            return "WORD( DP + 0x%02X ) + Y";
        case OperandMode::DpLong:
            return "U24( DP + 0x%02X )";
        case OperandMode::DpLongY:
            return "U24( DP + 0x%02X ) + Y";
        case OperandMode::Stack:
            return "SP + %u";
        case OperandMode::StackY:
            return "WORD( SP + 0x%02X ) + Y";
        case OperandMode::Abs:
            return "B + 0x%04X";
        case OperandMode::AbsX:
            return "B + 0x%04X + X";
        case OperandMode::AbsY:
            return "B + 0x%04X + Y";
        case OperandMode::Long:
            return "0x%06X";
        case OperandMode::LongX:
            return "0x%06X + X";
        case OperandMode::Block:
            return "0x%02X, 0x%02X";
        default:
            return nullptr;
    }
}

constexpr std::size_t kOperandModes = static_cast<std::size_t>(OperandMode::Branch) + 1;

void AppendExpression(std::string& out, OperandMode mode, const Operand& operand) {
    static const auto compiled = [] {
        std::array<std::optional<CompiledFormat>, kOperandModes> byMode;
        for (std::size_t m = 0; m < kOperandModes; ++m) {
            if (const char* format = ExpressionFormat(static_cast<OperandMode>(m))) {
                byMode[m].emplace(format);
            }
        }
        return byMode;
    }();
    const auto& format = compiled[static_cast<std::size_t>(mode)];
    if (!format) {
        return;
    }
    const std::uint32_t v = operand.value;
    if (mode == OperandMode::Stack) {
        format->AppendTo(out, {{StackOffset(v)}});
    } else if (mode == OperandMode::Block) {
        format->AppendTo(out, {{v & 0xFF}, {v >> 8}});
    } else {
        format->AppendTo(out, {{v}});
    }
}

void AppendStatement(std::string& out, std::string_view statement, OperandMode mode,
                     const Operand& operand) {
    for (std::size_t i = 0; i < statement.size(); ++i) {
        const std::size_t mark = statement.find('%', i);
        if (mark == std::string_view::npos || mark + 1 >= statement.size()) {
            out.append(statement.substr(i));
            break;
        }
        out.append(statement.substr(i, mark - i));
        if (statement[mark + 1] == 'E') {
            AppendExpression(out, mode, operand);
        } else {
            out += "0x";
            AppendHex(out, operand.value, static_cast<int>(operand.length - 1) * 2);
        }
        i = mark + 1;
    }
    out += '\n';
}

// The item of a decoded instruction. Which value a placeholder shows follows from its width and
// the instruction's length: a bank where a two-digit field sits in a longer instruction, the
// branch target where a four-digit field sits in a branch.
std::string ItemText(const CompiledFormat& format, OperandMode mode, const Operand& operand,
                     std::string& scratch) {
    scratch.clear();
    format.AppendTo(scratch, [&](int index, int width) {
        const std::uint32_t v = operand.value;
        switch (operand.length) {
            case 2:
                return FormatArg{width == 4 && mode == OperandMode::Branch ? operand.target : v};
            case 3:
                if (mode == OperandMode::Block) {
                    return FormatArg{index == 0 ? v & 0xFF : v >> 8};
                }
                return FormatArg{width == 2 ? operand.at >> 16 : v};
            default:
                return FormatArg{width == 2 ? v >> 16 : width == 4 ? v & 0xFFFF : v};
        }
    });
    return scratch;
}

// The item formats of the opcodes, parsed once: [opcode][0] with an 8-bit accumulator,
// [opcode][1] with a 16-bit one.
const CompiledFormat* ItemFormat(std::uint8_t opcode, bool wide) {
    static const auto compiled = [] {
        std::array<std::array<std::optional<CompiledFormat>, 2>, 256> byOpcode;
        for (std::size_t i = 0; i < kOpcodes.size(); ++i) {
            if (kOpcodes[i].item != nullptr) {
                byOpcode[i][0].emplace(kOpcodes[i].item);
            }
            if (kOpcodes[i].item16 != nullptr) {
                byOpcode[i][1].emplace(kOpcodes[i].item16);
            }
        }
        return byOpcode;
    }();
    const auto& format = compiled[opcode][wide ? 1 : 0];
    return format ? &*format : nullptr;
}

// The walk ends after a return or a jump unless a forward branch target lies ahead.
bool TargetAhead(const ScriptWalk& walk, std::uint32_t position) {
    return walk.pendingLabel != 0 && walk.pendingLabel >= position;
}

void ApplyFlow(ScriptWalk& walk, const Opcode& op, const Operand& operand) {
    std::string* log = walk.log;
    const std::uint32_t next = walk.position();
    const std::uint32_t bank = operand.at & kBankMask;
    switch (op.flow) {
        case Flow::Rep:
        case Flow::Sep:
            if ((operand.value & 0x20) != 0) {
                walk.accumulatorIs8Bit = op.flow == Flow::Sep;
                if (log != nullptr) {
                    log->append(op.flow == Flow::Sep ? "//8\n" : "//16\n");
                }
            }
            return;
        case Flow::Return:
            if (log != nullptr) {
                AppendStatement(*log, op.log8, op.mode, operand);
            }
            if (!TargetAhead(walk, next)) {
                walk.stop = true;
            } else if (log != nullptr) {
                log->append("break;\n");
            }
            return;
        case Flow::Jump:
        case Flow::JumpLong:
            if (log != nullptr) {
                if (op.flow == Flow::Jump) {
                    AppendFormat(*log, "goto loc_%06X;\n\n",
                                 {{(bank | operand.value) | kLogAddressBit}});
                } else {
                    AppendFormat(*log, "goto loc_%06X\n", {{operand.value}});
                }
            }
            walk.stop = !TargetAhead(walk, next);
            return;
        case Flow::JumpIndexed:
            if (log != nullptr) {
                AppendFormat(*log,
                             "CState->PC = WORD( 0x%02X%04X + X ) | ( CState->PC & 0xFF0000 );\n",
                             {{(operand.at | kLogAddressBit) >> 16}, {operand.value}});
            }
            walk.stop = true;
            return;
        case Flow::Bra:
            if (log != nullptr) {
                AppendFormat(*log, "goto loc_%06X;\n\n", {{operand.target | kLogAddressBit}});
            }
            if ((operand.value & 0x80) != 0 &&
                (walk.pendingLabel == 0 || walk.pendingLabel < operand.at)) {
                walk.stop = true;
            }
            return;
        case Flow::Branch:
            if (log != nullptr) {
                LogBranch(walk, static_cast<std::uint8_t>(walk.Byte(operand.at)), operand.at,
                          operand.target);
            }
            walk.pendingLabel = operand.target;
            return;
        case Flow::Jsr:
            if (log != nullptr) {
                AppendFormat(*log, "JSR( 0x%06X, 0x%06X ); break; case 0x%06X:\n",
                             {{operand.at | kLogAddressBit},
                              {(bank | operand.value) | kLogAddressBit},
                              {next | kLogAddressBit}});
            }
            return;
        case Flow::Jsl:
            if (log != nullptr) {
                AppendFormat(
                    *log, "JSL( 0x%06X, 0x%06X ); break; case 0x%06X:\n",
                    {{operand.at | kLogAddressBit}, {operand.value}, {next | kLogAddressBit}});
            }
            return;
        default:
            if (log != nullptr && op.log8 != nullptr) {
                AppendStatement(*log, walk.accumulatorIs8Bit ? op.log8 : op.log16, op.mode,
                                operand);
            }
            return;
    }
}

}  // namespace

std::uint8_t DecodeInstruction(ScriptWalk& walk, ScriptTreeNode& run) {
    const std::uint32_t at = walk.position();
    const std::uint8_t opcode = walk.Byte(at);
    const Opcode& op = kOpcodes[opcode];
    if (op.flow == Flow::NotDecoded) {
        static const CompiledFormat kUndecoded("[%06X]:%02X");
        std::string text;
        kUndecoded.AppendTo(text, {{at}, {opcode}});
        walk.Add(run, std::move(text));
        walk.position() = at + 1;
        return opcode;
    }
    const bool wide = op.mode == OperandMode::Imm && !walk.accumulatorIs8Bit;
    Operand operand{at, 0, op.length + (wide ? 1u : 0u)};
    if (!walk.Fits(at, operand.length)) {
        walk.StopAt(kEndOfImageWarning);
        return opcode;
    }
    for (std::uint32_t i = operand.length - 1; i > 0; --i) {
        operand.value = operand.value << 8 | walk.Byte(at + i);
    }
    if (op.mode == OperandMode::Branch) {
        // The target stays in the branch's 64 KB bank, as the processor keeps it: a branch
        // near a bank edge shows and logs the address it really reaches.
        const auto displacement = static_cast<std::int8_t>(operand.value);
        operand.target = (at & kBankMask) | ((at + 2 + displacement) & 0xFFFF);
    }
    if (op.flow == Flow::NotImplemented || op.flow == Flow::Brk) {
        walk.Add(run, std::string(op.item));
    } else {
        walk.AddCopy(run, ItemText(*ItemFormat(opcode, wide), op.mode, operand, walk.scratch));
    }
    walk.position() = at + operand.length;
    ApplyFlow(walk, op, operand);
    return opcode;
}
