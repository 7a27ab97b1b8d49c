// Encoding the loop with libvorbisenc into an Ogg stream held in memory.
#include <algorithm>
#include <cstring>

#include <vorbis/vorbisenc.h>

#include "tools/musicgen/music.h"

namespace {

// A fixed stream serial number: the file must be the same bytes every time.
constexpr int kSerial = 0x4475736b;
// Variable bit rate, quality 0.4 of 1 (about 128 kbit/s for stereo): clean
// for soft, sustained music and well inside the size the game allows.
constexpr float kQuality = 0.4f;
// Frames handed to the encoder at a time.
constexpr size_t kChunk = 4096;

void Append(std::vector<uint8_t>* out, const ogg_page& page) {
  out->insert(out->end(), page.header, page.header + page.header_len);
  out->insert(out->end(), page.body, page.body + page.body_len);
}

// Moves every finished packet from the analyser into the stream and every
// full page into the output.
void Drain(vorbis_dsp_state* vd, vorbis_block* vb, ogg_stream_state* os,
           std::vector<uint8_t>* out) {
  ogg_packet packet;
  ogg_page page;
  while (vorbis_analysis_blockout(vd, vb) == 1) {
    vorbis_analysis(vb, nullptr);
    vorbis_bitrate_addblock(vb);
    while (vorbis_bitrate_flushpacket(vd, &packet) == 1) {
      ogg_stream_packetin(os, &packet);
      while (ogg_stream_pageout(os, &page) != 0) Append(out, page);
    }
  }
}

}  // namespace

std::vector<uint8_t> EncodeOggVorbis(const StereoPcm& pcm) {
  std::vector<uint8_t> out;
  const size_t frames = std::min(pcm.left.size(), pcm.right.size());
  if (frames == 0) return out;

  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, 2, kMusicRate, kQuality) != 0) {
    vorbis_info_clear(&vi);
    return out;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "TITLE", "Lanterns at Dusk");
  vorbis_comment_add_tag(&vc, "ARTIST", "The Duskmatch team");
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, kSerial);

  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  // The headers end on a page of their own, as decoders expect.
  ogg_page page;
  while (ogg_stream_flush(&os, &page) != 0) Append(&out, page);

  for (size_t done = 0; done < frames; done += kChunk) {
    size_t n = std::min(kChunk, frames - done);
    float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
    std::memcpy(buffer[0], pcm.left.data() + done, n * sizeof(float));
    std::memcpy(buffer[1], pcm.right.data() + done, n * sizeof(float));
    vorbis_analysis_wrote(&vd, static_cast<int>(n));
    Drain(&vd, &vb, &os, &out);
  }
  // The end of the stream: libvorbis gives the last page the granule
  // position of the last real frame, which tells the decoder to drop the
  // padding of the final block, so the stream decodes to exactly `frames`.
  vorbis_analysis_wrote(&vd, 0);
  Drain(&vd, &vb, &os, &out);
  while (ogg_stream_flush(&os, &page) != 0) Append(&out, page);

  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}
