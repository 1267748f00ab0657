#include "regio.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const char *kIni = R"ini(; written by the test
[HKEY_CURRENT_USER]
RootValue=at the root

[HKEY_CURRENT_USER\Control Panel\International]
sList=","
sDecimal=.
Padded="  a b  "

[HKEY_CURRENT_USER\Software\Microsoft\Office\12.0\Outlook\Options\Calendar]
BackgroundColorIndex=dword:0000000f
Broken=dword:zz

[HKEY_CURRENT_USER\Software\Microsoft\Office\11.0\Outlook\Categories]
MasterList=hex:41,00,42,00
@="default value"

[HKEY_LOCAL_MACHINE\Software\Deep\Below]
Leaf=1
)ini";

class RegTest : public ::testing::Test
{
protected:
    RegTest() : path(dir.filePath("registry.ini")), reg(dialogs, path) { WriteAll(path, kIni); }

    QTemporaryDir dir;
    QString path;
    ScriptedDialogs dialogs;
    RegIO reg;
};

const QString kIntl = "HKEY_CURRENT_USER\\Control Panel\\International";
const QString kCal =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\12.0\\Outlook\\Options\\Calendar";

} // namespace

TEST_F(RegTest, RootKeysAndSplitting)
{
    EXPECT_EQ(RegIO::RegRootKey("HKEY_CURRENT_USER"), 0x80000001u);
    EXPECT_EQ(RegIO::RegRootKey("HKEY_DYN_DATA"), 0x80000006u);
    EXPECT_EQ(RegIO::RegRootKey("hkey_current_user"), 0u) << "root names are exact";
    quint32 root = 0;
    QString sub;
    EXPECT_TRUE(reg.RegSplitPath(kIntl, root, sub));
    EXPECT_EQ(root, 0x80000001u);
    EXPECT_EQ(sub, "Control Panel\\International");
    EXPECT_TRUE(reg.RegSplitPath("HKEY_USERS", root, sub));
    EXPECT_EQ(root, 0x80000003u);
    EXPECT_EQ(sub, "");
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(RegTest, MalformedPathsSayIncorrectFormat)
{
    EXPECT_EQ(reg.RegReadText(kIntl + "\\", "sList"), "Error");
    EXPECT_EQ(reg.RegReadNumber("Software\\Microsoft", "x").toString(), "Error");
    EXPECT_EQ(dialogs.texts(), QStringList({"Incorrect Format:\n\n" + kIntl + "\\",
                                            "Incorrect Format:\n\nSoftware\\Microsoft"}));
}

TEST_F(RegTest, TextReadEveryWay)
{
    EXPECT_EQ(reg.RegReadText(kIntl, "sList"), ",");
    EXPECT_EQ(reg.RegReadText(kIntl, "SLIST"), ",") << "value names ignore case";
    EXPECT_EQ(
        reg.RegReadText(kIntl.toUpper().replace("HKEY_CURRENT_USER", "HKEY_CURRENT_USER"), "sList"),
        ",")
        << "key paths ignore case";
    EXPECT_EQ(reg.RegReadRaw(kIntl, "sList").toString(), QString(",") + QChar(0));
    EXPECT_EQ(reg.SyncherReadText(kIntl, "sList"), ",");
    EXPECT_EQ(reg.RegReadText(kIntl, "sDecimal"), ".");
    EXPECT_EQ(reg.RegReadText(kIntl, "Padded"), "  a b  ");
    EXPECT_EQ(reg.SyncherReadText(kIntl, "Padded"), "a b  ") << "only leading spaces go";
    EXPECT_EQ(reg.RegReadText("HKEY_CURRENT_USER", "RootValue"), "at the root");
    const QString cats =
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\11.0\\Outlook\\Categories";
    EXPECT_EQ(reg.RegReadText(cats, ""), "default value");
    EXPECT_EQ(reg.RegReadRaw(cats, "MasterList").toString(),
              QString("A") + QChar(0) + "B" + QChar(0));
}

TEST_F(RegTest, NumbersAndFailures)
{
    EXPECT_EQ(reg.RegReadNumber(kCal, "BackgroundColorIndex"), QVariant(15));
    EXPECT_EQ(reg.RegReadNumber(kCal, "Broken").toString(), "Error");
    EXPECT_EQ(reg.RegReadNumber(kCal, "Missing").toString(), "Error");
    EXPECT_EQ(reg.RegReadNumber(kIntl, "sList").toString(), "Error") << "text is no number";
    EXPECT_EQ(reg.RegReadText(kCal, "BackgroundColorIndex"), "Error");
    EXPECT_EQ(reg.RegReadText(kIntl + "\\Missing", "sList"), "Error") << "missing key";
    EXPECT_EQ(reg.RegReadText("HKEY_LOCAL_MACHINE\\Software\\Deep", "Leaf"), "Error")
        << "a key above a group exists but holds no values";
    EXPECT_EQ(reg.SyncherReadText(kIntl, "Missing"), "Error");

    // An unknown root is neither a value nor an error.
    EXPECT_FALSE(reg.RegReadNumber("HKEY_NOWHERE\\A", "x").isValid());
    EXPECT_EQ(reg.RegReadText("HKEY_NOWHERE\\A", "x"), "");
    EXPECT_FALSE(reg.RegReadRaw("HKEY_NOWHERE\\A", "x").isValid());
}

TEST_F(RegTest, MissingFileReadsAsError)
{
    RegIO none(dialogs, dir.filePath("absent.ini"));
    EXPECT_EQ(none.RegReadText(kIntl, "sList"), "Error");
    EXPECT_EQ(none.RegReadNumber(kCal, "BackgroundColorIndex").toString(), "Error");
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(RegTest, SyncherReaderCutsLongValues)
{
    const QString longValue(300, 'x');
    WriteAll(path, QByteArray(kIni) + "[HKEY_CURRENT_USER\\Long]\nV=" + longValue.toUtf8() + "\n");
    EXPECT_EQ(reg.SyncherReadText("HKEY_CURRENT_USER\\Long", "V"), QString(254, 'x'));
    EXPECT_EQ(reg.RegReadText("HKEY_CURRENT_USER\\Long", "V"), longValue);
}

TEST(RegIODefaultPath, FollowsTheConfigHome)
{
    QTemporaryDir home;
    ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    EXPECT_EQ(RegIO::DefaultPath(), home.path() + "/Quorvel/registry.ini");
}
