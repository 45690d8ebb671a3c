#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The number typed into an edit field, with an optional sign: a text containing "0x" or "0X"
// anywhere is read as one hexadecimal number from its start (wrapping modulo 2^32); any other
// text as a decimal number (saturating at the limits of int32). No digits give 0.
std::int32_t ParseNumberText(std::string_view text);

// A number typed by a person, read strictly: blanks around it, an optional sign directly before
// the digits, then either "0x"/"0X" and hexadecimal digits or decimal digits, and nothing else.
// Anything else, and a value beyond 64 bits, is no number.
std::optional<std::int64_t> ReadNumberText(std::string_view text);

// How a box shows its number, and so how a refusal tells the box's range.
enum class NumberBase { Decimal, Hexadecimal };

// "0x0000 to 0x044F": a range as a box that shows hexadecimal tells it, both ends with as many
// digits as the larger needs in whole bytes, or `leastDigits` (map ids have four).
std::string HexRangeText(std::uint32_t minimum, std::uint32_t maximum, int leastDigits = 2);

// Reads the numbers of one action's fields. A field whose text is no number, or whose number
// lies outside what the field stores, is refused; the first refusal is kept as a message that
// names the field, so the caller can show it and write nothing.
class FieldReader {
public:
    // What a clamping field makes of a negative number.
    enum class Negative {
        Largest,  // read unsigned, as the item pages always read numbers: stored as the maximum
        Refused,
    };

    // The field's value, or `minimum` when it is refused.
    std::int64_t Read(std::string_view text, std::string_view field, std::int64_t minimum,
                      std::int64_t maximum, NumberBase base = NumberBase::Decimal);
    // The same for a field that may be left empty: an empty (or blank) field gives 0.
    std::int64_t ReadOptional(std::string_view text, std::string_view field, std::int64_t minimum,
                              std::int64_t maximum, NumberBase base = NumberBase::Decimal);
    // A field whose record stores at most `maximum` and clamps a new value that is larger: any
    // whole number is taken as typed (beyond 32 bits as the largest 32-bit value), for only the
    // record can tell a stored value above `maximum` that was left as shown from a new one.
    // Text that is no number is refused (giving 0), and so is a negative number unless it
    // counts as the largest, `maximum`.
    std::uint32_t ReadUnclamped(std::string_view text, std::string_view field,
                                std::uint32_t maximum, Negative negative);

    bool Ok() const { return error_.empty(); }
    // The first refusal: "<field> must be a number from <minimum> to <maximum>; "<text>" is
    // not.", the range in hexadecimal for a box that shows it so; for a clamping field
    // "<field> must be a whole number; values above <maximum>, and negative ones, are stored as
    // <maximum>. "<text>" is not one." (or "a whole number from 0; values above <maximum> are
    // stored as <maximum>." where negative numbers are refused).
    const std::string& Error() const { return error_; }

private:
    void Refuse(std::string message);

    std::string error_;
};

// What a page says when a field of its action was refused: the refusal, and that the action
// wrote nothing.
std::string RefusedFieldMessage(const FieldReader& reader);
