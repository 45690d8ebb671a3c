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

// Reads the numbers of one action's fields. A field whose text is no number, or whose number
// lies outside what the field stores, is refused; the first refusal is kept as a message that
// names the field, so the caller can show it and write nothing.
class FieldReader {
public:
    // The field's value, or `minimum` when it is refused.
    std::int64_t Read(std::string_view text, std::string_view field, std::int64_t minimum,
                      std::int64_t maximum);
    // The same for a field that may be left empty: an empty (or blank) field gives 0.
    std::int64_t ReadOptional(std::string_view text, std::string_view field, std::int64_t minimum,
                              std::int64_t maximum);

    bool Ok() const { return error_.empty(); }
    // "<field> must be a number from <minimum> to <maximum>; "<text>" is not." (first refusal).
    const std::string& Error() const { return error_; }

private:
    std::string error_;
};

// What a page says when a field of its action was refused: the refusal, and that the action
// wrote nothing.
std::string RefusedFieldMessage(const FieldReader& reader);
