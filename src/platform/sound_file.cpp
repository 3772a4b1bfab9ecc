#include "platform/sound_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/files.h"

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

// The M4A demuxer, the only container the game reads: FFmpeg would otherwise probe any of its
// formats.
const AVInputFormat* m4aFormat() { return av_find_input_format("m4a"); }

// Opens only local files: a sound name is untrusted text, and FFmpeg would otherwise follow
// protocol prefixes such as "http:".
std::unique_ptr<AVFormatContext, InputCloser> openFile(const std::string& path) {
  const AVInputFormat* m4a = m4aFormat();
  // A named pipe or a device in place of a sound would block the open for ever.
  if (m4a == nullptr || checkRegularFile(path)) return nullptr;
  AVDictionary* options = nullptr;
  if (av_dict_set(&options, "protocol_whitelist", "file", 0) < 0) return nullptr;
  AVFormatContext* input = nullptr;
  const int opened = avformat_open_input(&input, ("file:" + path).c_str(), m4a, &options);
  av_dict_free(&options);
  if (opened < 0) return nullptr;
  return std::unique_ptr<AVFormatContext, InputCloser>(input);
}

// A file's bytes in memory, read by FFmpeg through callbacks as it would read the file.
struct MemoryFile {
  const std::uint8_t* data;
  std::int64_t size;
  std::int64_t position = 0;
};

int readMemory(void* opaque, std::uint8_t* buffer, int count) {
  auto& file = *static_cast<MemoryFile*>(opaque);
  const std::int64_t taken = std::min<std::int64_t>(count, file.size - file.position);
  if (taken <= 0) return AVERROR_EOF;
  std::memcpy(buffer, file.data + file.position, std::size_t(taken));
  file.position += taken;
  return int(taken);
}

std::int64_t seekMemory(void* opaque, std::int64_t offset, int whence) {
  auto& file = *static_cast<MemoryFile*>(opaque);
  whence &= ~AVSEEK_FORCE;
  if (whence == AVSEEK_SIZE) return file.size;
  std::int64_t base = 0;
  if (whence == SEEK_CUR) {
    base = file.position;
  } else if (whence == SEEK_END) {
    base = file.size;
  } else if (whence != SEEK_SET) {
    return AVERROR(EINVAL);
  }
  if (offset < -base || offset > file.size - base) return AVERROR(EINVAL);
  file.position = base + offset;
  return file.position;
}

struct IoContextFreer {
  void operator()(AVIOContext* io) const {
    av_freep(&io->buffer);
    avio_context_free(&io);
  }
};

// The demuxer over bytes in memory. The I/O context must outlive the demuxer that reads from it,
// hence the order of the members.
class MemoryInput {
 public:
  explicit MemoryInput(MemoryFile contents) : file(contents) {}
  // The I/O context keeps the address of `file`.
  MemoryInput(const MemoryInput&) = delete;
  MemoryInput& operator=(const MemoryInput&) = delete;

  AVFormatContext* open() {
    const AVInputFormat* m4a = m4aFormat();
    constexpr int kBufferBytes = 4096;
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kBufferBytes));
    if (m4a == nullptr || buffer == nullptr) {
      av_free(buffer);
      return nullptr;
    }
    io.reset(avio_alloc_context(buffer, kBufferBytes, 0, &file, readMemory, nullptr, seekMemory));
    if (!io) {
      av_free(buffer);
      return nullptr;
    }
    AVFormatContext* raw = avformat_alloc_context();
    if (raw == nullptr) return nullptr;
    raw->pb = io.get();
    raw->flags |= AVFMT_FLAG_CUSTOM_IO;
    // Whatever the container refers to is opened under the same rule as for a file.
    AVDictionary* options = nullptr;
    if (av_dict_set(&options, "protocol_whitelist", "file", 0) < 0) {
      avformat_free_context(raw);
      return nullptr;
    }
    // On failure the context is freed and set to null.
    const int opened = avformat_open_input(&raw, nullptr, m4a, &options);
    av_dict_free(&options);
    if (opened < 0) return nullptr;
    input.reset(raw);
    return raw;
  }

 private:
  MemoryFile file;
  std::unique_ptr<AVIOContext, IoContextFreer> io;
  std::unique_ptr<AVFormatContext, InputCloser> input;
};

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
  Converter(const PcmFormat& target, std::int64_t frameLimit)
      : format(target), maxFrames(frameLimit) {
    pcm.channels = format.channels;
    pcm.sampleRate = format.sampleRate;
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() { av_channel_layout_uninit(&inputLayout); }

  void reserve(std::int64_t frames) {
    if (!format.lengthOnly) pcm.samples.reserve(std::size_t(frames * format.channels));
  }

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
    if (format.lengthOnly) {
      // Converted into a scratch buffer and counted, as a kept sound would be.
      scratch.resize(std::size_t(room * format.channels));
      auto* output = reinterpret_cast<std::uint8_t*>(scratch.data());
      const int converted = swr_convert(resampler.get(), &output, room, input, inputFrames);
      if (converted < 0) return false;
      pcm.framesWithoutSamples = have + converted;
      return true;
    }
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
  std::vector<float> scratch;
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

// Decodes the best audio stream of an opened container, from a file or from memory alike.
std::optional<Pcm> decodeInput(AVFormatContext* input, const PcmFormat& format) {
  if (input == nullptr || avformat_find_stream_info(input, nullptr) < 0) return std::nullopt;
  const AVCodec* decoder = nullptr;
  const int streamIndex = av_find_best_stream(input, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
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
    const int read = av_read_frame(input, packet.get());
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
    if (format.lengthOnly) pcm.framesWithoutSamples = statedFrames;
    pcm.samples.resize(std::size_t(statedFrames * format.channels));
  }
  if (pcm.frames() == 0) return std::nullopt;
  return std::move(pcm);
}

// FFmpeg's settings for the whole process, which only decodes sounds with it. The game reports a
// bad file itself, in one message: FFmpeg's own lines would only add noise. A damaged container
// can state table sizes that make the demuxer ask for a gigabyte at once from a file of a few
// kilobytes; no sound within the limits above needs a single block anywhere near this cap, so
// such a request fails and the file is refused like any other damaged one.
void configureLibrary() {
  constexpr std::size_t kMaxLibraryAllocation = std::size_t(64) * 1024 * 1024;
  av_log_set_level(AV_LOG_QUIET);
  av_max_alloc(kMaxLibraryAllocation);
}

}  // namespace

std::optional<Pcm> decodeSoundFile(const std::string& path, const PcmFormat& format) {
  configureLibrary();
  const auto input = openFile(path);
  return decodeInput(input.get(), format);
}

std::optional<Pcm> decodeSoundBytes(const std::uint8_t* data, std::size_t size,
                                    const PcmFormat& format) {
  configureLibrary();
  MemoryInput input({data, std::int64_t(size)});
  return decodeInput(input.open(), format);
}

}  // namespace platform
