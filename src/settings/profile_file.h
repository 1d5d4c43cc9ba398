#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tira {

// An ini file edited in place, as the Windows profile functions edit one: a value is read
// from, and written to, the first key of its name in the first section of its name (both
// matched without regard to ASCII case); a key that is not there is added after the last
// entry of its section, a section that is not there at the end of the file. Every other
// byte, line ends included, stays as it was.
//
// Lines: a line end is CR LF, LF or a lone CR. A line whose first non-blank byte is '[' and
// that holds a ']' is a section header (the name between '[' and the first ']', trimmed;
// what follows is left alone); ';' or '#' starts a comment; any other line with '=' is an
// entry (key and value trimmed of blanks; quotes around the whole value are not part of
// it). Lines before the first header belong to no section.
class ProfileFile
{
  public:
    // Tells the keys the program owns: only their lines decide how its values read.
    // Both names come lowered.
    using OwnedKey = std::function<bool(std::string_view section, std::string_view key)>;

    ProfileFile(std::string bytes, const OwnedKey& owned);

    // The text of the value, UTF-8 (a byte without a character, and NUL, become U+FFFD);
    // nothing when the key is missing.
    std::optional<std::string> text(std::string_view section, std::string_view key) const;

    // Sets the value to `text` (line ends and NUL in it are dropped). A value that reads as
    // `text` already is left as it is.
    void set(std::string_view section, std::string_view key, std::string_view text);

    // The file with the changes.
    std::string bytes() const;

  private:
    enum class Encoding : unsigned char
    {
        Cp932,
        Utf8,
    };
    struct Line
    {
        std::size_t begin = 0; // the line in m_bytes, line end not included
        std::size_t end = 0;
        std::size_t lineEnd = 0;    // bytes of its line end
        std::size_t valueBegin = 0; // an entry's value, quotes included
        std::size_t valueEnd = 0;
        Encoding encoding = Encoding::Cp932; // what its value reads as
        std::optional<std::string> value;    // a new value, as text
    };
    struct Section
    {
        std::string header;                                     // a section added: its name
        std::size_t insertAfter = 0;                            // its last entry or its header line
        std::vector<std::pair<std::string, std::string>> added; // keys added, and their text
    };

    static std::string lowered(std::string_view text);
    static std::string keyOf(std::string_view section, std::string_view key);
    std::string_view rawValue(const Line& line) const;
    static std::string decode(std::string_view raw, Encoding encoding);
    void decideEncodings(const std::vector<std::size_t>& ownLines);
    bool needsUnicode() const;

    std::string m_bytes;
    bool m_bom = false;
    Encoding m_encoding = Encoding::Cp932; // what values added take
    std::vector<Line> m_lines;
    std::vector<Section> m_sections;                          // first of each name, then added
    std::unordered_map<std::string, std::size_t> m_sectionOf; // lowered name -> m_sections
    std::unordered_map<std::string, std::size_t> m_entryOf;   // keyOf -> m_lines
    // keyOf -> the section and the index in its `added`
    std::unordered_map<std::string, std::pair<std::size_t, std::size_t>> m_addedOf;
};

} // namespace tira
