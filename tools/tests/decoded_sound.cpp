#include "decoded_sound.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <memory>
#include <stdexcept>

namespace {

struct FormatCloser {
  void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};
struct CodecFreer {
  void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct PacketFreer {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFreer {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};

void appendFrame(DecodedSound& sound, const AVFrame& frame) {
  const auto format = static_cast<AVSampleFormat>(frame.format);
  for (int i = 0; i < frame.nb_samples; ++i) {
    for (int channel = 0; channel < sound.channels; ++channel) {
      if (format == AV_SAMPLE_FMT_FLTP) {
        sound.samples.push_back(reinterpret_cast<const float*>(frame.extended_data[channel])[i]);
      } else if (format == AV_SAMPLE_FMT_FLT) {
        sound.samples.push_back(
            reinterpret_cast<const float*>(frame.data[0])[i * sound.channels + channel]);
      } else {
        throw std::runtime_error("decoder gave an unexpected sample format");
      }
    }
  }
}

void receiveFrames(AVCodecContext* codec, AVFrame* frame, DecodedSound& sound) {
  while (avcodec_receive_frame(codec, frame) == 0) {
    appendFrame(sound, *frame);
    av_frame_unref(frame);
  }
}

}  // namespace

DecodedSound decodeSound(const std::filesystem::path& file) {
  AVFormatContext* rawFormat = nullptr;
  if (avformat_open_input(&rawFormat, file.c_str(), nullptr, nullptr) != 0) {
    throw std::runtime_error("cannot open " + file.string());
  }
  std::unique_ptr<AVFormatContext, FormatCloser> format(rawFormat);
  if (avformat_find_stream_info(format.get(), nullptr) < 0)
    throw std::runtime_error("no stream info");
  const AVCodec* decoder = nullptr;
  const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
  if (stream < 0) throw std::runtime_error("no audio stream in " + file.string());

  std::unique_ptr<AVCodecContext, CodecFreer> codec(avcodec_alloc_context3(decoder));
  avcodec_parameters_to_context(codec.get(), format->streams[stream]->codecpar);
  if (avcodec_open2(codec.get(), decoder, nullptr) != 0)
    throw std::runtime_error("cannot open decoder");

  DecodedSound sound;
  sound.sampleRate = codec->sample_rate;
  sound.channels = codec->ch_layout.nb_channels;
  // The stream states its length in samples; the file's overall duration is rounded to ms.
  const AVStream* audio = format->streams[stream];
  sound.containerSeconds = audio->duration > 0
                               ? static_cast<double>(audio->duration) * av_q2d(audio->time_base)
                               : static_cast<double>(format->duration) / AV_TIME_BASE;

  std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
  std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
  while (av_read_frame(format.get(), packet.get()) == 0) {
    if (packet->stream_index == stream && avcodec_send_packet(codec.get(), packet.get()) == 0) {
      receiveFrames(codec.get(), frame.get(), sound);
    }
    av_packet_unref(packet.get());
  }
  avcodec_send_packet(codec.get(), nullptr);
  receiveFrames(codec.get(), frame.get(), sound);
  return sound;
}
