#include "effects/EditsFile.h"
#include "effects/WmGraphics.h"
#include "shell/TlvFilesRecord.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString WriteText(const QTemporaryDir& dir, const QByteArray& text)
{
    const QString path = dir.filePath("edits.ini");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    return path;
}

void ExpectSameItem(const TWmRec& a, const TWmRec& b)
{
    EXPECT_EQ(a.Kind, b.Kind);
    EXPECT_EQ(a.Text, b.Text);
    EXPECT_EQ(a.Font.family(), b.Font.family());
    EXPECT_EQ(a.Font.pointSize(), b.Font.pointSize());
    EXPECT_EQ(FontStyleOf(a.Font), FontStyleOf(b.Font));
    EXPECT_EQ(a.FontColor, b.FontColor);
    EXPECT_EQ(a.TextLeft, b.TextLeft);
    EXPECT_EQ(a.TextTop, b.TextTop);
    EXPECT_EQ(a.TextWidth, b.TextWidth);
    EXPECT_EQ(a.TextHeight, b.TextHeight);
    EXPECT_EQ(a.TextAlpha, b.TextAlpha);
    EXPECT_EQ(a.BackColor, b.BackColor);
    EXPECT_EQ(a.BackOpaque, b.BackOpaque);
    EXPECT_EQ(a.ImageFile, b.ImageFile);
    EXPECT_EQ(a.ImageLeft, b.ImageLeft);
    EXPECT_EQ(a.ImageTop, b.ImageTop);
    EXPECT_EQ(a.ImageWidth, b.ImageWidth);
    EXPECT_EQ(a.ImageHeight, b.ImageHeight);
    EXPECT_EQ(a.ImageAlpha, b.ImageAlpha);
    EXPECT_EQ(a.StartTime, b.StartTime);
    EXPECT_EQ(a.EndTime, b.EndTime);
}

} // namespace

TEST(EditsFile, RecordWrittenReadsBackTheSame)
{
    QTemporaryDir dir;
    TlvFilesRecord record;
    record.TrimStart = 30'500'000'000LL; // beyond 32 bits
    record.TrimLength = 1'250'000;
    record.ZoomMode = QStringLiteral("pan");
    record.CropTop = 2, record.CropLeft = 4, record.CropBottom = 6, record.CropRight = 8;
    record.Brightness = 0, record.Contrast = -100, record.Saturation = 512, record.Exposure = -255;
    TWmRec text = NewWatermarkItem(TWmRec::kText, 59);
    text.Text = QStringLiteral("Caf\u00e9 \u00a9 2026");
    text.Font = MakeItemFont(QStringLiteral("DejaVu Serif"), 31, kFontBold | kFontStrikeout);
    text.FontColor = QColor(1, 2, 3);
    text.TextLeft = -12, text.TextTop = 7, text.TextWidth = 140, text.TextHeight = 33;
    text.TextAlpha = 0, text.BackColor = 0x123456, text.BackOpaque = false;
    text.StartTime = 3, text.EndTime = 9;
    TWmRec image = NewWatermarkItem(TWmRec::kImage, 59);
    image.ImageFile = dir.filePath("logo one.bmp");
    image.ImageLeft = 5, image.ImageTop = -6, image.ImageWidth = 64, image.ImageHeight = 48, image.ImageAlpha = 255;
    record.WaterMarks = {text, image, text};

    const QString path = dir.filePath("edits.ini");
    ASSERT_TRUE(WriteEditsFile(path, record));
    TlvFilesRecord back;
    ASSERT_EQ(ReadEditsFile(path, back, 0), QString());
    EXPECT_EQ(back.TrimStart, record.TrimStart);
    EXPECT_EQ(back.TrimLength, record.TrimLength);
    EXPECT_EQ(back.ZoomMode, record.ZoomMode);
    EXPECT_EQ(back.CropTop, 2);
    EXPECT_EQ(back.CropLeft, 4);
    EXPECT_EQ(back.CropBottom, 6);
    EXPECT_EQ(back.CropRight, 8);
    EXPECT_EQ(back.Brightness, 0);
    EXPECT_EQ(back.Contrast, -100);
    EXPECT_EQ(back.Saturation, 512);
    EXPECT_EQ(back.Exposure, -255);
    ASSERT_EQ(back.WaterMarks.size(), 3u);
    for (size_t i = 0; i < 3; ++i) ExpectSameItem(back.WaterMarks[i], record.WaterMarks[i]);

    // Writing a shorter list over it leaves no stale items behind.
    record.WaterMarks.resize(1);
    ASSERT_TRUE(WriteEditsFile(path, record));
    ASSERT_EQ(ReadEditsFile(path, back, 0), QString());
    EXPECT_EQ(back.WaterMarks.size(), 1u);
}

TEST(EditsFile, MissingKeysTakeTheValuesOfNewFilesAndItems)
{
    QTemporaryDir dir;
    const QString path = WriteText(dir, "[file]\nContrast=12\n[watermark0]\nText=Hi there\n[watermark1]\nKind=1\n"
                                        "ImageFile=/x/y.bmp\n[watermark3]\nText=not read: watermark2 is missing\n");
    TlvFilesRecord record;
    ASSERT_EQ(ReadEditsFile(path, record, 42), QString());
    const TlvFilesRecord fresh;
    EXPECT_EQ(record.Contrast, 12);
    EXPECT_EQ(record.Brightness, fresh.Brightness);
    EXPECT_EQ(record.Saturation, fresh.Saturation);
    EXPECT_EQ(record.TrimStart, 0);
    EXPECT_EQ(record.ZoomMode, fresh.ZoomMode);
    ASSERT_EQ(record.WaterMarks.size(), 2u);

    const TWmRec& text = record.WaterMarks[0];
    TWmRec expected = NewWatermarkItem(TWmRec::kText, 42);
    expected.Text = QStringLiteral("Hi there");
    const QSize extent = TextExtent(expected.Text, expected.Font);
    expected.TextWidth = extent.width();
    expected.TextHeight = extent.height();
    ExpectSameItem(text, expected);
    EXPECT_GT(text.TextWidth, text.TextHeight) << "measured in its font";
    EXPECT_EQ(text.EndTime, 42);

    EXPECT_EQ(record.WaterMarks[1].Kind, TWmRec::kImage);
    EXPECT_EQ(record.WaterMarks[1].ImageFile, QStringLiteral("/x/y.bmp"));
    EXPECT_EQ(record.WaterMarks[1].StartTime, 0);
}

TEST(EditsFile, RefusesBadValuesNamingSectionAndKey)
{
    struct Case {
        QByteArray text;
        QString named;
    };
    const Case cases[] = {
        {"[file]\nBrightness=513\n", "[file] Brightness"},
        {"[file]\nContrast=-101\n", "[file] Contrast"},
        {"[file]\nExposure=abc\n", "[file] Exposure"},
        {"[file]\nTrimStart=-1\n", "[file] TrimStart"},
        {"[file]\nCropLeft=-2\n", "[file] CropLeft"},
        {"[file]\nZoomMode=stretch\n", "[file] ZoomMode"},
        {"[watermark0]\nKind=2\n", "[watermark0] Kind"},
        {"[watermark0]\nText=a\n[watermark1]\nTextAlpha=256\n", "[watermark1] TextAlpha"},
        {"[watermark0]\nBackColor=16777216\n", "[watermark0] BackColor"},
        {"[watermark0]\nBackOpaque=2\n", "[watermark0] BackOpaque"},
        {"[watermark0]\nFontStyle=16\n", "[watermark0] FontStyle"},
        {"[watermark0]\nFontSize=0\n", "[watermark0] FontSize"},
        {"[watermark0]\nEndTime=1.5\n", "[watermark0] EndTime"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        TlvFilesRecord record;
        record.Brightness = 77;
        const QString problem = ReadEditsFile(WriteText(dir, c.text), record, 10);
        EXPECT_TRUE(problem.contains(c.named)) << problem.toStdString() << " for " << c.text.toStdString();
        EXPECT_EQ(record.Brightness, 77) << "the record is left as it was";
        EXPECT_TRUE(record.WaterMarks.empty());
    }
    TlvFilesRecord record;
    EXPECT_FALSE(ReadEditsFile("/nonexistent/edits.ini", record, 0).isEmpty());
}
