#include "collection/profile_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

namespace collection {
namespace {

class ProfileFileTest : public ::testing::Test {
  protected:
    QString path(const char* name = "TEST.INI") const { return dir_.filePath(QLatin1String(name)); }
    void put(const QByteArray& bytes, const char* name = "TEST.INI") const {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray get(const char* name = "TEST.INI") const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir_;
};

TEST_F(ProfileFileTest, WritingKeepsCommentsUnknownSectionsKeyOrderAndLineEnds) {
    put("; settings\r\n[Misc]\r\nWindow Size=800\r\nButton Bar=2\r\n\r\n"
        "[Other Program]\r\nx=1\r\n");
    ProfileFile file(path());
    file.write(QStringLiteral("misc"), QStringLiteral("BUTTON BAR"), QStringLiteral("3"));
    file.write(QStringLiteral("Misc"), QStringLiteral("Show Tips"), QStringLiteral("No"));
    file.write(QStringLiteral("Reports"), QStringLiteral("Last Report"), QStringLiteral("4"));
    ASSERT_TRUE(file.save());
    EXPECT_EQ(get(),
              "; settings\r\n[Misc]\r\nWindow Size=800\r\nButton Bar=3\r\nShow Tips=No\r\n\r\n"
              "[Other Program]\r\nx=1\r\n\r\n[Reports]\r\nLast Report=4\r\n");
}

TEST_F(ProfileFileTest, NamesMatchInAnyCaseAndValuesComeBackAsWritten) {
    put("[Grid Font]\nFont Name=Times New Roman\n  Lead = spaced \nformula=a=b\n");
    const ProfileFile file(path());
    EXPECT_EQ(file.read(QStringLiteral("GRID FONT"), QStringLiteral("font name")),
              QStringLiteral("Times New Roman"));
    EXPECT_EQ(file.read(QStringLiteral("grid font"), QStringLiteral("LEAD")),
              QStringLiteral(" spaced "));
    EXPECT_EQ(file.read(QStringLiteral("Grid Font"), QStringLiteral("formula")),
              QStringLiteral("a=b"));
    EXPECT_EQ(file.read(QStringLiteral("Grid"), QStringLiteral("Font Name"), QStringLiteral("d")),
              QStringLiteral("d"));
}

TEST_F(ProfileFileTest, RoundTripOfSpacesAndTheFirstOfDuplicates) {
    put("[A]\nk=first\nk=second\n[a]\nk=third\n");
    ProfileFile file(path());
    file.write(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("  two  words  "));
    ASSERT_TRUE(file.save());
    const ProfileFile again(path());
    EXPECT_EQ(again.read(QStringLiteral("a"), QStringLiteral("K")),
              QStringLiteral("  two  words  "));
    EXPECT_EQ(get(), "[A]\nk=  two  words  \nk=second\n[a]\nk=third\n");
}

TEST_F(ProfileFileTest, ReadCutsToTheLimitAndAMissingFileIsEmpty) {
    put("[S]\nk=abcdefgh\n");
    EXPECT_EQ(ProfileFile(path()).read(QStringLiteral("S"), QStringLiteral("k"), {}, 3),
              QStringLiteral("abc"));
    const ProfileFile missing(path("NONE.INI"));
    EXPECT_TRUE(missing.lines().isEmpty());
    EXPECT_EQ(missing.read(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("dflt")),
              QStringLiteral("dflt"));
}

TEST_F(ProfileFileTest, ALineBreakInAValueCannotAddKeys) {
    ProfileFile file(path());
    file.write(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("a\r\n[Evil]\nx=1"));
    ASSERT_TRUE(file.save());
    const ProfileFile again(path());
    EXPECT_FALSE(again.contains(QStringLiteral("Evil"), QStringLiteral("x")));
    EXPECT_EQ(again.lines().size(), 2);
}

TEST_F(ProfileFileTest, Windows1252FileIsReadAndWrittenBackAsUtf8) {
    put("[Field Names]\nCountry=Pa\xEDs \x80\n");
    ProfileFile file(path());
    EXPECT_EQ(file.read(QStringLiteral("Field Names"), QStringLiteral("Country")),
              QString::fromUtf8("País €"));
    ASSERT_TRUE(file.save());
    EXPECT_EQ(get(), QByteArray("[Field Names]\nCountry=Pa\xC3\xADs \xE2\x82\xAC\n"));
}

TEST_F(ProfileFileTest, ReadOnlyFileIsLeftAloneWithoutFailure) {
    put("[S]\nk=old\n");
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup));
    ProfileFile file(path());
    file.write(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("new"));
    EXPECT_FALSE(file.save());
    EXPECT_EQ(get(), "[S]\nk=old\n");
}

TEST_F(ProfileFileTest, ReadOnlyFolderWritesNothing) {
    if (geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind root";
    const QString folder = dir_.filePath(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    ProfileFile file(folder + QStringLiteral("/X.INI"));
    file.write(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_FALSE(file.save());
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/X.INI")));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace
}  // namespace collection
