// The fields of the settings record described for people: name, place, kind and
// meaning of every field of the public part and of the private block, nested records
// field by field, and a decoder that renders a record's bytes one field per line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qf {

enum class FieldKind : uint8_t {
    kU8,
    kI8,
    kU16,
    kI16,
    kU32,
    kI32,
    kText16,  // zero-terminated UTF-16 text
    kText8,   // zero-terminated 8-bit text in the system code page
    kBytes,   // an area shown as a summary
};

// How a number is shown.
enum class ValueStyle : uint8_t {
    kDecimal,     // with the name of its value, where the value has one
    kHex,
    kRibbonCode,  // with the ribbon's display name, when the caller can name ribbons
};

// Bytes a number of this kind occupies; 0 for texts and byte areas.
size_t NumberWidth(FieldKind kind);

struct RecordField {
    std::string name;               // dotted path, as "encoderSettings.tracks[0].mode"
    uint32_t offset;                // from the start of its part
    uint32_t size;                  // bytes
    FieldKind kind;
    ValueStyle style;
    const char* meaning;
    const char* const* valueNames;  // names of the values 0..valueNameCount-1; "" names none
    uint8_t valueNameCount;
};

// The fields of the public part and of the private block, in offset order. Together
// they cover their part byte for byte; unused areas appear as reserved byte areas.
const std::vector<RecordField>& PublicRecordFields();
const std::vector<RecordField>& PrivateRecordFields();

// The display name of a ribbon code in UTF-8. Ribbon names are texts of the module's
// string table, so only a caller that holds the module can give them.
using RibbonNamer = std::string (*)(uint32_t code);

// One line per field, "name = value  (meaning)", for the public part (privatePart
// false) or the private block held in bytes[0..size). Only bytes inside `size` are
// read: when the data ends inside the part, a last line says from which field on
// the fields are missing. A ribbon code is named by `ribbonName` when one is given.
std::vector<std::string> DescribeFields(const uint8_t* bytes, size_t size, bool privatePart,
                                        RibbonNamer ribbonName = nullptr);

}  // namespace qf
