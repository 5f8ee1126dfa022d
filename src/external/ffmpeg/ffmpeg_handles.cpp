// How each owned FFmpeg object is released.
#include "external/ffmpeg/ffmpeg_handles.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

namespace tessaview {

void FormatContextDeleter::operator()(AVFormatContext* context) const { avformat_close_input(&context); }
void CodecContextDeleter::operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
void PacketDeleter::operator()(AVPacket* packet) const { av_packet_free(&packet); }
void DictionaryDeleter::operator()(AVDictionary* dictionary) const { av_dict_free(&dictionary); }

}  // namespace tessaview
