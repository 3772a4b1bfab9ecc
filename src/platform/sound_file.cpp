#include "platform/sound_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
}

#include <cmath>
#include <memory>

namespace platform {

namespace {

struct InputCloser {
  void operator()(AVFormatContext* input) const { avformat_close_input(&input); }
};
struct CodecFreer {
  void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct ResamplerFreer {
  void operator()(SwrContext* resampler) const { swr_free(&resampler); }
};
struct PacketFreer {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFreer {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};

bool channelCountAllowed(int channels) { return channels >= 1 && channels <= kMaxSoundChannels; }
bool sampleRateAllowed(int rate) {
  return rate >= kMinSoundSampleRate && rate <= kMaxSoundSampleRate;
}

// Opens only the M4A container and only local files: a sound name is untrusted text, and FFmpeg
// would otherwise probe any of its formats or follow protocol prefixes such as "http:".
std::unique_ptr<AVFormatContext, InputCloser> openContainer(const std::string& path) {
  const AVInputFormat* m4a = av_find_input_format("m4a");
  if (m4a == nullptr) return nullptr;
  AVDictionary* options = nullptr;
  if (av_dict_set(&options, "protocol_whitelist", "file", 0) < 0) return nullptr;
  AVFormatContext* input = nullptr;
  const int opened = avformat_open_input(&input, ("file:" + path).c_str(), m4a, &options);
  av_dict_free(&options);
  if (opened < 0) return nullptr;
  return std::unique_ptr<AVFormatContext, InputCloser>(input);
}

// The stream's length in seconds as the container states it (after its edit list, so without
// the encoder's priming and padding), or a negative number when it states none.
double statedSeconds(const AVFormatContext& input, const AVStream& stream) {
  if (stream.duration != AV_NOPTS_VALUE && stream.duration > 0) {
    return double(stream.duration) * av_q2d(stream.time_base);
  }
  if (input.duration != AV_NOPTS_VALUE && input.duration > 0) {
    return double(input.duration) / AV_TIME_BASE;
  }
  return -1;
}

// Turns decoded frames into the output format, appending them to `pcm`. The resampler is set up
// from the first frame, because the decoder's own report of rate and layout can differ from the
// container's (implicit SBR doubles the rate); a stream that changes format midway is refused.
class Converter {
 public:
  Converter(const PcmFormat& format, std::int64_t maxFrames)
      : format(format), maxFrames(maxFrames) {
    pcm.channels = format.channels;
    pcm.sampleRate = format.sampleRate;
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() { av_channel_layout_uninit(&inputLayout); }

  void reserve(std::int64_t frames) { pcm.samples.reserve(std::size_t(frames * format.channels)); }

  bool add(const AVFrame& frame) {
    if (!resampler && !start(frame)) return false;
    if (frame.sample_rate != inputRate || frame.format != inputFormat ||
        frame.ch_layout.nb_channels != inputLayout.nb_channels) {
      return false;
    }
    if (frame.nb_samples <= 0) return true;
    return convert(const_cast<const std::uint8_t**>(frame.extended_data), frame.nb_samples);
  }

  // Takes what the resampler still holds back for its filter.
  bool finish() {
    if (!resampler) return true;
    for (;;) {
      const std::int64_t before = pcm.frames();
      if (!convert(nullptr, 0)) return false;
      if (pcm.frames() == before) return true;
    }
  }

  Pcm& result() { return pcm; }

 private:
  bool start(const AVFrame& frame) {
    if (!sampleRateAllowed(frame.sample_rate) || !channelCountAllowed(frame.ch_layout.nb_channels)) {
      return false;
    }
    // A stream that gives only its channel count gets the usual layout for that count.
    if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
      av_channel_layout_default(&inputLayout, frame.ch_layout.nb_channels);
    } else if (av_channel_layout_copy(&inputLayout, &frame.ch_layout) < 0) {
      return false;
    }
    inputRate = frame.sample_rate;
    inputFormat = frame.format;
    AVChannelLayout outputLayout;
    av_channel_layout_default(&outputLayout, format.channels);
    SwrContext* raw = nullptr;
    const int allocated = swr_alloc_set_opts2(&raw, &outputLayout, AV_SAMPLE_FMT_FLT,
                                              format.sampleRate, &inputLayout,
                                              AVSampleFormat(inputFormat), inputRate, 0, nullptr);
    av_channel_layout_uninit(&outputLayout);
    resampler.reset(raw);
    if (allocated < 0) return false;
    // A mono sound is heard at its full level on every side, not 3 dB down as a centre channel.
    if (inputLayout.nb_channels == 1) {
      const std::vector<double> everySide(std::size_t(format.channels), 1.0);
      if (swr_set_matrix(resampler.get(), everySide.data(), 1) < 0) return false;
    }
    return swr_init(resampler.get()) >= 0;
  }

  bool convert(const std::uint8_t** input, int inputFrames) {
    const int room = swr_get_out_samples(resampler.get(), inputFrames);
    if (room < 0) return false;
    const std::int64_t have = pcm.frames();
    if (have + room > maxFrames) return false;
    pcm.samples.resize(std::size_t((have + room) * format.channels));
    auto* output = reinterpret_cast<std::uint8_t*>(pcm.samples.data() + have * format.channels);
    const int converted = swr_convert(resampler.get(), &output, room, input, inputFrames);
    if (converted < 0) return false;
    pcm.samples.resize(std::size_t((have + converted) * format.channels));
    return true;
  }

  PcmFormat format;
  std::int64_t maxFrames;
  Pcm pcm;
  std::unique_ptr<SwrContext, ResamplerFreer> resampler;
  AVChannelLayout inputLayout{};
  int inputRate = 0;
  int inputFormat = -1;
};

// Takes every frame the decoder has ready. False on a decoding error.
bool drain(AVCodecContext& codec, AVFrame& frame, Converter& converter) {
  for (;;) {
    const int received = avcodec_receive_frame(&codec, &frame);
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return true;
    if (received < 0) return false;
    const bool added = converter.add(frame);
    av_frame_unref(&frame);
    if (!added) return false;
  }
}

}  // namespace

std::optional<Pcm> decodeSoundFile(const std::string& path, const PcmFormat& format) {
  // The game reports a bad file itself, in one message; FFmpeg's own lines would only add noise.
  av_log_set_level(AV_LOG_QUIET);

  auto input = openContainer(path);
  if (!input || avformat_find_stream_info(input.get(), nullptr) < 0) return std::nullopt;
  const AVCodec* decoder = nullptr;
  const int streamIndex =
      av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
  if (streamIndex < 0 || decoder == nullptr) return std::nullopt;
  const AVStream& stream = *input->streams[streamIndex];
  const AVCodecParameters& parameters = *stream.codecpar;
  if (!channelCountAllowed(parameters.ch_layout.nb_channels) ||
      !sampleRateAllowed(parameters.sample_rate)) {
    return std::nullopt;
  }
  const double seconds = statedSeconds(*input, stream);
  if (seconds > kMaxSoundSeconds) return std::nullopt;

  std::unique_ptr<AVCodecContext, CodecFreer> codec(avcodec_alloc_context3(decoder));
  if (!codec || avcodec_parameters_to_context(codec.get(), &parameters) < 0 ||
      avcodec_open2(codec.get(), decoder, nullptr) < 0) {
    return std::nullopt;
  }
  std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
  std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
  if (!packet || !frame) return std::nullopt;

  // AAC encoders pad the last packet; the container's duration says where the sound really
  // ends, and the decoded tail past it is cut so that a loop joins without a gap.
  const std::int64_t statedFrames = seconds > 0 ? std::llround(seconds * format.sampleRate) : -1;
  // One second over the limit leaves room for priming, padding and the resampler's delay.
  const auto maxFrames = std::int64_t((kMaxSoundSeconds + 1) * format.sampleRate);
  Converter converter(format, maxFrames);
  if (statedFrames > 0) converter.reserve(statedFrames);

  for (;;) {
    const int read = av_read_frame(input.get(), packet.get());
    if (read == AVERROR_EOF) break;
    if (read < 0) return std::nullopt;
    const bool ours = packet->stream_index == streamIndex;
    const int sent = ours ? avcodec_send_packet(codec.get(), packet.get()) : 0;
    av_packet_unref(packet.get());
    if (sent < 0 || !drain(*codec, *frame, converter)) return std::nullopt;
    if (statedFrames > 0 && converter.result().frames() >= statedFrames) break;
  }
  if (avcodec_send_packet(codec.get(), nullptr) < 0 || !drain(*codec, *frame, converter) ||
      !converter.finish()) {
    return std::nullopt;
  }

  Pcm& pcm = converter.result();
  if (statedFrames > 0 && pcm.frames() > statedFrames) {
    pcm.samples.resize(std::size_t(statedFrames * format.channels));
  }
  if (pcm.frames() == 0) return std::nullopt;
  return std::move(pcm);
}

}  // namespace platform
