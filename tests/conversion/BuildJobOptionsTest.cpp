#include "conversion/BuildJobOptions.h"

#include "platform/IniFile.h"
#include "platform/SystemFolders.h"
#include "shell/TlvFilesRecord.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Keys = std::vector<std::pair<QString, QString>>;

// One profile in fresh INI files, built for one source.
class Builder {
public:
    explicit Builder(const QString& formatWord, const Keys& para, int code = 102)
        : code_(code), formats_(env.root() + "/formats.ini"), conv_(env.converterIni())
    {
        formats_.WriteString(Section(), "Format", formatWord);
        for (const auto& [key, value] : para) conv_.WriteString(Section(), key, value);
    }
    QString Section() const { return "formatInfo" + QString::number(code_); }

    TOutputOptions Build(const SourceVideoFacts& source, const TlvFilesRecord& row = {},
                         TInputOptions* inputOut = nullptr)
    {
        TOutputOptions out;
        TInputOptions in;
        ResetOutputOptions(out);
        ResetInputOptions(in);
        if (row.HasCrop()) out.CropTop = row.CropTop, out.CropBottom = row.CropBottom, out.CropLeft = row.CropLeft,
                           out.CropRight = row.CropRight;
        BuildJobOptions(row, code_, out, source, in, ProfileSources{formats_, conv_, env.dialogs, nullptr});
        if (inputOut) *inputOut = in;
        return out;
    }

    TestEnvironment env;

private:
    int code_;
    IniFile formats_;
    IniFile conv_;
};

SourceVideoFacts Source(int w, int h, int64_t bitRate = 1000000) { return {1, w, h, bitRate}; }

TlvFilesRecord Row(const QString& zoom, int left = 0, int top = 0, int right = 0, int bottom = 0)
{
    TlvFilesRecord row;
    row.ZoomMode = zoom;
    row.CropLeft = left, row.CropTop = top, row.CropRight = right, row.CropBottom = bottom;
    return row;
}

Keys VideoProfile(const QString& size, const QString& encoder = "mpeg4")
{
    return {{"paraVideoEncoder", encoder}, {"paraVideoSize", size}, {"paraAudioEncoder", "aac"}};
}

TEST(BuildJobOptions, LetterboxWorkedNumbers)
{
    const struct {
        int ws, hs;
        const char* target;
        const char* frameSize;
        const char* filter;
    } cases[] = {
        {640, 360, "320x240", "320x180", "pad=320:240:0:30"},
        {720, 576, "320x240", "300x240", "pad=320:240:10:0"},
        {720, 576, "720x480", "600x480", "pad=720:480:60:0"},
        {640, 272, "720x576", "720x308", "pad=720:576:0:134"},
        {352, 288, "352x288", "352x288", "pad=352:288:0:0"},
    };
    for (const auto& c : cases) {
        Builder b("mp4", VideoProfile(c.target));
        const TOutputOptions out = b.Build(Source(c.ws, c.hs), Row("lbox"));
        EXPECT_EQ(out.FrameSize, c.frameSize) << c.ws << "x" << c.hs;
        EXPECT_EQ(out.VideoFilters, c.filter);
        EXPECT_EQ(out.AspectRatio, QString(c.frameSize).replace('x', ':').toStdString());
        EXPECT_TRUE(b.env.dialogs.calls().empty());
    }
}

TEST(BuildJobOptions, LetterboxWithCropCropsOnceThroughTheFilter)
{
    Builder b("mp4", VideoProfile("320x240"));
    const TOutputOptions out = b.Build(Source(640, 480), Row("lbox", 10, 20, 10, 20));
    EXPECT_EQ(out.AspectRatio, "320:240");
    EXPECT_EQ(out.VideoFilters, "crop=10:20:620:440,scale=320:240,pad=320:240:0:0");
    EXPECT_EQ(out.FrameSize, "");
    EXPECT_EQ(out.CropLeft + out.CropTop + out.CropRight + out.CropBottom, 0);
}

TEST(BuildJobOptions, FullPanAndCenterZoom)
{
    const struct {
        const char* zoom;
        int ws, hs;
        int cl, ct, cr, cb;
        const char* frameSize;
        const char* filter;
        int cropLeft, cropTop, cropRight, cropBottom;
    } cases[] = {
        {"full", 640, 360, 0, 0, 0, 0, "320x240", "", 0, 0, 0, 0},
        {"full", 640, 360, 4, 6, 8, 10, "320x240", "", 4, 6, 8, 10},
        {"pan", 640, 360, 0, 0, 0, 0, "320x240", "", 142, 0, 142, 0},
        {"pan", 640, 640, 0, 0, 0, 0, "320x240", "", 0, 106, 0, 106},
        {"pan", 640, 480, 0, 0, 0, 0, "320x240", "", 0, 0, 0, 0},
        {"center", 640, 360, 0, 0, 0, 0, "320x240", "pad=640:420:0:30:black", 0, 0, 0, 0},
        {"center", 720, 576, 0, 0, 0, 0, "300x240", "pad=740:576:10:0:black", 0, 0, 0, 0},
        {"center", 640, 480, 0, 0, 0, 0, "320x240", "pad=640:480:0:0:black", 0, 0, 0, 0},
        {"FULL", 640, 360, 0, 0, 0, 0, "", "", 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Builder b("mp4", VideoProfile("320x240"));
        const TOutputOptions out = b.Build(Source(c.ws, c.hs), Row(c.zoom, c.cl, c.ct, c.cr, c.cb));
        SCOPED_TRACE(std::string(c.zoom) + " " + std::to_string(c.ws) + "x" + std::to_string(c.hs));
        EXPECT_EQ(out.FrameSize, c.frameSize);
        EXPECT_EQ(out.VideoFilters, c.filter);
        EXPECT_EQ(out.CropLeft, c.cropLeft);
        EXPECT_EQ(out.CropTop, c.cropTop);
        EXPECT_EQ(out.CropRight, c.cropRight);
        EXPECT_EQ(out.CropBottom, c.cropBottom);
        if (QString(c.zoom) != "FULL") EXPECT_EQ(out.AspectRatio, "320:240");
        else EXPECT_EQ(out.AspectRatio, "");
    }
}

TEST(BuildJobOptions, TargetsCodecsPresetsAndContainers)
{
    const struct {
        const char* format;
        const char* encoder;
        const char* size;
        int targetType, targetNorm;
        const char* aspect;
        const char* codec;
        const char* preset;
        const char* container;
    } cases[] = {
        {"ntsc-dvd", "mpeg2video", "720x480", 3, 2, "16:9", "mpeg2video", "", ""},
        {"PAL-DVD", "mpeg2video", "720x480", 3, 1, "4:3", "mpeg2video", "", ""},
        {"pal-svcd", "mpeg2video", "480x576", 3, 1, "4:3", "mpeg2video", "", ""},
        {"ntsc-vcd", "mpeg1video", "352x240", 1, 2, "4:3", "mpeg1video", "", ""},
        {"mp4", "libx264", "320x240", 0, 0, "", "libx264", "libx264-mp4", ""},
        {"iPod", "libx264", "320x240", 0, 0, "", "libx264", "libx264-ipod", "iPod"},
        {"psp", "libx264", "320x240", 0, 0, "", "libx264", "libx264-psp", "psp"},
        {"ps3", "libx264", "320x240", 0, 0, "", "libx264", "libx264-ps3", ""},
        {"avi", "libxvid", "320x240", 0, 0, "", "libxvid", "", "avi"},
        {"mov", "mov", "320x240", 0, 0, "", "", "", "mov"},
        {"asf", "wmv2", "320x240", 0, 0, "", "wmv2", "", ""},
    };
    for (const auto& c : cases) {
        Builder b(c.format, VideoProfile(c.size, c.encoder));
        // A zoom word in capitals skips the zoom step, so the target's aspect stays.
        const TOutputOptions out = b.Build(Source(640, 480), Row("LBOX"));
        SCOPED_TRACE(c.format);
        EXPECT_EQ(out.TargetType, c.targetType);
        EXPECT_EQ(out.TargetNorm, c.targetNorm);
        EXPECT_EQ(out.AspectRatio, c.aspect);
        EXPECT_EQ(out.VideoCodec, c.codec);
        EXPECT_EQ(out.VideoPreset, c.preset);
        EXPECT_EQ(out.OutputFormat, c.container);
    }
}

TEST(BuildJobOptions, H263SnapsToItsSizes)
{
    const struct {
        const char* size;
        const char* frameSize;
    } cases[] = {{"320x240", "352x288"}, {"176x144", "176x144"}, {"800x600", "704x576"},
                 {"160x120", "160x120"}, {"500x400", "704x576"}, {"100x80", "100x80"}};
    for (const auto& c : cases) {
        Builder b("3gp", VideoProfile(c.size, "h263"));
        EXPECT_EQ(b.Build(Source(640, 480), Row("full")).FrameSize, c.frameSize) << c.size;
    }
}

TEST(BuildJobOptions, UnusableFrameSizeAsksForTheDefault)
{
    const struct {
        const char* size; // nullptr: key missing
        QMessageBox::StandardButton answer;
        const char* frameSize;
    } cases[] = {
        {"640x", QMessageBox::Yes, "320x240"}, {"x480", QMessageBox::No, "640x360"},
        {"640", QMessageBox::No, "640x360"},   {nullptr, QMessageBox::Yes, "320x240"},
    };
    for (const auto& c : cases) {
        Keys keys{{"paraVideoEncoder", "mpeg4"}};
        if (c.size) keys.push_back({"paraVideoSize", c.size});
        Builder b("mp4", keys);
        b.env.dialogs.ScriptButton(c.answer);
        EXPECT_EQ(b.Build(Source(640, 360), Row("full")).FrameSize, c.frameSize);
        ASSERT_EQ(b.env.dialogs.calls().size(), 1u);
        EXPECT_EQ(b.env.dialogs.calls()[0].text, "Error output Video Size.Use the default size 320x240?");
        EXPECT_EQ(b.env.dialogs.calls()[0].caption, "Warning");
    }
    Builder partly("mp4", VideoProfile("abcx480"));
    EXPECT_EQ(partly.Build(Source(640, 360), Row("full")).FrameSize, "640x480");
    EXPECT_TRUE(partly.env.dialogs.calls().empty());
    Builder asSource("mp4", VideoProfile("as source"));
    EXPECT_EQ(asSource.Build(Source(640, 360), Row("full")).FrameSize, "640x360");
}

TEST(BuildJobOptions, RatesAndAudio)
{
    Builder b("mp4", {{"paraVideoEncoder", "mpeg4"},
                      {"paraVideoSize", "320x240"},
                      {"paraVideoBitRate", "as source"},
                      {"paraFrameRate", "25"},
                      {"paraAudioEncoder", "libamr_nb"},
                      {"paraAudioBitRate", "12.2"},
                      {"paraSampleRate", "8000"},
                      {"paraChannel", "1"},
                      {"paraVolume", "128"}});
    const TOutputOptions out = b.Build(Source(640, 360, 0), Row("full"));
    EXPECT_EQ(out.VideoBitRate, 0);
    EXPECT_EQ(out.FrameRate, "25");
    EXPECT_EQ(out.AudioCodec, "libopencore_amrnb");
    EXPECT_EQ(out.AudioBitRate, 12200);
    EXPECT_EQ(out.AudioSampleRate, 8000);
    EXPECT_EQ(out.AudioChannels, 1);
    EXPECT_EQ(out.Volume, 128);
    EXPECT_FALSE(out.AudioDisabled);

    Builder other("mp4", {{"paraVideoEncoder", "mpeg4"}, {"paraVideoSize", "320x240"}, {"paraVideoBitRate", "768"},
                          {"paraFrameRate", "as source"}, {"paraVolume", "256"}, {"paraAudioBitRate", "as source"}});
    const TOutputOptions second = other.Build(Source(640, 360), Row("full"));
    EXPECT_EQ(second.VideoBitRate, 768000);
    EXPECT_EQ(second.FrameRate, "");
    EXPECT_EQ(second.Volume, -1);
    EXPECT_EQ(second.AudioBitRate, -1);
    EXPECT_TRUE(second.AudioDisabled); // no audio encoder
}

TEST(BuildJobOptions, SoundFormatsDropThePicture)
{
    for (const char* encoder : {"", "   "}) {
        Builder b("mp3", {{"paraVideoEncoder", encoder},
                          {"paraAudioEncoder", "libmp3lame"},
                          {"paraChannel", "as source"},
                          {"paraAudioBitRate", "192"}});
        TInputOptions in;
        const TOutputOptions out = b.Build(Source(640, 360), Row("lbox"), &in);
        EXPECT_TRUE(out.VideoDisabled);
        EXPECT_TRUE(out.SubtitlesDisabled);
        EXPECT_EQ(in.ExtraOptions, "vn=1");
        EXPECT_EQ(out.AudioCodec, "libmp3lame");
        EXPECT_EQ(out.AudioChannels, -1);
        EXPECT_EQ(out.AudioSampleRate, 44100);
        EXPECT_EQ(out.AudioBitRate, 192000);
        EXPECT_EQ(out.FrameSize, "");
        EXPECT_EQ(out.VideoFilters, "");
    }
    Builder missing("mp3", {{"paraChannel", "2"}});
    EXPECT_EQ(missing.Build(Source(640, 360)).AudioCodec, "libfaac");
}

TEST(BuildJobOptions, SourceWithoutPictureKeepsOnlyTheTargetAspect)
{
    Builder b("pal-dvd", VideoProfile("720x576", "mpeg2video"));
    const TOutputOptions out = b.Build(SourceVideoFacts{0, 0, 0, 0}, Row("lbox"));
    EXPECT_TRUE(out.VideoDisabled);
    EXPECT_EQ(out.FrameSize, "");
    EXPECT_EQ(out.VideoFilters, "");
    EXPECT_EQ(out.AspectRatio, "16:9");
    EXPECT_EQ(out.AudioCodec, "aac");
}

TEST(BuildJobOptions, AVolumeThatIsNoNumberIsReported)
{
    Builder b("mp4", {{"paraVideoEncoder", "mpeg4"}, {"paraVideoSize", "320x240"}, {"paraVolume", "loud"}});
    try {
        b.Build(Source(640, 360), Row("full"));
        FAIL() << "no error";
    } catch (const ProfileValueError& error) {
        EXPECT_STREQ(error.what(), "'loud' is not a valid integer value");
    }
}

TEST(BuildJobOptions, AFormatWithoutAProfileGetsItsDefaultsFirst)
{
    TestEnvironment env;
    IniFile formats(InstalledDataFolder() + "/varnelformat.ini");
    IniFile conv(env.converterIni());
    TOutputOptions out;
    TInputOptions in;
    BuildJobOptions(Row("lbox"), 103, out, Source(640, 360), in, ProfileSources{formats, conv, env.dialogs, nullptr});
    EXPECT_EQ(out.VideoCodec, "libx264");
    EXPECT_EQ(out.VideoPreset, "libx264-mp4");
    EXPECT_EQ(out.FrameSize, "640x360");
    EXPECT_EQ(out.VideoFilters, "pad=640:480:0:60");
    EXPECT_EQ(out.AudioCodec, "libfaac");
    EXPECT_EQ(out.Volume, -1);
    EXPECT_TRUE(env.dialogs.calls().empty());
    EXPECT_EQ(conv.ReadString("formatInfo103", "paraVideoSize", ""), "640x480");
}

} // namespace
