#pragma once

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavutil/frame.h>
}

#include <string>

// What the video chain is built from: the task's picture options and the
// format its encoder takes.
struct VideoChainSpec {
    int sourceWidth = 0;
    int sourceHeight = 0;
    int cropTop = 0, cropBottom = 0, cropLeft = 0, cropRight = 0; // > 0 to apply
    std::string frameSize;    // "WxH": the source is scaled to it before the task's filters
    std::string aspectRatio;  // "a:b" or a decimal: display aspect of that scaled picture
    std::string userFilters;  // the task's own chain
    std::string frameRate;    // "num/den", empty keeps the timing as it is
    std::string finalSize;    // "WxH" of the finished picture (target presets)
    std::string pixelFormat;  // encoder input format
};

// The libavfilter chain for one task's video, in the order: crop from the
// crop fields, frame rate, scale to the frame size, aspect, the task's filters,
// final size, pixel format. Empty with `error` set when the values cannot make
// a picture.
std::string BuildVideoChain(const VideoChainSpec& spec, std::string& error);

struct AudioChainSpec {
    int volume = -1;        // 256 = unchanged, < 0 = not set
    int sampleRate = 0;     // output rate
    std::string sampleFormat;
    std::string channelLayout;
};
std::string BuildAudioChain(const AudioChainSpec& spec);

// The program's filter chains write crop the way early libavfilter did,
// "crop=x:y:w:h"; today's crop reads four bare numbers as w:h:x:y. Bare
// four-number crops are rewritten with named options; everything else is kept.
std::string TranslateLegacyFilters(const std::string& chain);

// "WxH" (or an abbreviation FFmpeg knows, such as "vga") to numbers.
bool ParseFrameSize(const std::string& text, int& width, int& height);
// "25", "29.97", "30000/1001", "ntsc" to an exact rate; the common NTSC
// decimals map to their exact fractions.
bool ParseFrameRate(const std::string& text, AVRational& rate);
// "16:9", "16/9" or "1.7777" to a ratio.
bool ParseAspect(const std::string& text, AVRational& ratio);

// One configured libavfilter graph with a single input and a single output.
class FilterGraph {
public:
    FilterGraph() = default;
    ~FilterGraph();
    FilterGraph(const FilterGraph&) = delete;
    FilterGraph& operator=(const FilterGraph&) = delete;

    bool ConfigureVideo(const std::string& chain, int width, int height, int pixelFormat, AVRational timeBase,
                        AVRational sampleAspect, AVRational frameRate, std::string& error);
    bool ConfigureAudio(const std::string& chain, int sampleRate, int sampleFormat, const AVChannelLayout& layout,
                        AVRational timeBase, int sinkFrameSize, std::string& error);

    // Takes the frame's references; nullptr marks the end of input.
    int Push(AVFrame* frame);
    // 0 with a frame, AVERROR(EAGAIN) when more input is needed, AVERROR_EOF at the end.
    int Pull(AVFrame* frame);

    bool Configured() const { return graph_ != nullptr; }
    AVFilterContext* Sink() const { return sink_; }
    int InputWidth() const { return inWidth_; }
    int InputHeight() const { return inHeight_; }
    int InputFormat() const { return inFormat_; }
    int InputSampleRate() const { return inSampleRate_; }
    int InputChannels() const { return inChannels_; }

private:
    bool Finish(const std::string& chain, std::string& error);
    void Reset();

    AVFilterGraph* graph_ = nullptr;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    int inWidth_ = 0, inHeight_ = 0, inFormat_ = -1;
    int inSampleRate_ = 0, inChannels_ = 0;
};
