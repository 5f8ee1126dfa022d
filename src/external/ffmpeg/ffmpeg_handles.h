// Owning handles for the FFmpeg objects this library uses; the types stay forward-declared.
#pragma once

#include <memory>

struct AVFormatContext;
struct AVCodecContext;
struct AVPacket;
struct AVDictionary;

namespace tessaview {

struct FormatContextDeleter {
    void operator()(AVFormatContext* context) const;
};
struct CodecContextDeleter {
    void operator()(AVCodecContext* context) const;
};
struct PacketDeleter {
    void operator()(AVPacket* packet) const;
};
struct DictionaryDeleter {
    void operator()(AVDictionary* dictionary) const;
};

using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using DictionaryPtr = std::unique_ptr<AVDictionary, DictionaryDeleter>;

}  // namespace tessaview
