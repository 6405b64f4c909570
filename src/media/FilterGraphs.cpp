#include "media/FilterGraphs.h"

#include "media/AvUtil.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/opt.h>
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

bool ParseFrameSize(const std::string& text, int& width, int& height)
{
    width = height = 0;
    if (text.empty()) return false;
    return av_parse_video_size(&width, &height, text.c_str()) >= 0 && width > 0 && height > 0;
}

bool ParseFrameRate(const std::string& text, AVRational& rate)
{
    if (text.empty()) return false;
    char* end = nullptr;
    const double decimal = std::strtod(text.c_str(), &end);
    if (end && *end == '\0') {
        for (int base : {24000, 30000, 60000}) {
            if (std::fabs(decimal - base / 1001.0) < 0.006) {
                rate = AVRational{base, 1001};
                return true;
            }
        }
    }
    if (av_parse_video_rate(&rate, text.c_str()) < 0) return false;
    return rate.num > 0 && rate.den > 0;
}

bool ParseAspect(const std::string& text, AVRational& ratio)
{
    if (text.empty()) return false;
    if (av_parse_ratio(&ratio, text.c_str(), 255, 0, nullptr) < 0) return false;
    return ratio.num > 0 && ratio.den > 0;
}

std::string TranslateLegacyFilters(const std::string& chain)
{
    std::string out;
    size_t pos = 0;
    while (pos <= chain.size()) {
        size_t end = chain.find(',', pos);
        if (end == std::string::npos) end = chain.size();
        std::string item = chain.substr(pos, end - pos);
        if (item.rfind("crop=", 0) == 0) {
            int v[4];
            char tail = 0;
            if (std::sscanf(item.c_str() + 5, "%d:%d:%d:%d%c", &v[0], &v[1], &v[2], &v[3], &tail) == 4 &&
                std::all_of(v, v + 4, [](int n) { return n >= 0; }))
                item = Format("crop=w=%d:h=%d:x=%d:y=%d", v[2], v[3], v[0], v[1]);
        }
        out += (out.empty() && pos == 0 ? "" : ",") + item;
        pos = end + 1;
    }
    return out;
}

std::string BuildVideoChain(const VideoChainSpec& spec, std::string& error)
{
    std::vector<std::string> parts;
    const int l = std::max(0, spec.cropLeft), r = std::max(0, spec.cropRight);
    const int t = std::max(0, spec.cropTop), b = std::max(0, spec.cropBottom);
    if (l + r + t + b > 0) {
        const int w = spec.sourceWidth - l - r, h = spec.sourceHeight - t - b;
        if (w <= 0 || h <= 0) {
            error = Format("Crop of %d,%d,%d,%d leaves no picture of the %dx%d source.", t, b, l, r,
                           spec.sourceWidth, spec.sourceHeight);
            return {};
        }
        // exact: odd margins must not shift the picture by a chroma sample.
        parts.push_back(Format("crop=%d:%d:%d:%d:exact=1", w, h, l, t));
    }
    if (!spec.frameRate.empty()) parts.push_back("fps=" + spec.frameRate);
    if (!spec.frameSize.empty()) {
        int w = 0, h = 0;
        if (!ParseFrameSize(spec.frameSize, w, h)) {
            error = Format("Invalid frame size: %s", spec.frameSize.c_str());
            return {};
        }
        parts.push_back(Format("scale=%d:%d", w, h));
    }
    if (!spec.aspectRatio.empty()) {
        AVRational dar{};
        if (!ParseAspect(spec.aspectRatio, dar)) {
            error = Format("Invalid aspect ratio: %s", spec.aspectRatio.c_str());
            return {};
        }
        parts.push_back(Format("setdar=%d/%d", dar.num, dar.den));
    }
    if (!spec.userFilters.empty()) parts.push_back(TranslateLegacyFilters(spec.userFilters));
    if (!spec.finalSize.empty()) {
        int w = 0, h = 0;
        if (!ParseFrameSize(spec.finalSize, w, h)) {
            error = Format("Invalid frame size: %s", spec.finalSize.c_str());
            return {};
        }
        parts.push_back(Format("scale=%d:%d", w, h));
    }
    if (!spec.pixelFormat.empty()) parts.push_back("format=" + spec.pixelFormat);
    if (parts.empty()) return "null";
    std::string chain;
    for (const auto& p : parts) chain += (chain.empty() ? "" : ",") + p;
    return chain;
}

std::string BuildAudioChain(const AudioChainSpec& spec)
{
    std::vector<std::string> parts;
    if (spec.volume >= 0 && spec.volume != 256) parts.push_back(Format("volume=%.6f", spec.volume / 256.0));
    if (spec.sampleRate > 0) parts.push_back(Format("aresample=%d", spec.sampleRate));
    std::string fmt = "aformat=";
    bool any = false;
    if (!spec.sampleFormat.empty()) { fmt += "sample_fmts=" + spec.sampleFormat; any = true; }
    if (spec.sampleRate > 0) { fmt += std::string(any ? ":" : "") + Format("sample_rates=%d", spec.sampleRate); any = true; }
    if (!spec.channelLayout.empty()) { fmt += std::string(any ? ":" : "") + "channel_layouts=" + spec.channelLayout; any = true; }
    if (any) parts.push_back(fmt);
    if (parts.empty()) return "anull";
    std::string chain;
    for (const auto& p : parts) chain += (chain.empty() ? "" : ",") + p;
    return chain;
}

FilterGraph::~FilterGraph() { Reset(); }

void FilterGraph::Reset()
{
    avfilter_graph_free(&graph_);
    source_ = sink_ = nullptr;
}

bool FilterGraph::ConfigureVideo(const std::string& chain, int width, int height, int pixelFormat, AVRational timeBase,
                                 AVRational sampleAspect, AVRational frameRate, std::string& error)
{
    Reset();
    graph_ = avfilter_graph_alloc();
    if (!graph_) { error = "Out of memory"; return false; }
    if (sampleAspect.num <= 0 || sampleAspect.den <= 0) sampleAspect = AVRational{1, 1};
    std::string args = Format("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d", width, height,
                              pixelFormat, timeBase.num, timeBase.den, sampleAspect.num, sampleAspect.den);
    if (frameRate.num > 0 && frameRate.den > 0) args += Format(":frame_rate=%d/%d", frameRate.num, frameRate.den);
    int rc = avfilter_graph_create_filter(&source_, avfilter_get_by_name("buffer"), "in", args.c_str(), nullptr, graph_);
    if (rc >= 0) rc = avfilter_graph_create_filter(&sink_, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr, graph_);
    if (rc < 0) {
        error = "Cannot create the video filters: " + AvErrorText(rc);
        Reset();
        return false;
    }
    inWidth_ = width;
    inHeight_ = height;
    inFormat_ = pixelFormat;
    return Finish(chain, error);
}

bool FilterGraph::ConfigureAudio(const std::string& chain, int sampleRate, int sampleFormat, const AVChannelLayout& layout,
                                 AVRational timeBase, int sinkFrameSize, std::string& error)
{
    Reset();
    graph_ = avfilter_graph_alloc();
    if (!graph_) { error = "Out of memory"; return false; }
    char layoutText[128] = {};
    if (layout.nb_channels > 0 && av_channel_layout_describe(&layout, layoutText, sizeof layoutText) < 0) layoutText[0] = 0;
    std::string args = Format("time_base=%d/%d:sample_rate=%d:sample_fmt=%s", timeBase.num, timeBase.den, sampleRate,
                              av_get_sample_fmt_name(AVSampleFormat(sampleFormat)));
    if (layoutText[0]) args += Format(":channel_layout=%s", layoutText);
    else args += Format(":channels=%d", layout.nb_channels > 0 ? layout.nb_channels : 2);
    int rc = avfilter_graph_create_filter(&source_, avfilter_get_by_name("abuffer"), "in", args.c_str(), nullptr, graph_);
    if (rc >= 0) rc = avfilter_graph_create_filter(&sink_, avfilter_get_by_name("abuffersink"), "out", nullptr, nullptr, graph_);
    if (rc < 0) {
        error = "Cannot create the audio filters: " + AvErrorText(rc);
        Reset();
        return false;
    }
    inFormat_ = sampleFormat;
    inSampleRate_ = sampleRate;
    inChannels_ = layout.nb_channels;
    if (!Finish(chain, error)) return false;
    if (sinkFrameSize > 0) av_buffersink_set_frame_size(sink_, unsigned(sinkFrameSize));
    return true;
}

bool FilterGraph::Finish(const std::string& chain, std::string& error)
{
    AVFilterInOut* outputs = avfilter_inout_alloc();
    AVFilterInOut* inputs = avfilter_inout_alloc();
    if (!outputs || !inputs) {
        avfilter_inout_free(&outputs);
        avfilter_inout_free(&inputs);
        error = "Out of memory";
        Reset();
        return false;
    }
    outputs->name = av_strdup("in");
    outputs->filter_ctx = source_;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = sink_;
    int rc = avfilter_graph_parse_ptr(graph_, chain.c_str(), &inputs, &outputs, nullptr);
    avfilter_inout_free(&outputs);
    avfilter_inout_free(&inputs);
    if (rc >= 0) rc = avfilter_graph_config(graph_, nullptr);
    if (rc < 0) {
        error = Format("Invalid filter chain \"%s\": %s", chain.c_str(), AvErrorText(rc).c_str());
        Reset();
        return false;
    }
    return true;
}

int FilterGraph::Push(AVFrame* frame)
{
    return av_buffersrc_add_frame_flags(source_, frame, AV_BUFFERSRC_FLAG_PUSH);
}

int FilterGraph::Pull(AVFrame* frame) { return av_buffersink_get_frame(sink_, frame); }
