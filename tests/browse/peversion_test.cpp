// The version reader: sound images of both kinds, the quirks real files
// have, and damaged or hostile images, which must give no lines and never
// read outside what they claim.
#include "browse/peversion.h"
#include "browse/versionstrings.h"
#include "pebuilder.h"
#include "support/tempdrives.h"

#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace browse;
using petest::ImageSpec;
using petest::VersionSpec;

namespace {

QStringList LinesOf(const QByteArray& image)
{
    MemorySource source(image);
    const auto block = FindVersionBlock(source);
    return block ? VersionLinesOf(VersionBlock(*block), true) : QStringList();
}

QByteArray Image(const VersionSpec& v, ImageSpec image = {})
{
    image.versionBlock = petest::VersionBlockBytes(v);
    return petest::PeImage(image);
}

VersionSpec Sample()
{
    VersionSpec v;
    v.strings = petest::SampleStrings();
    return v;
}

const QStringList kSampleLines = {
    "Company: \tHalvane Test Works",   "File description: \tFixture library", "File version: \t1.2.3.4",
    "Internal name: \tfixture",        "Copyright: \t\t(C) 2024 Halvane",     "Trademarks: \tTrovik(TM)",
    "Original filename: \tfixture.dll", "Private build info: \tprivate-7",     "Product name: \tTrovik fixture",
    "Product version: \t4.1",          "Special build info: \tspecial-9"};

// The sample lines with only the first n values (the rest empty).
QStringList FirstValues(int n)
{
    QStringList out = kSampleLines;
    for (int i = n; i < out.size(); ++i)
        out[i] = out[i].left(out[i].lastIndexOf('\t') + 1);
    return out;
}

}  // namespace

TEST(PeVersion, ImagesAndTheirLines)
{
    struct Case {
        const char* name;
        QByteArray image;
        QStringList lines;
    };
    VersionSpec lowerKeys = Sample();
    for (auto& s : lowerKeys.strings)
        s.first = s.first.toLower();
    lowerKeys.tableName = "040904E4";
    VersionSpec bytes = Sample();
    bytes.valueLengthInBytes = true;
    VersionSpec noisy = Sample();
    noisy.strings[0].second = "   Halvane\tTest\x01Works";
    VersionSpec noTranslation = Sample();
    noTranslation.withTranslation = false;
    VersionSpec otherTable = Sample();
    otherTable.tableName = "040704b0";
    VersionSpec zero = Sample();
    zero.zeroChildAfter = 0;
    VersionSpec overlong = Sample();
    overlong.overlongString = 2;
    ImageSpec plus;
    plus.pe32Plus = true;
    ImageSpec otherId;
    otherId.versionId = 7;
    ImageSpec bigData;
    bigData.dataSize = 0x100000;
    QStringList noisyLines = kSampleLines;
    noisyLines[0] = "Company: \tHalvane Test Works";
    QStringList emptyValues = FirstValues(0);

    const Case cases[] = {
        {"PE32", Image(Sample()), kSampleLines},
        {"PE32+", Image(Sample(), plus), kSampleLines},
        {"keys and table name in other case", Image(lowerKeys), kSampleLines},
        {"text lengths counted in bytes", Image(bytes), kSampleLines},
        {"leading blanks dropped, control characters blank", Image(noisy), noisyLines},
        {"no translation: no lines", Image(noTranslation), {}},
        {"no table for the translation: empty values", Image(otherTable), emptyValues},
        {"a block of length 0 ends its list", Image(zero), FirstValues(1)},
        {"a block longer than its parent ends the list", Image(overlong), FirstValues(2)},
        {"version resource under another ID", Image(Sample(), otherId), kSampleLines},
        {"resource size beyond the section: capped", Image(Sample(), bigData), kSampleLines},
        {"not a PE image (ELF)", QByteArray("\x7F" "ELF\x02\x01\x01", 7) + QByteArray(4000, '\0'), {}},
        {"text", QByteArray("MZ is how this text begins, but it is only text.\n").repeated(20), {}},
        {"empty", QByteArray(), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LinesOf(c.image), c.lines) << c.name;

    // Without a TAB the value follows its label directly.
    MemorySource source(Image(Sample()));
    const auto block = FindVersionBlock(source);
    ASSERT_TRUE(block);
    EXPECT_EQ(VersionLinesOf(VersionBlock(*block), false).at(4), "Copyright: (C) 2024 Halvane");
}

TEST(PeVersion, TranslationNamesItsStringTable)
{
    VersionSpec v = Sample();
    v.language = 0x0409;
    v.codePage = 0x04E4;
    MemorySource source(Image(v));
    const auto block = FindVersionBlock(source);
    ASSERT_TRUE(block);
    const VersionBlock b(*block);
    ASSERT_TRUE(b.translation());
    EXPECT_EQ(StringTableName(b.translation()->first, b.translation()->second), "040904e4");
    EXPECT_EQ(b.text(u"\\StringFileInfo\\040904e4\\CompanyName"), QString("Halvane Test Works"));
    EXPECT_FALSE(b.text(u"\\StringFileInfo\\040904e4\\NoSuchName"));
    EXPECT_FALSE(b.text(u"\\StringFileInfo\\040904e4\\CompanyName\\Deeper"));
}

TEST(PeVersion, HostileTreesEndWithoutLines)
{
    for (auto tree : {ImageSpec::Tree::RootToItself, ImageSpec::Tree::TypeToItself, ImageSpec::Tree::NameToRoot}) {
        ImageSpec image;
        image.tree = tree;
        EXPECT_EQ(LinesOf(Image(Sample(), image)), QStringList()) << int(tree);
    }
}

TEST(PeVersion, EveryTruncationGivesAllLinesOrNone)
{
    for (bool plus : {false, true}) {
        ImageSpec spec;
        spec.pe32Plus = plus;
        const QByteArray image = Image(Sample(), spec);
        int whole = 0;
        for (qsizetype n = 0; n < image.size(); ++n) {
            const QStringList lines = LinesOf(image.left(n));
            if (!lines.isEmpty()) {
                EXPECT_EQ(lines, kSampleLines) << n;
                ++whole;
            }
        }
        // Only cuts in the section's padding keep the block whole.
        EXPECT_LT(whole, 0x200) << plus;
    }
}

#ifdef TROVIK_PE_FIXTURES
TEST(PeVersion, ImagesFromTheMinGWTools)
{
    const QStringList expected = {"Company: \tHalvane Test Works",
                                  "File description: \tFixture library for the details window",
                                  "File version: \t4.1.0.17",
                                  "Internal name: \tfixture",
                                  "Copyright: \t\tCopyright (C) 2024 Halvane",
                                  "Trademarks: \tTrovik is a trademark of Halvane",
                                  "Original filename: \tfixture.dll",
                                  "Private build info: \tbuilt by the test suite",
                                  "Product name: \tTrovik",
                                  "Product version: \t4.1",
                                  "Special build info: \tfixture"};
    for (const char* name : {"fixture32.dll", "fixture64.dll"}) {
        QFile f(QStringLiteral(TROVIK_PE_FIXTURES "/") + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        EXPECT_EQ(LinesOf(f.readAll()), expected) << name;
    }
}
#endif

TEST(PeVersion, ReadsFilesThroughTheRegularFileReader)
{
    testing_support::TempDrives drives("C");
    drives.writeFile('C', "app/tool.dll", Image(Sample()));
    drives.writeFile('C', "app/readme.txt", "no version here");
    ASSERT_EQ(::mkfifo(QFile::encodeName(drives.posix('C') + "/app/pipe.dll").constData(), 0600), 0);
    QStringList lines = {"left over"};
    ReadVersionStrings("C:\\app\\tool.dll", lines, true);
    EXPECT_EQ(lines, kSampleLines);
    // A FIFO is never opened (it would wait for a writer): no lines.
    for (const char* path : {"C:\\app\\readme.txt", "C:\\app\\pipe.dll", "C:\\app\\gone.dll"}) {
        lines = QStringList{"left over"};
        ReadVersionStrings(path, lines, true);
        EXPECT_TRUE(lines.isEmpty()) << path;
    }
}
