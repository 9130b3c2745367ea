#include "interchange/tellico_element_skim.h"

namespace interchange::tellico {

std::size_t startTagEnd(std::string_view text, std::size_t from) {
    char quote = 0;
    for (std::size_t q = from; q < text.size(); ++q) {
        const char c = text[q];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return q;
        } else if (c == '<') {
            return kNoTagEnd;
        }
    }
    return std::string_view::npos;
}

SkimmedElement skimElement(std::string_view text) {
    SkimmedElement out;
    const std::size_t n = text.size();
    std::size_t p = 0;
    int depth = 0;
    const auto past = [&](std::string_view marker, std::size_t from) {
        const std::size_t at = text.find(marker, from);
        return at == std::string_view::npos ? at : at + marker.size();
    };
    for (;;) {
        p = text.find('<', p);
        if (p == std::string_view::npos || n - p < 9) {
            out.result = SkimResult::kNeedMore;
            return out;
        }
        std::size_t next = std::string_view::npos;
        if (text.compare(p, 4, "<!--") == 0) {
            next = past("-->", p + 4);
        } else if (text.compare(p, 9, "<![CDATA[") == 0) {
            next = past("]]>", p + 9);
        } else if (text[p + 1] == '!') {
            return out;  // a declaration: not in an element
        } else if (text[p + 1] == '?') {
            next = past("?>", p + 2);
        } else if (text[p + 1] == '/') {
            next = past(">", p + 2);
            if (next != std::string_view::npos && --depth <= 0) {
                if (depth < 0) return out;
                out.result = SkimResult::kAccepted;
                out.length = next;
                return out;
            }
        } else {
            const std::size_t q = startTagEnd(text, p + 1);
            if (q == kNoTagEnd) return out;
            if (q != std::string_view::npos) {
                next = q + 1;
                if (text[q - 1] != '/') {
                    ++depth;
                } else if (depth == 0) {
                    out.result = SkimResult::kAccepted;
                    out.length = next;
                    return out;
                }
            }
        }
        if (next == std::string_view::npos) {
            out.result = SkimResult::kNeedMore;
            return out;
        }
        p = next;
    }
}

}  // namespace interchange::tellico
