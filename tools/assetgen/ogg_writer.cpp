// Ogg Vorbis output through libvorbisenc.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <stdexcept>

#include "encoders.hpp"

namespace gen {
namespace {

constexpr int kSerial = 0x4f564c55;  // fixed stream serial: reproducible bytes
constexpr long kBlock = 4096;        // samples handed to the encoder per call

void appendPage(Bytes& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

Bytes encodeOggVorbis(const std::vector<float>& left, const std::vector<float>& right, int sampleRate, float quality) {
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, 2, sampleRate, quality) != 0) {
    vorbis_info_clear(&vi);
    throw std::runtime_error("vorbisenc: unsupported mode");
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "TITLE", "Ovelune");
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, kSerial);

  Bytes out;
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page page;
  // The audio must start on a fresh page after the headers.
  while (ogg_stream_flush(&os, &page) != 0) appendPage(out, page);

  auto drain = [&] {
    ogg_packet packet;
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      while (vorbis_bitrate_flushpacket(&vd, &packet) != 0) {
        ogg_stream_packetin(&os, &packet);
        while (ogg_stream_pageout(&os, &page) != 0) appendPage(out, page);
      }
    }
  };

  const long total = static_cast<long>(left.size());
  for (long pos = 0; pos < total; pos += kBlock) {
    const long n = std::min(kBlock, total - pos);
    float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
    std::copy(left.begin() + pos, left.begin() + pos + n, buffer[0]);
    std::copy(right.begin() + pos, right.begin() + pos + n, buffer[1]);
    vorbis_analysis_wrote(&vd, static_cast<int>(n));
    drain();
  }
  // A zero-length write marks the end of the stream; then flush every page.
  vorbis_analysis_wrote(&vd, 0);
  drain();
  while (ogg_stream_flush(&os, &page) != 0) appendPage(out, page);

  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

}  // namespace gen
