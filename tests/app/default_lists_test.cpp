// The default pick lists the build puts into the program directory beside the executable: every
// list a collector fills from is there, and every item fits its field and a collection's code
// page.
#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>

#include "collection/data_list_files.h"
#include "collection/stamp_schema.h"
#include "engine/codepage.h"

namespace {

QString builtProgramDir() {
    return QStringLiteral(TESS_BINARY_DIR "/src/app");
}

// True when a new collection (Windows-1252) stores the text as it is.
bool fitsTheCodePage(const QString& text) {
    const std::string utf8 = text.toStdString();
    return engine::toUtf8(engine::fromUtf8(utf8, engine::CodePage::Cp1252),
                          engine::CodePage::Cp1252) == utf8;
}

TEST(DefaultListsTest, ShippedListsFitTheirFieldsAndTheCodePage) {
    // Topic and Group are the collector's own; every other list is shipped.
    const struct {
        int list;
        int least;  // items at least
    } shipped[] = {{1, 250}, {3, 10}, {5, 20},  {6, 15}, {7, 5},
                   {8, 20},  {9, 5},  {10, 20}, {11, 20}};
    for (const auto& s : shipped) {
        const collection::DataListInfo& info = collection::dataList(s.list);
        SCOPED_TRACE(info.defaultFile);
        const QStringList items =
            collection::readListFile(builtProgramDir() + u'/' + QLatin1String(info.defaultFile));
        EXPECT_GE(items.size(), s.least);
        const int width =
            std::min(info.itemWidth, collection::schemaField(info.fieldNumber).length);
        for (const QString& item : items) {
            EXPECT_LE(item.size(), width) << item.toStdString();
            EXPECT_EQ(item, item.trimmed()) << item.toStdString();
            EXPECT_TRUE(fitsTheCodePage(item)) << item.toStdString();
        }
        EXPECT_EQ(QSet<QString>(items.begin(), items.end()).size(), items.size());
    }
    // Countries that issued stamps once and no longer do are there too.
    const QStringList countries =
        collection::readListFile(builtProgramDir() + QStringLiteral("/COUNTRY.LST"));
    for (const char* country : {"France", "Ceylon", "Rhodesia", "Åland", "Württemberg"})
        EXPECT_TRUE(countries.contains(QString::fromUtf8(country))) << country;
}

}  // namespace
