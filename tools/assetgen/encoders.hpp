#pragma once
// File encoders: every asset ends up as the bytes of one of these formats.
#include <cstdint>
#include <vector>

namespace gen {

using Bytes = std::vector<uint8_t>;

// 8-bit RGBA rows (straight alpha) to PNG.
Bytes encodePng(int width, int height, const std::vector<uint8_t>& rgba);

// 8-bit RGB rows to a baseline JPEG without chroma subsampling.
Bytes encodeJpeg(int width, int height, const std::vector<uint8_t>& rgb, int quality);

// Interleaved float samples in [-1, 1] to RIFF WAVE, 16-bit PCM.
Bytes encodeWav(const std::vector<float>& interleaved, int channels, int sampleRate);

// Stereo float samples to Ogg Vorbis (VBR at the given quality, -0.1 .. 1).
// The stream serial number is fixed, so equal input gives equal bytes.
Bytes encodeOggVorbis(const std::vector<float>& left, const std::vector<float>& right, int sampleRate, float quality);

}  // namespace gen
