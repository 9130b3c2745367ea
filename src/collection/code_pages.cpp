#include "collection/code_pages.h"

#include <QRegularExpression>
#include <array>

namespace collection {

using engine::CodePage;

namespace {

struct CodePageInfo {
    CodePage cp;
    int number;
    const char* script;
};

constexpr std::array<CodePageInfo, 10> kCodePages = {{
    {CodePage::Cp1252, 1252, "Western European"},
    {CodePage::Cp1250, 1250, "Central European"},
    {CodePage::Cp1251, 1251, "Cyrillic"},
    {CodePage::Cp1253, 1253, "Greek"},
    {CodePage::Cp1254, 1254, "Turkish"},
    {CodePage::Cp1257, 1257, "Baltic"},
    {CodePage::Cp437, 437, "United States"},
    {CodePage::Cp850, 850, "Western European"},
    {CodePage::Cp852, 852, "Central European"},
    {CodePage::Cp866, 866, "Cyrillic"},
}};

const CodePageInfo& infoOf(CodePage cp) {
    for (const CodePageInfo& info : kCodePages)
        if (info.cp == cp) return info;
    return kCodePages.front();
}

}  // namespace

const std::vector<CodePage>& offeredCodePages() {
    // The Windows code pages, Western European first (the table above starts with them).
    static const std::vector<CodePage> pages = {CodePage::Cp1252, CodePage::Cp1250,
                                                CodePage::Cp1251, CodePage::Cp1253,
                                                CodePage::Cp1254, CodePage::Cp1257};
    return pages;
}

int codePageNumber(CodePage cp) {
    return infoOf(cp).number;
}

QString codePageName(CodePage cp) {
    const CodePageInfo& info = infoOf(cp);
    const QString where = info.number >= 1250 ? QStringLiteral("Windows-%1").arg(info.number)
                                              : QStringLiteral("DOS %1").arg(info.number);
    return QStringLiteral("%1 (%2)").arg(QLatin1String(info.script), where);
}

std::optional<CodePage> offeredCodePage(const QString& number) {
    static const QRegularExpression form(QStringLiteral("^(?:cp|windows-?)?(\\d{4})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = form.match(number.trimmed());
    if (!match.hasMatch()) return std::nullopt;
    const int wanted = match.captured(1).toInt();
    for (CodePage cp : offeredCodePages())
        if (codePageNumber(cp) == wanted) return cp;
    return std::nullopt;
}

}  // namespace collection
