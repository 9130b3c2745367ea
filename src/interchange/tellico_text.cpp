#include "interchange/tellico_text.h"

#include <QDate>
#include <QRegularExpression>
#include <cstdint>
#include <cstring>

namespace interchange::tellico {

namespace {

bool asciiBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// True when `s` holds '<', LF or CR; eight bytes at a time.
bool hasBreakCharacter(std::string_view s) {
    constexpr std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    const auto holds = [](std::uint64_t word, unsigned char c) {
        const std::uint64_t x = word ^ (ones * c);
        return ((x - ones) & ~x & highs) != 0;
    };
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (holds(word, '<') || holds(word, '\n') || holds(word, '\r')) return true;
    }
    for (; i < s.size(); ++i)
        if (s[i] == '<' || s[i] == '\n' || s[i] == '\r') return true;
    return false;
}

// The days of month `month` of `year` in the Gregorian calendar (as QDate counts them).
int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

QString qstring(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

}  // namespace

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string_view qtTrimmed(std::string_view s, std::string& scratch) {
    while (!s.empty() && asciiBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && asciiBlank(s.back())) s.remove_suffix(1);
    if (s.empty() || (static_cast<unsigned char>(s.front()) < 0x80 &&
                      static_cast<unsigned char>(s.back()) < 0x80))
        return s;
    scratch = qstring(s).trimmed().toStdString();
    return scratch;
}

void appendOneLine(std::string& out, std::string_view value) {
    if (!hasBreakCharacter(value)) {
        out.append(value);
        return;
    }
    static const QRegularExpression pattern(QStringLiteral("<br */?>|\\r\\n|\\n|\\r"));
    out += qstring(value).replace(pattern, QStringLiteral(" ")).trimmed().toStdString();
}

bool isWholeNumber(std::string_view s) {
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

bool equalsIgnoringCase(std::string_view s, const QString& word) {
    if (!isAscii(s)) return qstring(s).compare(word, Qt::CaseInsensitive) == 0;
    if (qsizetype(s.size()) != word.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char a = s[i];
        const char16_t b = word[qsizetype(i)].unicode();
        const auto lower = [](char16_t c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        if (lower(char16_t(static_cast<unsigned char>(a))) != lower(b)) return false;
    }
    return true;
}

bool readIsoDate(std::string_view s, int& year, int& month, int& day) {
    std::string scratch;
    s = qtTrimmed(s, scratch);
    const auto digits = [&s](std::size_t from, std::size_t n) {
        int v = 0;
        for (std::size_t i = from; i < from + n; ++i) {
            if (s[i] < '0' || s[i] > '9') return -1;
            v = v * 10 + (s[i] - '0');
        }
        return v;
    };
    if (s.size() == 10 && s[4] == '-' && s[7] == '-') {
        const int y = digits(0, 4), m = digits(5, 2), d = digits(8, 2);
        if (y > 0 && m >= 1 && m <= 12 && d >= 1 && d <= daysInMonth(y, m)) {
            year = y, month = m, day = d;
            return true;
        }
    }
    // Anything else as QDate reads it.
    const QDate date = QDate::fromString(qstring(s), Qt::ISODate);
    if (!date.isValid()) return false;
    year = date.year(), month = date.month(), day = date.day();
    return true;
}

}  // namespace interchange::tellico
