#include "tools/Snapshots.h"

#include "platform/SystemFolders.h"
#include "shell/Settings.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// Four coloured quarters, so a picture written upside down or with red and
// blue swapped shows.
QImage Quarters(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, QColor(220, 30, 30));
    painter.fillRect(width / 2, 0, width - width / 2, height / 2, QColor(30, 200, 30));
    painter.fillRect(0, height / 2, width / 2, height - height / 2, QColor(30, 30, 210));
    painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, QColor(240, 240, 240));
    return image;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Bits per pixel from the header of a Windows bitmap.
int BmpBitCount(const QByteArray& bytes)
{
    if (bytes.size() < 30 || !bytes.startsWith("BM")) return -1;
    return uchar(bytes[28]) | uchar(bytes[29]) << 8;
}

// The first (DC) entry of the first quantisation table of a JPEG file.
int FirstQuantiser(const QByteArray& bytes)
{
    for (qsizetype i = 2; i + 5 < bytes.size(); ++i) {
        if (uchar(bytes[i]) == 0xFF && uchar(bytes[i + 1]) == 0xDB) {
            const bool sixteenBit = (uchar(bytes[i + 4]) >> 4) != 0;
            return sixteenBit ? (uchar(bytes[i + 5]) << 8 | uchar(bytes[i + 6])) : uchar(bytes[i + 5]);
        }
    }
    return -1;
}

// What the standard JPEG quality scaling makes of the luminance table's first
// entry (16) at a quality, for baseline files.
int ExpectedFirstQuantiser(int quality)
{
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    return std::clamp((16 * scale + 50) / 100, 1, 255);
}

class SnapshotsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = env.MakeFolder("snaps");
        settings.SetSnapOutPutDir(folder);
    }

    void SetFlags(int fullSize, int smallSize, int bmp, int jpg)
    {
        settings.WriteInt(settings::kSnapFullSize, fullSize);
        settings.WriteInt(settings::kSnapSmallSize, smallSize);
        settings.WriteInt(settings::kSnapBmp, bmp);
        settings.WriteInt(settings::kSnapJpg, jpg);
    }

    std::optional<QString> Save() { return SaveSnapshots(full, SmallSnapshot(full), settings, env.dialogs, nullptr); }

    QStringList Written() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }

    TestEnvironment env;
    ConverterSettings settings{env.converterIni()};
    QString folder;
    QImage full = Quarters(320, 240);
};

TEST_F(SnapshotsTest, EachFlagCombinationWritesExactlyItsFiles)
{
    const struct {
        int fullSize, smallSize, bmp, jpg;
        QStringList files;
    } cases[] = {
        {1, 1, 1, 1, {"Snapshot_full.bmp", "Snapshot_full.jpg", "Snapshot_small.bmp", "Snapshot_small.jpg"}},
        {1, 0, 1, 0, {"Snapshot_full.bmp"}},
        {0, 1, 1, 0, {"Snapshot_small.bmp"}},
        {1, 0, 0, 1, {"Snapshot_full.jpg"}},
        {0, 1, 0, 1, {"Snapshot_small.jpg"}},
        {1, 1, 0, 1, {"Snapshot_full.jpg", "Snapshot_small.jpg"}},
        {1, 1, 1, 0, {"Snapshot_full.bmp", "Snapshot_small.bmp"}},
        {0, 0, 1, 1, {}},
        {1, 1, 0, 0, {}},
        // A flag is on only when it is exactly 1.
        {2, 1, 1, 1, {"Snapshot_small.bmp", "Snapshot_small.jpg"}},
    };
    for (const auto& c : cases) {
        for (const QString& name : Written()) QFile::remove(folder + "/" + name);
        SetFlags(c.fullSize, c.smallSize, c.bmp, c.jpg);
        const std::optional<QString> usedFolder = Save();
        ASSERT_TRUE(usedFolder.has_value());
        EXPECT_EQ(*usedFolder, folder);
        EXPECT_EQ(Written(), c.files) << c.fullSize << c.smallSize << c.bmp << c.jpg;
    }
    EXPECT_TRUE(env.dialogs.messages().isEmpty());
}

TEST_F(SnapshotsTest, BitmapsAreFrameSizeAndPanelSizeWith24Bits)
{
    SetFlags(1, 1, 1, 0);
    ASSERT_TRUE(Save());
    const QByteArray fullBytes = ReadAll(folder + "/Snapshot_full.bmp");
    const QByteArray smallBytes = ReadAll(folder + "/Snapshot_small.bmp");
    EXPECT_EQ(BmpBitCount(fullBytes), 24);
    EXPECT_EQ(BmpBitCount(smallBytes), 24);

    const QImage fullRead = QImage::fromData(fullBytes, "BMP");
    const QImage smallRead = QImage::fromData(smallBytes, "BMP");
    EXPECT_EQ(fullRead.size(), QSize(320, 240));
    EXPECT_EQ(smallRead.size(), QSize(256, 183));
    // Stretched without keeping the aspect ratio: each quarter stays a quarter.
    const struct {
        QPoint fullAt, smallAt;
        QColor colour;
    } probes[] = {
        {{40, 30}, {32, 23}, QColor(220, 30, 30)},
        {{280, 30}, {224, 23}, QColor(30, 200, 30)},
        {{40, 210}, {32, 160}, QColor(30, 30, 210)},
        {{280, 210}, {224, 160}, QColor(240, 240, 240)},
    };
    for (const auto& p : probes) {
        EXPECT_EQ(fullRead.pixelColor(p.fullAt), p.colour) << p.fullAt.x() << "," << p.fullAt.y();
        EXPECT_EQ(smallRead.pixelColor(p.smallAt), p.colour) << p.smallAt.x() << "," << p.smallAt.y();
    }
}

TEST_F(SnapshotsTest, JpegUsesTheStoredQuality)
{
    SetFlags(1, 0, 0, 1);
    qint64 previousSize = 0;
    for (int quality : {5, 30, 60, 95}) {
        settings.WriteInt(settings::kJpgCmp, quality);
        ASSERT_TRUE(Save());
        const QByteArray bytes = ReadAll(folder + "/Snapshot_full.jpg");
        EXPECT_EQ(FirstQuantiser(bytes), ExpectedFirstQuantiser(quality)) << quality;
        EXPECT_GT(bytes.size(), previousSize) << quality;
        previousSize = bytes.size();
        EXPECT_EQ(QImage::fromData(bytes, "JPEG").size(), QSize(320, 240));
    }
    // Missing, the quality is 30.
    settings.ini().DeleteKey(settings::kSection, settings::kJpgCmp);
    ASSERT_TRUE(Save());
    EXPECT_EQ(FirstQuantiser(ReadAll(folder + "/Snapshot_full.jpg")), ExpectedFirstQuantiser(30));
}

TEST_F(SnapshotsTest, MissingFolderIsCreatedWithItsParents)
{
    const QString nested = env.root() + "/a/b/c";
    settings.SetSnapOutPutDir(nested);
    SetFlags(1, 0, 1, 0);
    EXPECT_EQ(Save(), nested);
    EXPECT_TRUE(QFileInfo::exists(nested + "/Snapshot_full.bmp"));
    EXPECT_TRUE(env.dialogs.messages().isEmpty());
}

TEST_F(SnapshotsTest, FolderThatCannotBeCreatedFallsBackWithTheMessage)
{
    settings.SetSnapOutPutDir("/proc/varnel-snapshots");
    SetFlags(1, 0, 1, 0);
    const QString fallback = DefaultOutputFolder();
    EXPECT_EQ(Save(), fallback);
    EXPECT_EQ(env.dialogs.messages(),
              QStringList{"Cannot create output directory:/proc/varnel-snapshots.It will create default directory " +
                          fallback + "!"});
    ASSERT_EQ(env.dialogs.calls().size(), 1u);
    EXPECT_EQ(env.dialogs.calls()[0].caption, "Warning");
    EXPECT_EQ(settings.SnapOutPutDir(), fallback);
    EXPECT_TRUE(QFileInfo::exists(fallback + "/Snapshot_full.bmp"));
}

TEST_F(SnapshotsTest, FailedWriteIsReportedStopsAndKeepsThePreviousFiles)
{
    SetFlags(1, 1, 1, 1);
    ASSERT_TRUE(Save());
    const QByteArray previousSmall = ReadAll(folder + "/Snapshot_small.bmp");
    // A folder where the first file should go cannot be replaced by a picture.
    QFile::remove(folder + "/Snapshot_full.bmp");
    QDir().mkpath(folder + "/Snapshot_full.bmp");
    full = Quarters(200, 100);

    EXPECT_FALSE(Save().has_value());
    ASSERT_EQ(env.dialogs.messages().size(), 1);
    EXPECT_TRUE(env.dialogs.messages()[0].startsWith("Cannot write the snapshot file " + folder +
                                                     "/Snapshot_full.bmp"));
    EXPECT_EQ(env.dialogs.calls()[0].icon, MessageIcon::Error);
    // The files after the failed one are the earlier snapshot's, untouched.
    EXPECT_EQ(ReadAll(folder + "/Snapshot_small.bmp"), previousSmall);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden).size(), 3);
}

TEST(SmallSnapshot, StretchesToThePanel)
{
    EXPECT_EQ(SmallSnapshot(Quarters(640, 360)).size(), QSize(256, 183));
    EXPECT_EQ(SmallSnapshot(Quarters(100, 400), QSize(372, 210)).size(), QSize(372, 210));
    EXPECT_TRUE(SmallSnapshot(QImage()).isNull());
}

} // namespace
