// The store's index text read back as written: original names with any characters, fingerprints,
// Windows line ends, and lines that cannot be read counted and left out.
#include "pictures/picture_index.h"

#include <gtest/gtest.h>

namespace {

using pictures::Fingerprint;
using pictures::IndexLink;

TEST(PictureIndexTest, NamesAndFingerprintsComeBackAsWritten) {
    std::vector<IndexLink> links;
    const QString names[] = {QStringLiteral("front 1.jpg"), QStringLiteral("100%\t\"rare\".png"),
                             QStringLiteral("Ελλάδα 1896 – Olympia.tif"),
                             QStringLiteral("a+b=c; (x) [y] & 'z'.webp")};
    std::uint32_t recno = 1;
    for (const QString& name : names) {
        IndexLink link;
        link.recno = recno * 70000;  // numbers past 65,535 too
        link.file = QStringLiteral("%1.jpg").arg(recno, 32, 16, QLatin1Char('0'));
        link.fingerprint.parts = {0xDEADBEEF, recno, 0, 0xFFFFFFFF};
        link.originalName = name;
        links.push_back(link);
        ++recno;
    }
    const pictures::IndexContents back = pictures::parseIndex(pictures::formatIndex(links));
    EXPECT_EQ(back.damagedLines, 0);
    ASSERT_EQ(back.links.size(), links.size());
    for (std::size_t i = 0; i < links.size(); ++i) {
        EXPECT_EQ(back.links[i].recno, links[i].recno);
        EXPECT_EQ(back.links[i].file, links[i].file);
        EXPECT_EQ(back.links[i].fingerprint, links[i].fingerprint);
        EXPECT_EQ(back.links[i].originalName, links[i].originalName);
    }
}

TEST(PictureIndexTest, WindowsLineEndsReadAndBadLinesAreCounted) {
    const QByteArray text =
        "Tessellon pictures 1\r\n"
        "3\ta.jpg\t0000000a-0000000B-0000000c-0000000D\tfront.jpg\r\n"
        "4\tb.jpg\t0000000a-0000000b-0000000c\tshort fingerprint\n"
        "5\tc.jpg\t0000000g-0000000b-0000000c-0000000d\tnot hexadecimal\n"
        "x\td.jpg\t00000000-00000000-00000000-00000000\tno number\n"
        "6\te.jpg\t00000000-00000000-00000000-00000000\n"
        "\n";
    const pictures::IndexContents read = pictures::parseIndex(text);
    EXPECT_EQ(read.damagedLines, 3);
    ASSERT_EQ(read.links.size(), 2u);
    EXPECT_EQ(read.links[0].originalName, QStringLiteral("front.jpg"));
    Fingerprint expected;
    expected.parts = {10, 11, 12, 13};
    EXPECT_EQ(read.links[0].fingerprint, expected);
    EXPECT_EQ(read.links[1].originalName, QStringLiteral("e.jpg"));  // no name: the file's
}

}  // namespace
