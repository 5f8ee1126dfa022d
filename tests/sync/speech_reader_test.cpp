// The movie's speech: the cache kept per movie, and the FFmpeg + WebRTC reader on movies that
// ffmpeg makes here, bad ones included.
#include "external/fake_movie_speech.h"
#include "external/ffmpeg/ffmpeg_speech.h"
#include "external/speech_cache.h"
#include "subtitle/runtime_error.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tessaview::testing {
namespace {

namespace fs = std::filesystem;

TEST(SpeechCache, ASecondReadComesFromTheFolderAndAChangedOrDamagedEntryIsReadAgain) {
    const test::TempDir dir;
    const std::string movie = dir.write("film.mkv", "picture and sound");
    FakeMovieSpeech reader;
    reader.profile.frames = {0, 1, 1, 0, 1, 0, 0, 0, 1};  // more than a byte of bits
    CachedMovieSpeech cache(reader, dir.file("cache"));
    std::vector<double> progress;
    const SpeechReadControl control{[&](double done) { progress.push_back(done); }};

    // Reads the movie's speech, which the reader was asked for `asked` times in all.
    const auto read = [&](size_t asked) {
        EXPECT_EQ(cache.ReadSpeech(movie, control).frames, reader.profile.frames);
        EXPECT_EQ(reader.askedFor.size(), asked);
    };
    read(1);
    read(1);
    EXPECT_EQ(progress.back(), 1.0);  // a kept profile still ends the progress

    // The same size but a new time of change: the movie was replaced.
    fs::last_write_time(movie, fs::last_write_time(movie) + std::chrono::seconds(5));
    reader.profile.frames = {1, 1};
    read(2);
    // A damaged entry (cut short) is not trusted.
    fs::resize_file(cache.EntryPath(movie), fs::file_size(cache.EntryPath(movie)) - 1);
    read(3);
    read(3);

    // A cancelled read keeps nothing; a folder that cannot be made still answers.
    const std::string other = dir.write("other.mkv", "x");
    const std::atomic<bool> cancel{true};
    EXPECT_THROW(cache.ReadSpeech(other, {nullptr, &cancel}), SpeechReadCancelled);
    EXPECT_FALSE(fs::exists(cache.EntryPath(other)));
    CachedMovieSpeech nowhere(reader, dir.write("a-file", "") + "/cache");
    EXPECT_EQ(nowhere.ReadSpeech(other, {}).frames, reader.profile.frames);
}

TEST(SpeechCache, KeepsTheNewestEntriesOnly) {
    const test::TempDir dir;
    FakeMovieSpeech reader;
    CachedMovieSpeech cache(reader, dir.file("cache"), 2);
    const std::string a = dir.write("a.mkv", "a"), b = dir.write("b.mkv", "b"), c = dir.write("c.mkv", "c");
    cache.ReadSpeech(a, {});
    cache.ReadSpeech(b, {});
    const auto now = fs::file_time_type::clock::now();
    fs::last_write_time(cache.EntryPath(a), now - std::chrono::hours(1));
    fs::last_write_time(cache.EntryPath(b), now - std::chrono::hours(2));
    cache.ReadSpeech(c, {});
    EXPECT_FALSE(fs::exists(cache.EntryPath(b)));
    EXPECT_TRUE(fs::exists(cache.EntryPath(a)));
    EXPECT_TRUE(fs::exists(cache.EntryPath(c)));
}

TEST(MovieSpeechReader, HearsSpeechWhereItIsAndSaysWhyABadMovieCannotBeRead) {
    const test::TempDir dir;
    // A second of silence, a spoken line, a second and a half of silence; the sound starts a
    // second after the picture, so the line is heard from 2 s on the movie's clock.
    const std::string movie = dir.file("line.mkv"), mute = dir.file("mute.mkv"), line = dir.file("line.wav");
    const std::string make = "espeak-ng -w " + line + " 'the keys were under the lamp, we never said that' && sox " +
                             line + " " + dir.file("padded.wav") +
                             " pad 1 1.5 && ffmpeg -loglevel error -nostdin -f lavfi -i color=s=32x32:r=5:d=6 "
                             "-itsoffset 1 -i " +
                             dir.file("padded.wav") + " -c:v mpeg4 -c:a ac3 " + movie +
                             " && ffmpeg -loglevel error -nostdin -f lavfi -i color=s=32x32:r=5:d=2 -c:v mpeg4 " + mute;
    ASSERT_EQ(std::system(make.c_str()), 0) << make;

    const auto reader = CreateFfmpegMovieSpeech();
    std::vector<double> progress;
    const SpeechProfile profile = reader->ReadSpeech(movie, {[&](double done) { progress.push_back(done); }});
    EXPECT_NEAR(static_cast<double>(profile.DurationMs()), 6400, 300);  // to the sound's end
    const auto speechAt = [&](int ms) { return profile.frames.at(static_cast<size_t>(ms / 10)); };
    EXPECT_EQ(speechAt(1800), 0);
    EXPECT_EQ(speechAt(2300), 1);
    EXPECT_EQ(speechAt(4000), 1);
    EXPECT_EQ(speechAt(5200), 0);
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 1.0);

    const std::atomic<bool> cancel{true};
    EXPECT_THROW(reader->ReadSpeech(movie, {nullptr, &cancel}), SpeechReadCancelled);
    EXPECT_EQ(test::errorOf([&] { reader->ReadSpeech(mute, {}); }),
              "The movie " + mute + " has no sound to synchronise to.");
    const std::string text = dir.write("notes.mkv", "not a movie at all\n");
    EXPECT_EQ(test::errorOf([&] { reader->ReadSpeech(text, {}); }).rfind("Cannot read the movie " + text + ": ", 0),
              0u);
    EXPECT_EQ(test::errorOf([&] { reader->ReadSpeech(dir.file("gone.mkv"), {}); }).rfind("Cannot read the movie ", 0),
              0u);
}

}  // namespace
}  // namespace tessaview::testing
