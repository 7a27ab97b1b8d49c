// Builders for the sound tests' input data.
#include "tests/engine/sound/sound_samples.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>
#include <vorbis/vorbisenc.h>

#include "engine/sound/sound.h"
#include "engine/system/file.h"
#include "tests/support/environment.h"

namespace {

void AppendPage(const ogg_page& page, std::vector<uint8_t>* out) {
  out->insert(out->end(), page.header, page.header + page.header_len);
  out->insert(out->end(), page.body, page.body + page.body_len);
}

void PutU16(std::vector<uint8_t>* out, uint32_t v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>* out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

void PutChunk(std::vector<uint8_t>* out, const std::string& name, const std::vector<uint8_t>& bytes) {
  out->insert(out->end(), name.begin(), name.end());
  PutU32(out, static_cast<uint32_t>(bytes.size()));
  out->insert(out->end(), bytes.begin(), bytes.end());
  if (bytes.size() % 2 != 0) out->push_back(0);
}

}  // namespace

std::vector<uint8_t> EncodeSineOgg(int channels, int rate, int frames, double freq, double amplitude) {
  vorbis_info vi;
  vorbis_info_init(&vi);
  vorbis_encode_init_vbr(&vi, channels, rate, 0.5f);
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 7);

  std::vector<uint8_t> out;
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page page;
  while (ogg_stream_flush(&os, &page) != 0) AppendPage(page, &out);

  const double pi = std::acos(-1.0);
  int done = 0;
  while (true) {
    int n = std::min(1024, frames - done);
    if (n > 0) {
      float** buffer = vorbis_analysis_buffer(&vd, n);
      for (int i = 0; i < n; ++i) {
        float v = static_cast<float>(amplitude * std::sin(2 * pi * freq * (done + i) / rate));
        for (int c = 0; c < channels; ++c) buffer[c][i] = v;
      }
      done += n;
    }
    vorbis_analysis_wrote(&vd, n > 0 ? n : 0);
    ogg_packet packet;
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      while (vorbis_bitrate_flushpacket(&vd, &packet) != 0) {
        ogg_stream_packetin(&os, &packet);
        while (ogg_stream_pageout(&os, &page) != 0) AppendPage(page, &out);
      }
    }
    if (n <= 0) break;
  }
  while (ogg_stream_flush(&os, &page) != 0) AppendPage(page, &out);
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

std::vector<uint8_t> MakeWav(int channels, int rate, int bits, const std::vector<uint8_t>& data,
                             const std::vector<WavChunk>& before_fmt,
                             const std::vector<WavChunk>& before_data) {
  std::vector<uint8_t> body = {'W', 'A', 'V', 'E'};
  for (const WavChunk& c : before_fmt) PutChunk(&body, c.name, c.bytes);
  std::vector<uint8_t> fmt;
  PutU16(&fmt, 1);
  PutU16(&fmt, static_cast<uint32_t>(channels));
  PutU32(&fmt, static_cast<uint32_t>(rate));
  PutU32(&fmt, static_cast<uint32_t>(rate * channels * bits / 8));
  PutU16(&fmt, static_cast<uint32_t>(channels * bits / 8));
  PutU16(&fmt, static_cast<uint32_t>(bits));
  PutChunk(&body, "fmt ", fmt);
  for (const WavChunk& c : before_data) PutChunk(&body, c.name, c.bytes);
  PutChunk(&body, "data", data);
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
  PutU32(&out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

std::vector<uint8_t> Pcm16Bytes(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> out;
  for (int16_t s : samples) PutU16(&out, static_cast<uint16_t>(s));
  return out;
}

std::vector<int16_t> ReadCapture(const std::string& path) {
  // The output writes the mix as it is, in the machine's byte order.
  std::vector<uint8_t> bytes;
  if (!file_read_all(path, &bytes)) return {};
  std::vector<int16_t> out(bytes.size() / 2);
  std::memcpy(out.data(), bytes.data(), out.size() * 2);
  return out;
}

void SetOggRate(std::vector<uint8_t>* ogg, uint32_t rate) {
  // The first page holds the identification header alone: 27 bytes of page
  // header, one lacing value, then "\x01vorbis", version, channels, rate.
  std::vector<uint8_t>& b = *ogg;
  ASSERT_GE(b.size(), 58u);
  ASSERT_EQ(b[26], 1);
  ASSERT_EQ(std::memcmp(&b[28], "\x01vorbis", 7), 0);
  for (int i = 0; i < 4; ++i) b[40 + static_cast<size_t>(i)] = static_cast<uint8_t>(rate >> (8 * i));
  ogg_page page;
  page.header = &b[0];
  page.header_len = 28;
  page.body = &b[28];
  page.body_len = b[27];
  ogg_page_checksum_set(&page);
}

DiskOutput::DiskOutput(const std::string& path, int delay_ms) : path_(path) {
  test_env::Set("SDL_AUDIODRIVER", "disk");
  test_env::Set("SDL_DISKAUDIOFILE", path.c_str());
#ifdef _WIN32
  // SDL's environment reads on Windows share one buffer: the disk output
  // reads its delay after its file name and would write to a file named by
  // the delay. There it keeps its own pace.
  delay_ms = -1;
#endif
  std::string delay = std::to_string(delay_ms);
  test_env::Set("SDL_DISKAUDIODELAY", delay_ms >= 0 ? delay.c_str() : nullptr);
  started_ = sound_system_start() != 0;
}

DiskOutput::~DiskOutput() {
  sound_system_stop();
  test_env::Set("SDL_DISKAUDIODELAY", nullptr);
}

void DiskOutput::WaitFrames(long frames) {
  uintmax_t target = Size() + static_cast<uintmax_t>(frames) * 4;
  for (int i = 0; i < 1000 && Size() < target; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

std::vector<int16_t> DiskOutput::Finish() {
  sound_system_stop();
  return ReadCapture(path_);
}

uintmax_t DiskOutput::Size() const {
  std::error_code error;
  uintmax_t size = std::filesystem::file_size(path_, error);
  return error ? 0 : size;
}
