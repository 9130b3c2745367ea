#include "ui/data_grid_model.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <optional>

#include "data_grid_test_tables.h"

namespace {

using gridtest::StampTableFile;
using ui::StampTableModel;

constexpr int kCatalog = 1, kCountry = 3, kMarket = 5, kQuantity = 6, kYear = 7, kDate = 14,
              kWanted = 25;

// Columns showing the given fields, in that order.
std::vector<ui::GridColumn> columnsFor(std::initializer_list<int> fields) {
    std::vector<ui::GridColumn> columns;
    for (int f : fields)
        columns.push_back({f, QString::fromUtf8(collection::schemaField(f).label.data()), 10});
    return columns;
}

class StampTableModelTest : public testing::Test {
  protected:
    void open(const StampTableFile& file) {
        if (!table.isOpen()) table.open(file.path(), engine::OpenMode::Shared);
        model.setTable(&table);
        model.setColumns(columnsFor({kCatalog, kMarket, kQuantity, kYear, kDate, kWanted}));
        QObject::connect(&model, &StampTableModel::errorOccurred,
                         [this](const QString& m) { errors.append(m); });
    }
    QString cell(int row, int field) const {
        for (int c = 0; c < model.columnCount(); ++c)
            if (model.fieldAt(c) == field) return model.index(row, c).data().toString();
        return QStringLiteral("<no column>");
    }
    int columnOf(int field) const {
        for (int c = 0; c < model.columnCount(); ++c)
            if (model.fieldAt(c) == field) return c;
        return -1;
    }
    bool set(int row, int field, const QVariant& value, int role = Qt::EditRole) {
        return model.setData(model.index(row, columnOf(field)), value, role);
    }

    engine::Table table;
    StampTableModel model{nullptr};
    QStringList errors;
};

const gridtest::StampValues kFirst = {
    {kCatalog, "A-12"}, {kMarket, "12.5"}, {kYear, "1998"}, {kDate, "20240131"}, {kWanted, "Yes"}};

TEST_F(StampTableModelTest, ShowsEachKindWithoutFormatters) {
    StampTableFile file({kFirst, {{kCatalog, "B"}}});
    open(file);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 6);
    EXPECT_EQ(cell(0, kCatalog), QStringLiteral("A-12"));
    EXPECT_EQ(cell(0, kMarket), QStringLiteral("12.5000"));  // as stored
    EXPECT_EQ(cell(0, kYear), QStringLiteral("1998"));
    EXPECT_EQ(cell(0, kQuantity), QString());
    EXPECT_EQ(cell(0, kDate), QStringLiteral("20240131"));
    EXPECT_EQ(cell(1, kDate), QString());
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Market Value"));
    EXPECT_FALSE(model.headerData(0, Qt::Vertical).isValid());
    EXPECT_EQ(model.index(0, columnOf(kYear)).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
              int(Qt::AlignRight));
}

TEST_F(StampTableModelTest, FormattersShapeMoneyAndDatesButNotBlanks) {
    StampTableFile file({kFirst, {{kCatalog, "B"}}});
    open(file);
    int dateCalls = 0;
    ui::GridFormatters f;
    f.number = [](double v) { return QStringLiteral("$%1").arg(v, 0, 'f', 2); };
    f.date = [&dateCalls](engine::Date d) {
        ++dateCalls;
        return QStringLiteral("%1/%2/%3").arg(d.day).arg(d.month).arg(d.year);
    };
    model.setFormatters(f);
    EXPECT_EQ(cell(0, kMarket), QStringLiteral("$12.50"));
    EXPECT_EQ(cell(0, kDate), QStringLiteral("31/1/2024"));
    EXPECT_EQ(cell(1, kMarket), QString());
    EXPECT_EQ(cell(1, kDate), QString());
    EXPECT_EQ(dateCalls, 1);
}

TEST_F(StampTableModelTest, WantedIsACheckBoxCheckedOnlyByYes) {
    StampTableFile file({{{kWanted, "Yes"}}, {{kWanted, "No"}}, {{kWanted, "yes"}}, {}});
    open(file);
    const int c = columnOf(kWanted);
    const Qt::CheckState expected[] = {Qt::Checked, Qt::Unchecked, Qt::Unchecked, Qt::Unchecked};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(model.index(row, c).data(Qt::CheckStateRole).toInt(), expected[row]) << row;
        EXPECT_FALSE(model.index(row, c).data(Qt::DisplayRole).isValid());
    }
}

TEST_F(StampTableModelTest, ReadOnlyUnlessEditable) {
    StampTableFile file({kFirst});
    open(file);
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(set(0, kCatalog, QStringLiteral("X")));
    model.setEditable(true);
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(model.index(0, columnOf(kWanted))) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.flags(model.index(0, columnOf(kWanted))) & Qt::ItemIsEditable);
}

TEST_F(StampTableModelTest, EditsWriteEachKindThroughTheEngine) {
    StampTableFile file({kFirst, {{kCatalog, "B"}}});
    open(file);
    model.setEditable(true);
    ui::GridFormatters f;
    f.parseNumber = [](const QString& t) -> std::optional<double> {
        return QString(t).remove(u'$').toDouble();
    };
    f.parseDate = [](const QString&) -> std::optional<engine::Date> {
        return engine::Date{2001, 2, 3};
    };
    model.setFormatters(f);
    int changed = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&changed] { ++changed; });

    EXPECT_TRUE(set(1, kCatalog, QStringLiteral("Z-9")));
    EXPECT_TRUE(set(1, kYear, QStringLiteral(" 1871 ")));
    EXPECT_TRUE(set(1, kMarket, QStringLiteral("$3.25")));
    EXPECT_TRUE(set(1, kDate, QStringLiteral("whatever")));
    EXPECT_TRUE(set(1, kWanted, Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(set(0, kWanted, Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_TRUE(set(0, kYear, QString()));  // blanks a number

    EXPECT_EQ(file.storedText(2, kCatalog), "Z-9");
    EXPECT_EQ(file.storedText(2, kYear), "1871");
    EXPECT_EQ(file.storedText(2, kMarket), "3.2500");
    EXPECT_EQ(file.storedText(2, kDate), "20010203");
    EXPECT_EQ(file.storedText(2, kWanted), "Yes");
    EXPECT_EQ(file.storedText(1, kWanted), "No");
    EXPECT_EQ(file.storedText(1, kYear), "");
    EXPECT_EQ(cell(1, kCatalog), QStringLiteral("Z-9"));
    EXPECT_EQ(changed, 7);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(table.state(), engine::EditState::Browse);
}

TEST_F(StampTableModelTest, BadValuesAndEngineErrorsAreSignalledAndChangeNothing) {
    StampTableFile file({kFirst});
    open(file);
    model.setEditable(true);
    struct Case {
        int field;
        const char* typed;
    };
    const Case cases[] = {
        {kYear, "19x8"},             // not an integer
        {kYear, "123456789012345"},  // wider than the field: the engine refuses
        {kMarket, "lots"},           // not a number
        {kDate, "2024-13-01"},       // not a stored date
    };
    for (const Case& c : cases) {
        errors.clear();
        EXPECT_NO_THROW(EXPECT_FALSE(set(0, c.field, QString::fromLatin1(c.typed))));
        EXPECT_EQ(errors.size(), 1) << c.typed;
        EXPECT_EQ(table.state(), engine::EditState::Browse);
    }
    EXPECT_EQ(file.storedText(1, kYear), "1998");
    EXPECT_EQ(file.storedText(1, kMarket), "12.5000");
    EXPECT_EQ(file.storedText(1, kDate), "20240131");
}

TEST_F(StampTableModelTest, ReadOnlyFileSignalsTheEngineMessage) {
    if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind root";
    StampTableFile file({kFirst});
    QFile::setPermissions(QString::fromStdString(file.path()), QFile::ReadOwner);
    open(file);
    model.setEditable(true);
    EXPECT_FALSE(set(0, kCatalog, QStringLiteral("X")));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("read-only"))) << errors[0].toStdString();
    EXPECT_EQ(file.storedText(1, kCatalog), "A-12");
}

TEST_F(StampTableModelTest, EditThatReordersRowsResetsTheModel) {
    StampTableFile file({{{kCatalog, "A"}}, {{kCatalog, "B"}}, {{kCatalog, "C"}}});
    table.open(file.path(), engine::OpenMode::Shared);
    table.addIndexTag("NEWINDEX", "CATALOG");
    table.selectIndex("NEWINDEX");
    open(file);
    model.setEditable(true);
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    EXPECT_TRUE(set(0, kCatalog, QStringLiteral("D")));
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(cell(0, kCatalog), QStringLiteral("B"));
    EXPECT_EQ(cell(2, kCatalog), QStringLiteral("D"));
}

TEST_F(StampTableModelTest, ReloadFollowsAFilter) {
    StampTableFile file(gridtest::numberedStamps(5));
    open(file);
    table.setFilter([](const engine::RecordView& r) { return r.text(0) != "C2"; });
    EXPECT_EQ(model.rowCount(), 5);  // until told
    model.reload();
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(cell(1, kCatalog), QStringLiteral("C3"));
}

TEST(StampTableModel, ClosedOrMissingTableHasNoRows) {
    engine::Table closed;
    StampTableModel model(&closed);
    EXPECT_EQ(model.rowCount(), 0);
    StampTableModel none(nullptr);
    EXPECT_EQ(none.rowCount(), 0);
}

}  // namespace
