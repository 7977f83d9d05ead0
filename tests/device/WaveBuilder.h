#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Builds RIFF/WAVE files byte by byte, including broken ones.
class TWaveBuilder {
  public:
    TWaveBuilder& Header(const char* riff = "RIFF", const char* wave = "WAVE") {
        Id(riff);
        U32(0); // the RIFF size is not read
        Id(wave);
        return *this;
    }
    // A format chunk of `chunkSize` bytes (16 or 18 normally) of 16-bit PCM.
    TWaveBuilder& Format(uint32_t chunkSize = 16, uint16_t channels = 1, uint32_t rate = 22050,
                         uint16_t bits = 16, uint16_t tag = 1) {
        const uint16_t align = uint16_t(channels * bits / 8);
        std::vector<uint8_t> body;
        Put16(body, tag);
        Put16(body, channels);
        Put32(body, rate);
        Put32(body, rate * align);
        Put16(body, align);
        Put16(body, bits);
        Put16(body, 0);
        body.resize(chunkSize, 0);
        return Chunk("fmt ", body);
    }
    TWaveBuilder& Data(const std::vector<uint8_t>& samples) { return Chunk("data", samples); }
    // A chunk with its real body and its pad byte when odd.
    TWaveBuilder& Chunk(const char* id, const std::vector<uint8_t>& body) {
        return ChunkClaiming(id, uint32_t(body.size()), body, body.size() % 2 == 1);
    }
    // A chunk header that claims `size` bytes, followed by `body` (which may be shorter).
    TWaveBuilder& ChunkClaiming(const char* id, uint32_t size, const std::vector<uint8_t>& body,
                                bool pad = false) {
        Id(id);
        U32(size);
        Bytes.insert(Bytes.end(), body.begin(), body.end());
        if (pad) {
            Bytes.push_back(0);
        }
        return *this;
    }
    TWaveBuilder& Raw(const std::vector<uint8_t>& raw) {
        Bytes.insert(Bytes.end(), raw.begin(), raw.end());
        return *this;
    }
    std::vector<uint8_t> Bytes;

    static std::vector<uint8_t> Ramp(size_t count, uint8_t start = 1) {
        std::vector<uint8_t> v(count);
        for (size_t i = 0; i < count; ++i) {
            v[i] = uint8_t(start + i);
        }
        return v;
    }

  private:
    void Id(const char* id) { Bytes.insert(Bytes.end(), id, id + 4); }
    void U32(uint32_t v) { Put32(Bytes, v); }
    static void Put16(std::vector<uint8_t>& out, uint16_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    }
    static void Put32(std::vector<uint8_t>& out, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(uint8_t(v >> (8 * i)));
        }
    }
};
