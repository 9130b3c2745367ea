// Where an element of a Tellico file ends, found without reading it: for entries the entry
// scanner refuses, which QXmlStreamReader then reads (and checks) up to that end.
#pragma once

#include <cstddef>
#include <string_view>

namespace interchange::tellico {

enum class SkimResult { kAccepted, kRefused, kNeedMore };

// The length of the element starting at `text[0]` ('<'), whatever it holds, counting start and
// end tags and passing over comments, CDATA, processing instructions and quoted attribute
// values without checking them. kRefused when it meets markup it cannot pass over (a
// declaration), kNeedMore when the element runs past the end of `text`.
struct SkimmedElement {
    SkimResult result = SkimResult::kRefused;
    std::size_t length = 0;
};
SkimmedElement skimElement(std::string_view text);

// The position of the '>' ending the start tag whose name ends before `from`, passing over
// quoted attribute values; npos when it runs past the end of `text`, kNoTagEnd when a '<' comes
// first.
inline constexpr std::size_t kNoTagEnd = std::string_view::npos - 1;
std::size_t startTagEnd(std::string_view text, std::size_t from);

}  // namespace interchange::tellico
