// The script commands: a COP byte, a command byte and its operands. For each command byte the
// catalogue knows the operand layout and the text of its item.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "project/ProjectContext.h"
#include "scripts/ScriptWalk.h"

namespace {

enum class FieldKind : std::uint8_t {
    None,
    Byte,           // bN
    Word,           // wN
    Long,           // lN
    Relative,       // rN: wN in the bank of the command
    Flag,           // fN: flag number, relation, mask
    FlagNoRelation  // fN shown as flag number and mask only
};

struct Field {
    FieldKind kind = FieldKind::None;
    std::uint8_t offset = 0;  // from the command byte
};

// Short names keep the printed catalogue one row per command.
constexpr Field B(std::uint8_t n) {
    return {FieldKind::Byte, n};
}
constexpr Field W(std::uint8_t n) {
    return {FieldKind::Word, n};
}
constexpr Field L(std::uint8_t n) {
    return {FieldKind::Long, n};
}
constexpr Field R(std::uint8_t n) {
    return {FieldKind::Relative, n};
}
constexpr Field F(std::uint8_t n) {
    return {FieldKind::Flag, n};
}
constexpr Field G(std::uint8_t n) {
    return {FieldKind::FlagNoRelation, n};
}

struct CommandFormat {
    std::uint8_t command;
    std::uint8_t length;  // operand bytes after the command byte
    const char* text;
    std::array<Field, 8> fields;
};

// The commands of the game's script interpreter with a fixed operand layout.
// clang-format off
constexpr CommandFormat kCommands[] = {
    {0x00, 3, "SetJumpOffset( 0x%06X )", {L(1)}},
    {0x02, 2, "LoopSetup( %u )", {W(1)}},
    {0x03, 0, "LoopDoAsync()", {}},
    {0x04, 0, "LoopDo()", {}},
    {0x05, 2, "EventFlagWait( %02X %s %02X )", {F(1)}},
    {0x06, 3, "JumpAndSetOrigin( 0x%06X )", {L(1)}},
    {0x07, 2, "EventFlagSet( %02X, %02X )", {G(1)}},
    {0x08, 4, "EventFlagCheckJump( %02X %s %02X, %06X )", {F(1), R(3)}},
    {0x0A, 4, "CheckMapID( %02X, %06X )", {W(1), R(3)}},
    {0x0B, 4, "DeathwarpCheckMapID( %02X, %06X )", {W(1), R(3)}},
    {0x0C, 7, "TriggerOnAreaAbsolute( %u, %u, %u, %u, %u, %06X )", {B(1), B(2), B(3), B(4), B(5), R(6)}},
    {0x0D, 7, "TriggerOnAreaRelative( %u, %u, %u, %u, %u, %06X )", {B(1), B(2), B(3), B(4), B(5), R(6)}},
    {0x0E, 11, "TriggerOnAreaAbsolutePixel( %u, %u, %u, %u, %u, %06X )", {B(1), W(2), W(4), W(6), W(8), R(10)}},
    {0x0F, 5, "TriggerOnBlockAbsolute( %02X, %u, %u, %06X )", {B(1), B(2), B(3), R(4)}},
    {0x10, 5, "TriggerOnBlockRelative( %02X, %u, %u, %06X )", {B(1), B(2), B(3), R(4)}},
    {0x11, 7, "TriggerObjectOnAreaAbsolute( %u, %u, %u, %u, %u, %06X )", {B(1), B(2), B(3), B(4), B(5), R(6)}},
    {0x12, 7, "TriggerObjectOnAreaRelative( %u, %u, %u, %u, %u, %06X )", {B(1), B(2), B(3), B(4), B(5), R(6)}},
    {0x13, 3, "SpriteSetPosition( %u, %u, %u )", {B(1), B(2), B(3)}},
    {0x14, 8, "PlayerPort( 0x%04X, %u, %u, %u )", {W(1), W(3), W(5), W(7)}},
    {0x16, 7, "SetBonepinWarp( 0x%04X, 0x%02X, 0x%04X, 0x%04X )", {W(1), B(3), W(4), W(6)}},
    {0x17, 5, "SeagullTransport( %u, %u, %u )", {B(1), W(2), W(4)}},
    {0x18, 6, "RideShip( %u, %u, %u, %u )", {B(1), B(2), W(3), W(5)}},
    {0x19, 14, "RespawnBonePinLocationSet( 0x%04X, 0x%02X, 0x%04X, 0x%04X, 0x%04X, 0x%02X, 0x%04X, 0x%04X )", {W(1), B(3), W(4), W(6), W(8), B(10), W(11), W(13)}},
    {0x1F, 0, "MessageWait()", {}},
    {0x20, 0, "MessageAuto()", {}},
    {0x23, 2, "TriggerNearPlayer( 0x%06X )", {R(1)}},
    {0x24, 3, "TriggerNearPlayer( %02X, %06X )", {B(1), R(2)}},
    {0x25, 0, "Random()", {}},
    {0x26, 4, "RandomMoveInArea( %u, %u, %u, %u )", {B(1), B(2), B(3), B(4)}},
    {0x28, 1, "Unknown_28( 0x%02X )", {B(1)}},
    {0x29, 2, "PadButtonsEnable( 0x%04X )", {W(1)}},
    {0x2A, 2, "PadButtonsDisable( 0x%04X )", {W(1)}},
    {0x2B, 4, "PadCheckAllButtonsPressed2( 0x%04X, %06X )", {W(1), R(3)}},
    {0x2D, 7, "PadCheckButtonPressed( %02X, %02X, %06X ) // Absolute address", {W(1), W(3), L(5)}},
    {0x2E, 4, "PadCheckAnyButtonPressed( %02X, %06X ) // Relative address", {W(1), R(3)}},
    {0x2F, 4, "PadCheckNoButtonPressed( 0x%02X, 0x%06X ) // Relative address", {W(1), R(3)}},
    {0x30, 1, "MusicPlay( %u )", {B(1)}},
    {0x31, 1, "MusicPlayFadeOver( %u )", {B(1)}},
    {0x32, 1, "MusicPlay2( %u )", {B(1)}},
    {0x33, 0, "MusicWaitLoaded()", {}},
    {0x34, 1, "APUWriteByte_F5( %u )", {B(1)}},
    {0x35, 1, "APUWriteByte_F6( %u )", {B(1)}},
    {0x36, 1, "SoundEffectPlayOnce( %u )", {B(1)}},
    {0x37, 1, "SoundEffectPlay( %u )", {B(1)}},
    {0x38, 2, "SoundEffect?( %u )", {W(1)}},
    {0x39, 3, "SpriteGotoPositionX( 0x%02X, 0x%02X, %u )", {B(1), B(2), B(3)}},
    {0x3A, 3, "SpriteGotoPositionY( 0x%02X, 0x%02X, %u )", {B(1), B(2), B(3)}},
    {0x3B, 0, "ObjectSetSolid()", {}},
    {0x3C, 0, "ObjectSetHollow()", {}},
    {0x3D, 3, "BlockSetSolid( %u, %u, %u )", {B(1), B(2), B(3)}},
    {0x3E, 3, "BlockSetHollow( %u, %u, %u )", {B(1), B(2), B(3)}},
    {0x3F, 3, "BlockSetCollision( 0x%02X 0x%02X 0x%02X )", {B(1), B(2), B(3)}},
    {0x40, 3, "DungeonBlockSetHollow( %u, %u, %u )", {B(1), B(2), B(3)}},
    {0x41, 4, "BlockCheck( 0x%04X 0x%06X )", {W(1), R(3)}},
    {0x42, 6, "BlockCheckRelative( 0x%04X 0x%04X 0x%06X )", {W(1), W(3), R(5)}},
    {0x43, 4, "BlockSetAbsolute( 0x%02X, 0x%02X, 0x%02X, 0x%02X )", {B(1), B(2), B(3), B(4)}},
    {0x44, 4, "BlockSetRelative( 0x%04X 0x%04X )", {W(1), W(3)}},
    {0x45, 0, "BlockSet()", {}},
    {0x46, 7, "MapCopyRect( Size X: %u Size Y: %u Src X: %u Src Y: %u Dst X: %u Dst Y: %u Unk:%u )", {B(1), B(2), B(3), B(4), B(5), B(6), B(7)}},
    {0x47, 4, "ObjectDeleteIfEventFlags( %02X %s %02X, %02X %s %02X )", {F(1), F(2)}},
    {0x48, 2, "ObjectDeleteIfEventFlag( %02X %s %02X )", {F(1)}},
    {0x49, 2, "ObjectDeleteIfMapID( %04X )", {W(1)}},
    {0x4A, 5, "MapFlagCheck( 0x%02X, 0x%04X, 0x%04X )", {B(1), W(2), W(4)}},
    {0x4C, 5, "TownGrowthCheck( 0x%02X, 0x%04X, 0x%04X )", {B(1), W(2), W(4)}},
    {0x4E, 4, "Unknown_4E( 0x%06X 0x%02X )", {L(1), B(4)}},
    {0x4F, 4, "Unknown_4F( 0x%06X 0x%02X )", {L(1), B(4)}},
    {0x54, 3, "ItemAdd( %02X, %04X ) // ID: %u", {B(1), W(2), B(1)}},
    {0x55, 1, "ItemDel( %02X ) // ID: %u", {B(1), B(1)}},
    {0x56, 3, "ItemCheckEmptySlot( %u, 0x%06X )", {B(1), R(2)}},
    {0x57, 3, "ItemCheckOwned( %u, 0x%06X )", {B(1), R(2)}},
    {0x59, 1, "ObjectCheckOffScreen( %u )", {B(1)}},
    {0x5A, 5, "PaletteLoad( %02X, %04X, %02X, %02X )", {B(1), W(2), B(4), B(5)}},
    {0x5B, 5, "DecompressToMemory( %06X, %04X )", {L(1), W(4)}},
    {0x5C, 3, "MoneyAdd( %06X )", {L(1)}},
    {0x5D, 5, "MoneyDel( %06X, 0x%06X )", {L(1), R(4)}},
    {0x5E, 6, "MoneyCheck( %06X, %u, 0x%06X )", {L(1), B(4), R(5)}},
    {0x5F, 8, "SwitchOnDirection( %04X, %04X, %04X, %04X )", {W(1), W(3), W(5), W(7)}},
    {0x60, 4, "ItemAddPlayMusic( %u, %u, %u )", {B(1), W(2), B(4)}},
    {0x61, 6, "Unknown_61( %u, %u, %u, %u, %04X )", {B(1), B(2), B(3), B(4), W(5)}},
    {0x62, 1, "Unknown_62( %02X )", {B(1)}},
    {0x63, 2, "Unknown_63( %04X )", {W(1)}},
    {0x64, 2, "Unknown_64( %02X, %02X )", {B(1), B(2)}},
    {0x65, 5, "HandlerRegisterOnDamage( %04X, %06X )", {W(1), L(3)}},
    {0x66, 0, "ReturnFromDamageHandler()", {}},
    {0x67, 1, "LightFormSet( %u )", {B(1)}},
    {0x69, 0, "Unknown_69()", {}},
    {0x6A, 2, "Unknown_6A( %02X, %02X )", {B(1), B(2)}},
    {0x6E, 0, "SceneUpdate()", {}},
    {0x6F, 0, "Unknown_6F()", {}},
    {0x70, 4, "Follow( 0x%04X 0x%04X )", {W(1), W(3)}},
    {0x71, 6, "Unknown_71( 0x%04X 0x%04X 0x%04X )", {W(1), W(3), R(5)}},
    {0x72, 3, "Unknown_72( 0x%04X, 0x%02X )", {W(1), B(3)}},
    {0x73, 4, "Unknown_73( 0x%04X 0x%04X )", {W(1), W(3)}},
    {0x74, 3, "MagicHandlerSet( 0x%04X, 0x%02X )", {B(1), W(2)}},
    {0x75, 4, "ConditionalTalkHandlerSet( [%02X] = %02X, [%02X] = %02X )", {G(1), G(3)}},
    {0x78, 1, "BackgroundFadeUpdate( %u )", {B(1)}},
    {0x80, 1, "AnimationSetSpriteFlagsAndResetElevationLevel( %u )", {B(1)}},
    {0x81, 1, "AnimationSetB( %u )", {B(1)}},
    {0x82, 2, "AnimationSetC( %02X, %02X)", {B(1), B(2)}},
    {0x83, 2, "SpriteSetFlagsAndElevationLevel( %02X, %02X)", {B(1), B(2)}},
    {0x84, 3, "SpriteSetUpsideDown( %02X, %02X, %02X )", {B(1), B(2), B(3)}},
    {0x85, 2, "AnimationSetD( %u, %u )", {B(1), B(2)}},
    {0x86, 2, "AnimationSetE( %u, %u )", {B(1), B(2)}},
    {0x87, 3, "ObjectMove( %02X, %02X, %02X )", {B(1), B(2), B(3)}},
    {0x88, 3, "Unknown_88( %02X, %02X, %02X )", {B(1), B(2), B(3)}},
    {0x89, 4, "Unknown_89( %02X, %02X, %02X, %02X )", {B(1), B(2), B(3), B(4)}},
    {0x8A, 1, "Unknown_8A( %02X )", {B(1)}},
    {0x8B, 2, "Unknown_8B( %02X, %02X)", {B(1), B(2)}},
    {0x8C, 1, "Unknown_8C( %02X )", {B(1)}},
    {0x8D, 2, "Unknown_8D( %02X, %02X)", {B(1), B(2)}},
    {0x8E, 0, "AnimationWait()", {}},
    {0x8F, 0, "AnimationWait2()", {}},
    {0x91, 0, "Unknown_91()", {}},
    {0x93, 0, "PALCopy()", {}},
    {0x95, 0, "Unknown_95()", {}},
    {0x96, 0, "Unknown_96()", {}},
    {0x97, 8, "Unknown_97( 0x%04X, 0x%02X, 0x%04X, 0x%04X, 0x%02X )", {W(1), B(3), W(4), W(6), B(8)}},
    {0x98, 10, "Unknown_98( 0x%04X, 0x%04X, 0x%04X, 0x%04X, 0x%04X )", {W(1), W(3), W(5), W(7), W(9)}},
    {0x99, 5, "ObjectCloneInsertAtBeginSF( %06X, %04X )", {L(1), W(4)}},
    {0x9B, 5, "ObjectCloneInsertBeforeSFP( %06X, %04X )", {L(1), W(4)}},
    {0x9C, 7, "ObjectCloneInsertBeforeSRP( %06X, %04X, %04X )", {L(1), W(4), W(6)}},
    {0x9D, 10, "ObjectCloneInsertBeforeSRFP( %06X, %06X, %04X, %04X )", {L(1), L(4), W(7), W(9)}},
    {0x9E, 7, "ObjectCloneInsertBeforeSAP( %06X, %04X, %04X )", {L(1), W(4), W(6)}},
    {0x9F, 8, "ObjectCloneInsertBeforeSAFP( %06X, %04X, %04X, %04X )", {L(1), W(4), W(6), W(7)}},
    {0xA0, 5, "ObjectCloneInsertAtEndSFP( %06X, %04X )", {L(1), W(4)}},
    {0xA1, 3, "ObjectCloneInsertAfterSP( %06X )", {L(1)}},
    {0xA2, 5, "ObjectCloneInsertAfterSFP( %06X, %04X )", {L(1), W(4)}},
    {0xA3, 7, "ObjectCloneInsertAfterSRP( %06X, %04X, %04X )", {L(1), W(4), W(6)}},
    {0xA4, 9, "ObjectCloneInsertAfterSRFP( %06X, %04X, %04X, %04X )", {L(1), W(4), W(5), W(7)}},
    {0xA5, 7, "ObjectCloneInsertAfterSAP( %06X, %04X, %04X )", {L(1), W(4), W(6)}},
    {0xA6, 9, "ObjectCloneInsertAfterSAFP( %06X, %04X, %04X, %04X )", {L(1), W(4), W(5), W(7)}},
    {0xA7, 0, "ObjectDelete()", {}},
    {0xA8, 1, "Unknown_A8( %02X )", {B(1)}},
    {0xAA, 3, "Unknown_AA( %06X )", {L(1)}},
    {0xAB, 5, "Unknown_AB( %06X, %04X )", {L(1), W(4)}},
    {0xAC, 4, "Unknown_AC( %02X, %06X )", {B(1), L(2)}},
    {0xAE, 0, "Unknown_AE()", {}},
    {0xAF, 1, "Unknown_AF( 0x%02X )", {B(1)}},
    {0xB1, 2, "ObjectMoveHorizontal( 0x%02X%02X )", {B(2), B(1)}},
    {0xB2, 2, "ObjectMoveVertical( %04X )", {W(1)}},
    {0xB3, 4, "ObjectMove( %04X, %04X )", {W(1), W(3)}},
    {0xB4, 0, "SpriteSetUpsideDown()", {}},
    {0xB5, 0, "SpriteSetDownsideUp()", {}},
    {0xB6, 0, "SpriteSetFacingRight()", {}},
    {0xB7, 0, "SpriteSetFacingLeft()", {}},
    {0xB8, 0, "SpriteFlipVertical()", {}},
    {0xB9, 0, "SpriteFlipHorizontal()", {}},
    {0xBA, 1, "SpriteSetPriority( 0x%02X )", {B(1)}},
    {0xBB, 1, "SpriteSetPalette( 0x%02X )", {B(1)}},
    {0xBC, 0, "MarkOrigin()", {}},
    {0xBD, 0, "MarkOriginAsync()", {}},
    {0xBE, 5, "JumpAndSetOriginWithDelay( %06X, %04X )", {L(1), W(4)}},
    {0xBF, 3, "JumpAndSetOriginAsync( %06X )", {L(1)}},
    {0xC0, 3, "SetOriginAndEraseDelay( %06X )", {L(1)}},
    {0xC1, 2, "Delay( %u )", {W(1)}},
    {0xC2, 0, "JumpIfMapCollisionAbove()", {}},
    {0xC3, 0, "JumpIfMapCollisionBelow()", {}},
    {0xC4, 0, "JumpIfMapCollisionLeft()", {}},
    {0xC5, 0, "JumpIfMapCollisionRight()", {}},
    {0xC6, 0, "GetCurrentBlockCollision()", {}},
    {0xC7, 2, "Unknown_C7( %04X )", {W(1)}},
    {0xC9, 2, "Unknown_C9( %04X )", {W(1)}},
    {0xCA, 2, "Unknown_CA( %04X )", {W(1)}},
    {0xCB, 4, "Unknown_CB( %u, %06X )", {B(1), L(2)}},
    {0xCC, 5, "Unknown_CC( %02X, %02X, %02X, %02X, %02X )", {B(1), B(2), B(3), B(4), B(5)}},
    {0xCD, 0, "Unknown_CD()", {}},
    {0xCF, 0, "Unknown_CF()", {}},
    {0xD1, 0, "Unknown_D1()", {}},
    {0xD2, 5, "TriggerOnSight( %u, %u, 0x%02X, 0x%06X )", {B(1), B(2), B(3), R(4)}},
    {0xD3, 8, "RangeCheckHorizontal( %u, %06X, %06X, %06X )", {W(1), R(3), R(5), R(7)}},
    {0xD4, 8, "RangeCheckVertical( %04X, %06X, %06X, %06X )", {W(1), R(3), R(5), R(7)}},
    {0xD5, 2, "Unknown_D5( %04X )", {W(1)}},
    {0xD6, 3, "ProximityTrigger( %02X, 0x%06X )", {B(1), R(2)}},
    {0xD7, 4, "DetermineNearestAxis( %06X, %06X )", {R(1), R(3)}},
    {0xD8, 3, "Unknown_D8( %06X )", {L(1)}},
    {0xDA, 2, "HandlerRegisterOnWall( 0x%04X )", {W(1)}},
    {0xDC, 5, "ScreenScroll( %u, %u, %u )", {W(1), W(3), B(5)}},
    {0xDD, 7, "Unknown_DD(...)", {}},
    {0xDE, 1, "ScreenReturnScroll( %u )", {B(1)}},
    {0xDF, 3, "WaitOn097C_0810( %06X )", {L(1)}},
    {0xE4, 0, "Unknown_E4()", {}},
    {0xE6, 3, "ObjectCloneDepInsertAfterSP( %06X )", {L(1)}},
    {0xE7, 5, "ObjectCloneDepInsertAfterSFP( %06X, %04X )", {L(1), W(4)}},
    {0xE8, 9, "ObjectCloneDepInsertAfterSRFP( %06X, %04X, %04X, %04X )", {L(1), W(4), W(5), W(7)}},
    {0xE9, 9, "ObjectCloneDepInsertAfterSAFP( %06X, %04X, %04X, %04X )", {L(1), W(4), W(5), W(7)}},
    {0xEA, 4, "ObjectCloneDepInsertBeforeSP( %06X, %02X )", {L(1), B(4)}},
    {0xEB, 0, "ObjectDeleteAllDepending()", {}},
    {0xED, 5, "ObjectMoveRelative( %u, %d, %d )", {B(1), W(2), W(4)}},
    {0xEE, 1, "ObjectMoveWaitRelative( %02X )", {B(1)}},
};

// The second forms of the commands whose first operand chooses their length, and the sound
// reading of 0xCE's short form, which has three values to show.
constexpr CommandFormat kMapFlagUpdateShort{0x4B, 1, "MapFlagUpdate( %02X )", {B(1)}};
constexpr CommandFormat kMapFlagUpdateLong{0x4B, 3, "MapFlagUpdate( %02X, %04X )", {B(1), W(2)}};
constexpr CommandFormat kTownGrowthUpdateShort{0x4D, 1, "TownGrowthUpdate( %02X )", {B(1)}};
constexpr CommandFormat kTownGrowthUpdateLong{0x4D, 3, "TownGrowthUpdate( %02X, %04X )", {B(1), W(2)}};
constexpr CommandFormat kItemCheckEquippedShort{0x58, 1, "ItemCheckEquipped( %u )", {B(1)}};
constexpr CommandFormat kItemCheckEquippedLong{0x58, 3, "ItemCheckEquipped( %u, 0x%06X )", {B(1), R(2)}};
constexpr CommandFormat kUnknownB0Short{0xB0, 1, "Unknown_B0( 0x%02X )", {B(1)}};
constexpr CommandFormat kUnknownB0Long{0xB0, 4, "Unknown_B0( 0x%02X, %06X )", {B(1), L(2)}};
constexpr CommandFormat kUnknownCEShort{0xCE, 6, "Unknown_CE( %02X, %02X, %02X )", {W(1), W(3), W(5)}};
constexpr CommandFormat kUnknownCELong{0xCE, 9, "Unknown_CE( %02X, %02X, %02X, %02X, %02X )", {W(1), W(3), W(5), B(7), W(8)}};
constexpr CommandFormat kTriggerSet{0x21, 2, "TriggerSet( 0x%06X )", {R(1)}};
constexpr CommandFormat kTriggerSetDelete{0x21, 2, "TriggerSet( [DELETE] )", {}};
// clang-format on

// Every command item starts with the offset of its command byte and the byte.
constexpr char kItemPrefix[] = "[%06X][%02X] ";

constexpr const CommandFormat* kSecondForms[] = {&kMapFlagUpdateShort,
                                                 &kMapFlagUpdateLong,
                                                 &kTownGrowthUpdateShort,
                                                 &kTownGrowthUpdateLong,
                                                 &kItemCheckEquippedShort,
                                                 &kItemCheckEquippedLong,
                                                 &kUnknownB0Short,
                                                 &kUnknownB0Long,
                                                 &kUnknownCEShort,
                                                 &kUnknownCELong,
                                                 &kTriggerSet,
                                                 &kTriggerSetDelete};

// The formats above with the item prefix, parsed once: the table's in its order, then the
// second forms.
const CompiledFormat& CompiledItem(const CommandFormat& format) {
    static const std::vector<CompiledFormat> compiled = [] {
        std::vector<CompiledFormat> formats;
        for (const CommandFormat& f : kCommands) {
            formats.emplace_back(std::string(kItemPrefix) + f.text);
        }
        for (const CommandFormat* f : kSecondForms) {
            formats.emplace_back(std::string(kItemPrefix) + f->text);
        }
        return formats;
    }();
    const std::size_t tableSize = std::size(kCommands);
    if (&format >= kCommands && &format < kCommands + tableSize) {
        return compiled[static_cast<std::size_t>(&format - kCommands)];
    }
    const auto* second = std::find(std::begin(kSecondForms), std::end(kSecondForms), &format);
    return compiled[tableSize + static_cast<std::size_t>(second - std::begin(kSecondForms))];
}

// The game has 99 enemies, numbered 0 to 98.
constexpr std::uint32_t kEnemyCount = 99;
// Bound of the flag list of 0x09: the item text stays below 2048 characters.
constexpr std::size_t kMaxFlagListText = 2047;

const std::array<const CommandFormat*, 256>& CommandsByByte() {
    static const std::array<const CommandFormat*, 256> index = [] {
        std::array<const CommandFormat*, 256> byByte{};
        for (const CommandFormat& format : kCommands) {
            byByte[format.command] = &format;
        }
        return byByte;
    }();
    return index;
}

// The command being handled: where its command byte lies and how its operands read.
class Command {
public:
    explicit Command(ScriptWalk& walk)
        : walk_(walk), at_(walk.position()), code_(walk.Byte(at_)), bank_(at_ & 0xFF0000) {}

    std::uint8_t Code() const { return code_; }
    std::uint32_t At() const { return at_; }
    std::uint8_t B(std::uint32_t n) const { return walk_.Byte(at_ + n); }
    std::uint16_t W(std::uint32_t n) const { return walk_.Word(at_ + n); }
    std::uint32_t L(std::uint32_t n) const { return walk_.Long(at_ + n); }
    std::uint32_t R(std::uint32_t n) const { return bank_ | W(n); }
    std::uint32_t Wrapped(std::uint32_t address) const {
        return walk_.reader.project.WrapRomOffset(address);
    }

    // The item's text so far: "[offset][command] ".
    std::string Prefix() const {
        std::string text;
        AppendFormat(text, "[%06X][%02X] ", {{at_}, {code_}});
        return text;
    }

    // Whether the operands fit in the image; if not, the walk ends here.
    bool OperandsFit(std::uint32_t length) {
        if (walk_.Fits(at_, 1 + length)) {
            return true;
        }
        walk_.StopAt(kEndOfImageWarning);
        return false;
    }

    ScriptTreeNode& Show(std::string text) { return walk_.Add(walk_.parent, std::move(text)); }
    ScriptTreeNode& ShowCopy(std::string_view text) { return walk_.AddCopy(walk_.parent, text); }
    void Advance(std::uint32_t length) { walk_.position() = at_ + 1 + length; }

    void ShowFormat(const CommandFormat& format) {
        if (!OperandsFit(format.length)) {
            return;
        }
        FormatArg args[26];
        int count = 0;
        args[count++] = {at_};
        args[count++] = {code_};
        for (const Field& field : format.fields) {
            const std::uint32_t n = field.offset;
            switch (field.kind) {
                case FieldKind::None:
                    break;
                case FieldKind::Byte:
                    args[count++] = {B(n)};
                    break;
                case FieldKind::Word:
                    args[count++] = {W(n)};
                    break;
                case FieldKind::Long:
                    args[count++] = {L(n)};
                    break;
                case FieldKind::Relative:
                    args[count++] = {R(n)};
                    break;
                case FieldKind::Flag:
                case FieldKind::FlagNoRelation: {
                    const std::uint16_t code = W(n);
                    args[count++] = {FlagNumber(code)};
                    if (field.kind == FieldKind::Flag) {
                        args[count++] = {0, Relation(code)};
                    }
                    args[count++] = {FlagMask(code)};
                    break;
                }
            }
        }
        std::string& text = walk_.scratch;
        text.clear();
        CompiledItem(format).AppendTo(text, args, count);
        ShowCopy(text);
        Advance(format.length);
    }

    static std::uint32_t FlagNumber(std::uint16_t code) { return (code >> 3) & 0x1FF; }
    static std::uint32_t FlagMask(std::uint16_t code) { return 1u << (code & 7); }
    static std::string_view Relation(std::uint16_t code) { return (code & 0x8000) ? "=" : "!="; }

    ScriptWalk& Walk() { return walk_; }

private:
    ScriptWalk& walk_;
    std::uint32_t at_;
    std::uint8_t code_;
    std::uint32_t bank_;
};

void ShowUnhandled(Command& command) {
    std::string text = command.Prefix();
    text += "Unhandled()";
    command.Show(std::move(text));
    command.Advance(0);
}

void ShowJumpOffset(Command& command) {
    ScriptWalk& walk = command.Walk();
    std::string text = command.Prefix();
    AppendFormat(text, "JumpOffset( 0x%06X) // set by command 00", {{walk.savedJumpOffset}});
    command.Show(std::move(text));
    if (walk.savedJumpOffset != 0) {
        walk.position() = command.Wrapped(walk.savedJumpOffset);
        walk.savedJumpOffset = 0;
    } else {
        command.Advance(0);
    }
    walk.stop = true;
}

void ShowEventFlagSet(Command& command) {
    if (!command.OperandsFit(2)) {
        return;
    }
    const std::uint16_t code = command.W(1);
    std::string text = command.Prefix();
    AppendFormat(text,
                 (code & 0x8000) ? "EventFlagSet( %02X, %02X )" : "EventFlagClear( %02X, %02X )",
                 {{Command::FlagNumber(code)}, {Command::FlagMask(code)}});
    command.Show(std::move(text));
    command.Advance(2);
}

// Flag codes until a value followed by the next command's 0x02: that value is the jump target.
// A list that meets no such value before the image end or the text bound is malformed; nothing
// after it can be trusted, so the walk ends there.
void ShowEventFlagCheckMultipleJump(Command& command) {
    ScriptWalk& walk = command.Walk();
    std::string text = command.Prefix();
    text += "EventFlagCheckMultipleJump(";
    for (std::uint32_t p = command.At() + 1;; p += 2) {
        if (!walk.Fits(p, 3) || text.size() > kMaxFlagListText) {
            text += " [malformed]";
            command.Show(std::move(text));
            walk.stop = true;
            return;
        }
        const std::uint16_t value = walk.Word(p);
        if (walk.Byte(p + 2) == 0x02) {
            AppendFormat(text, " %06X )", {{(command.At() & 0xFF0000) | value}});
            command.Show(std::move(text));
            walk.position() = p + 2;
            return;
        }
        AppendFormat(text, " %02X %s %02X,",
                     {{Command::FlagNumber(value)},
                      {0, Command::Relation(value)},
                      {Command::FlagMask(value)}});
    }
}

void ShowDialogSwitchChoice(Command& command) {
    if (!command.OperandsFit(3)) {
        return;
    }
    const std::uint32_t type = command.B(1);
    const std::uint32_t info = command.Wrapped(command.R(2));
    const bool threeOptions = type <= 2 || type == 10 || type == 11;
    const std::uint32_t length = threeOptions ? 9 : type == 8 ? 3 : 11;
    if (!command.OperandsFit(length)) {
        return;
    }
    const ProjectContext& project = command.Walk().reader.project;
    const auto option = [&](std::uint32_t i) {
        return FormatArg{command.Wrapped((command.At() & 0xFF0000) | project.Read16(info + 2 * i))};
    };
    std::string text = command.Prefix();
    if (threeOptions) {
        AppendFormat(text,
                     "DialogSwitchChoice( %u, %06X, %06X, %06X, %06X ) // Type, InfoOffset, "
                     "Cancel option, option 1, option 2",
                     {{type}, {info}, option(0), option(1), option(2)});
    } else {
        AppendFormat(text,
                     "ChoiceDialog( %u, %06X, %06X, %06X, %06X, %06X ) // Type, InfoOffset, "
                     "Cancel option, option 1, option 2, option 3",
                     {{type}, {info}, option(0), option(1), option(2), option(3)});
    }
    ScriptTreeNode& item = command.Show(std::move(text));
    static constexpr const char* kOptions[] = {"Cancel", "Option 1", "Option 2", "Option 3"};
    const int shown = threeOptions ? 3 : type == 8 ? 4 : 0;
    for (int i = 0; i < shown; ++i) {
        command.Walk().Add(item, kOptions[i]);
    }
    command.Advance(length);
}

void ShowText(Command& command) {
    const std::uint8_t code = command.Code();
    const bool relative = code == 0x1B || code == 0x6B;
    const std::uint32_t length = relative ? 2 : 3;
    if (!command.OperandsFit(length)) {
        return;
    }
    const std::uint32_t address =
        relative ? command.R(1) : static_cast<std::uint32_t>(command.B(1)) << 16 | command.W(2);
    const std::u16string& decoded = command.Walk().reader.decoder.DecodeAt(address, false);
    std::string text = command.Prefix();
    if (!decoded.empty()) {
        const char* format = code == 0x1B   ? "PrintRelative( 0x%06X, \"%s\")"
                             : code == 0x6B ? "PrintRelative2( 0x%06X, \"%s\")"
                             : code == 0x1C ? "PrintAbsolute( 0x%06X, \"%s\")"
                                            : "PrintAbsolute2( 0x%06X, \"%s\")";
        AppendFormat(text, format, {{address}, {0, Utf16ToUtf8(decoded)}});
    } else {
        text += code == 0x1B   ? "PrintRelative("
                : code == 0x6B ? "PrintRelative2("
                : code == 0x1C ? "PrintAbsolute("
                : code == 0x1E ? "PrintAbsolut2e("
                               : "PrintAbsolute2(";
        text += "\"Failed to parse text\")";
    }
    command.Show(std::move(text));
    command.Advance(length);
}

// Cases b1 to b2, one 16-bit script address each; the item shows where the first entry lies,
// behind the two case bytes. A last case below the first is malformed: its entries are not read.
void ShowSwitchRange(Command& command) {
    if (!command.OperandsFit(2)) {
        return;
    }
    const std::uint32_t first = command.B(1);
    const std::uint32_t last = command.B(2);
    std::string text;
    AppendFormat(text, "[%06X][%02X] SwitchRange( 0x%02X, 0x%02X, ",
                 {{command.At() + 3}, {command.Code()}, {first}, {last}});
    if (last < first) {
        text += ") [malformed]";
        command.Show(std::move(text));
        command.Advance(2);
        return;
    }
    const std::uint32_t entries = last - first + 1;
    if (!command.OperandsFit(2 + 2 * entries)) {
        return;
    }
    for (std::uint32_t i = 0; i < entries; ++i) {
        AppendFormat(text, "%06X ", {{command.R(3 + 2 * i)}});
    }
    text += ")";
    command.Show(std::move(text));
    command.Advance(2 + 2 * entries);
}

void ShowFightingStatsLoad(Command& command) {
    if (!command.OperandsFit(1)) {
        return;
    }
    const std::uint32_t enemy = static_cast<std::uint8_t>(command.B(1) - 1);
    std::string text = command.Prefix();
    if (enemy >= kEnemyCount) {
        AppendFormat(text, "FightingStatsLoad(%u) [malformed]", {{enemy}});
    } else {
        const ProjectContext& project = command.Walk().reader.project;
        const std::uint32_t table = project.Table(RegionTable::EnemyPointerTable);
        const std::uint32_t record = project.Read16(table + 2 * enemy);
        const std::uint32_t health =
            record == 0 ? 0 : project.Read16((table & 0xFF0000) + record + 9);
        AppendFormat(text, "FightingStatsLoad(%u) Health:%u", {{enemy}, {health}});
    }
    command.Show(std::move(text));
    command.Advance(1);
}

void ShowOddLayout(Command& command) {
    const std::uint8_t code = command.Code();
    const std::uint32_t length = code == 0x76 ? 2 : code == 0xD0 ? 16 : 8;
    if (!command.OperandsFit(length)) {
        return;
    }
    std::string text = command.Prefix();
    if (code == 0x76) {
        AppendFormat(text, "SystemRegisterWrite( 0x%04X = 0x%02X )",
                     {{0x2100u + command.B(1)}, {command.B(2)}});
    } else if (code == 0xD0) {
        AppendFormat(text,
                     "Unknown_D0( %04X, %04X, %04X, %04X, %04X, %04X, %02X, %02X, %04X , %02X )",
                     {{command.W(1)},
                      {command.W(3)},
                      {command.W(5)},
                      {command.W(7)},
                      {command.W(9)},
                      {command.B(2) * 256u + command.B(11)},
                      {command.B(12)},
                      {command.B(13)},
                      {command.W(14)},
                      {command.B(16)}});
    } else {
        AppendFormat(
            text, "Unknown_EC( %04X, %06X, %04X , %02X )",
            {{command.W(1)},
             {static_cast<std::uint32_t>(command.B(3)) << 16 | command.B(4) << 8 | command.B(5)},
             {command.W(6)},
             {command.B(8)}});
    }
    command.Show(std::move(text));
    command.Advance(length);
}

}  // namespace

void HandleScriptCommand(ScriptWalk& walk) {
    Command command(walk);
    const std::uint8_t b1 = command.B(1);
    switch (command.Code()) {
        case 0x00:
            command.ShowFormat(*CommandsByByte()[0x00]);
            walk.savedJumpOffset = command.L(1);
            return;
        case 0x01:
            return ShowJumpOffset(command);
        case 0x07:
            return ShowEventFlagSet(command);
        case 0x09:
            return ShowEventFlagCheckMultipleJump(command);
        case 0x1A:
            return ShowDialogSwitchChoice(command);
        case 0x1B:
        case 0x1C:
        case 0x1E:
        case 0x6B:
        case 0x6C:
            return ShowText(command);
        case 0x21:
            return command.ShowFormat(command.W(1) == 0 ? kTriggerSetDelete : kTriggerSet);
        case 0x22:
            return ShowSwitchRange(command);
        case 0x4B:
            return command.ShowFormat((b1 & 0x40) ? kMapFlagUpdateShort : kMapFlagUpdateLong);
        case 0x4D:
            return command.ShowFormat((b1 & 0xC0) == 0 ? kTownGrowthUpdateShort
                                                       : kTownGrowthUpdateLong);
        case 0x58:
            return command.ShowFormat(b1 == 0xFF ? kItemCheckEquippedShort
                                                 : kItemCheckEquippedLong);
        case 0xB0:
            return command.ShowFormat(b1 == 0xFF ? kUnknownB0Long : kUnknownB0Short);
        case 0xCE:
            return command.ShowFormat(command.W(1) == 0 ? kUnknownCEShort : kUnknownCELong);
        case 0xD9:
            return ShowFightingStatsLoad(command);
        case 0x76:
        case 0xD0:
        case 0xEC:
            return ShowOddLayout(command);
        default:
            break;
    }
    const CommandFormat* format = CommandsByByte()[command.Code()];
    if (format == nullptr) {
        return ShowUnhandled(command);
    }
    command.ShowFormat(*format);
}
