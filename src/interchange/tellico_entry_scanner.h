// The fast way through a Tellico file: an entry read straight from its UTF-8 bytes, for entries
// in the form Tellico and our export write them.
//
// EntryScanner accepts an entry only when it is certainly well-formed XML of this form:
//   <entry ATTRS> ( blanks | <F ATTRS>TEXT</F> | <F ATTRS/> | <Fs>..</Fs> | <F><P>TEXT</P>..</F> )*
//   </entry>
// where names are ASCII without a namespace prefix, ATTRS are well-formed attributes (values
// unused; no namespace declarations, no repeated names), TEXT is valid UTF-8 of characters XML
// allows, holding references only to the five predefined entities and to allowed characters by
// number, and no "]]>"; a plural element <Fs> holds values of F (nested the same way, a few
// levels deep), any other element's children (a date's <year>.., a table row's <column>s) hold
// text only. Values come out as the QXmlStreamReader path gives them: an element's text
// (references resolved, line ends as one "\n"), or its children's texts joined by "-" when they
// are all <year>, <month> or <day> and by "::" otherwise. Anything else (comments, CDATA,
// processing instructions, other entities, text beside fields, names outside ASCII, ...) is
// refused, to be read by QXmlStreamReader, which gives the messages about damaged XML.
//
// An entry is scanned from the start of `text` ("<entry"); the result says whether it was
// accepted, refused, or runs past the end of `text` (more bytes needed: scan again from the
// start with more of them).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "interchange/tellico_element_skim.h"
#include "interchange/tellico_entry.h"

namespace interchange::tellico {

using ScanResult = SkimResult;

struct ScannedEntry {
    ScanResult result = ScanResult::kRefused;
    std::size_t length = 0;    // of the accepted entry, in bytes
    std::size_t newlines = 0;  // its line ends (CR LF once)
    // UTF-16 units after its last line end (after its start when it has none), as a column
    // counts them.
    std::size_t lastLineUnits = 0;
};

class EntryScanner {
  public:
    // Fills `entry` (cleared first) when accepted.
    ScannedEntry scan(std::string_view text, Entry& entry);

  private:
    struct Text {
        const char* begin = nullptr;
        const char* end = nullptr;
        bool plain = true;  // no reference and no CR: the bytes are the value
    };
    struct Tag {
        std::string_view name;
        bool empty = false;  // <F/>
    };
    bool fail(bool needMore);
    bool blanks();
    bool name(std::string_view& out);
    bool startTag(Tag& tag);
    bool endTag(std::string_view name);
    bool reference();
    bool text(Text& out);
    bool special(Text* text);
    bool value(std::string_view element, int depth, Entry& entry);
    bool partText(std::string_view element, Text& out);
    bool plainField(Entry& entry);
    std::string_view decoded(const Text& t, std::string& buffer) const;

    const char* p_ = nullptr;
    const char* end_ = nullptr;
    bool needMore_ = false;
    std::size_t newlines_ = 0;
    const char* lineStart_ = nullptr;
    std::string scratch_, joined_;
    // The parts of an element's children (a date's, a row's), and where each ends, per depth.
    std::vector<std::string> parts_ = std::vector<std::string>(4);
    std::vector<std::vector<std::size_t>> partEnds_ = std::vector<std::vector<std::size_t>>(4);
};

}  // namespace interchange::tellico
