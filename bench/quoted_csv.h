// The synthetic stamps of bench_data.h as the delimited text file the program imports, for the
// benchmarks that import it or hand it to sqlite's `.import --csv`.
#pragma once

#include <fstream>
#include <stdexcept>
#include <string>

#include "bench_data.h"

namespace bench {

// The delimited text file the program imports: title line, every value quoted, dates in the
// date format, CR LF.
inline void writeQuotedCsv(const SyntheticCollection& data, const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string line;
    auto add = [&line](std::string_view v, bool first) {
        if (!first) line += ',';
        line += '"';
        for (char c : v) {
            if (c == '"') line += '"';
            line += c;
        }
        line += '"';
    };
    for (int c = 0; c < kStampFieldCount; ++c) add(stampColumns()[std::size_t(c)].def.name, c == 0);
    line += "\r\n";
    for (std::uint32_t r = 0; r < data.size(); ++r) {
        for (int c = 0; c < kStampFieldCount; ++c) {
            std::string_view v = data.field(r, c);
            std::string date;
            if (c == 13 && v.size() == 8) {  // YYYYMMDD -> m/d/yyyy
                date = std::to_string(std::stoi(std::string(v.substr(4, 2)))) + "/" +
                       std::to_string(std::stoi(std::string(v.substr(6, 2)))) + "/" +
                       std::string(v.substr(0, 4));
                v = date;
            }
            add(v, c == 0);
        }
        line += "\r\n";
        if (line.size() > (1u << 20)) {
            out << line;
            line.clear();
        }
    }
    out << line;
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

}  // namespace bench
