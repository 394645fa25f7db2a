#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace pellwerk {

// What went wrong, as a kind. The core never words an error: the windows and the command line
// turn a kind into a sentence through the one catalogue in ErrorText.h. What is wrong with a
// command line is not the core's business: those kinds are the composer's (CommandLineError.h).
enum class ErrorKind {
    // Reading a file
    FileMissing, // detail: where it was looked for, one place a line (empty: only where `file` says)
    IsFolder,
    NotRegularFile, // a pipe, a device or a socket
    FileTooLarge,
    CannotRead,
    // The bytes of a bitmap
    NotBitmap,
    BitmapIncomplete,
    BitmapDamaged,
    ImageTooLarge,
    BitmapUnsupported,
    // Writing a file
    TargetIsFolder,
    TargetNotRegular,
    TargetReadOnly,
    FolderMissing,
    FolderReadOnly,
    CannotCreate,
    WriteIncomplete,
    CommitFailed,
    // Pixel buffers and pictures
    NoPictureInfo,
    NoPictureData,
    NoPictureCopy,
    // Recipes
    RecipeSyntax,
    RecipeVersion,
    RecipeUnknownField,
    RecipeMissingField,
    RecipeBadValue,
    RecipeDuplicateField, // a key given twice in one object
    RecipeFieldTooNew,    // a field of version 2 in a recipe that says it is version 1
    RecipeTooManySteps,   // field "steps", detail: the number of steps
    // Palettes (GIMP .gpl) and the colour-ramp swap between two of them; `line` is the palette's
    PaletteHeader,       // the first line is not "GIMP Palette"
    PaletteMissingValue, // a colour line with fewer than three values
    PaletteBadValue,     // detail: the text found where a value 0..255 belongs
    PaletteBadColumns,   // detail: the text found behind "Columns:"
    PaletteTooManyColours,
    RampSizesDiffer, // detail: the two palettes' counts, "from/to"
    // OpenRaster files (zip archives); `detail` names the entry concerned where there is one
    ArchiveDamaged,        // not a zip archive the zip library can read; detail: its reason
    ArchiveTooLarge,       // the file, or all its entries together unpacked, beyond the limit
    ArchiveTooManyEntries, // detail: how many
    ArchiveBadEntryName,   // an absolute name, a ".." or a backslash; detail: the name
    ArchiveDuplicateEntry, // detail: the name
    ArchiveEntryMissing,   // detail: the name
    ArchiveEntryTooLarge,  // unpacked beyond the limit for one entry; detail: the name
    ArchiveEntryDamaged,   // detail: the name
    ArchiveNotOpenRaster,  // no "mimetype" entry holding "image/openraster"
    StackDoctype,          // stack.xml declares a document type (whose entities are never resolved)
    StackSyntax,           // stack.xml is not well-formed XML; detail: the line
    StackInvalid,          // detail: "image" (no <image> at the top) or "src" (a layer without one)
    StackImageSize,        // w and h not 1..OpenRaster::MaxImageSide; detail: "w x h" as written
    LayerNotPng,           // detail: the entry
    MergedImageSize,       // another program's picture is not 256 x 256; detail: "w x h"
    ArchiveNotProject,     // written by another program: no recipe inside
    ArchiveIsProject,      // a Pellwerk project where a picture is wanted (a base)
};

// An error kind with what its words need. Every field but the kind may be empty.
struct Error
{
    ErrorKind kind;
    QString file;   // the file concerned, as the caller named it
    QString detail; // the system's own reason, or exactly what is wrong with a value
    int step = 0;   // recipes: the step concerned, counted from 1; 0 for the recipe as a whole
    QString field;  // recipes: the field concerned
    int line = 0;   // recipes: the line and the column of the place concerned, from 1, counted in
    int column = 0; // characters (code points); 0 when the error has no one place (a missing field).
                    // Palette errors: the palette file's line, no column.

    friend bool operator==(const Error &, const Error &) = default;
};

// What a recipe value should have been: the detail of RecipeBadValue, worded by the catalogue.
namespace ValueRule {
inline constexpr char Object[] = "object";   // a JSON object
inline constexpr char List[] = "list";       // a JSON array
inline constexpr char Path[] = "path";       // a string that is not empty and holds no control character
inline constexpr char Colour[] = "colour";   // [r, g, b] of 0..255, or a colour name
inline constexpr char Tint[] = "tint";       // [r, g, b] of 0..255
inline constexpr char Int32[] = "int32";     // a whole number in the signed 32-bit range
inline constexpr char Kind[] = "kind";       // one of the part kinds' keys
inline constexpr char Boolean[] = "boolean"; // true or false
inline constexpr char Ramp[] = "ramp";       // a list of two paths
inline constexpr char Version[] = "version"; // a whole number
} // namespace ValueRule

// What is wrong with a text that is not JSON: the detail of RecipeSyntax, worded by the catalogue.
namespace JsonFault {
inline constexpr char End[] = "end";         // the text ends inside a value
inline constexpr char Number[] = "number";   // a number JSON does not allow (1., .5, 01, 1e)
inline constexpr char Escape[] = "escape";   // a backslash before a letter JSON does not know
inline constexpr char Unicode[] = "unicode"; // a \u escape that is cut short or a lone surrogate
inline constexpr char Utf8[] = "utf8";       // bytes that are not UTF-8
inline constexpr char Control[] = "control"; // a control character inside a string
inline constexpr char Token[] = "token";     // anything else out of place
} // namespace JsonFault

inline Error makeError(ErrorKind kind, QString file = {}, QString detail = {})
{
    return Error{kind, std::move(file), std::move(detail), 0, {}};
}

// A value or the error that prevented it. The one way fallible calls report; the command lines
// report their own error type `E` the same way.
template <class T, class E = Error> class [[nodiscard]] Result
{
public:
    Result(T value) : m_state(std::move(value)) {}
    Result(E error) : m_state(std::move(error)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only on success.
    T &value() & { return std::get<0>(m_state); }
    const T &value() const & { return std::get<0>(m_state); }
    T &&value() && { return std::get<0>(std::move(m_state)); }
    T *operator->() { return &value(); }
    const T *operator->() const { return &value(); }

    // Only on failure.
    const E &error() const { return std::get<1>(m_state); }

private:
    std::variant<T, E> m_state;
};

template <class E> class [[nodiscard]] Result<void, E>
{
public:
    Result() = default;
    Result(E error) : m_error(std::move(error)) {}

    bool ok() const { return !m_error; }
    explicit operator bool() const { return ok(); }
    const E &error() const { return *m_error; }

private:
    std::optional<E> m_error;
};

} // namespace pellwerk
