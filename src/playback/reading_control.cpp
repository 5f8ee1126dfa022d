// The transcript's upkeep, the line keys and the pause after each line.
#include "playback/reading_control.h"

#include "external/movie_engine.h"
#include "playback/movie_fields.h"
#include "playback/player_keys.h"
#include "playback/second_subtitle.h"
#include "presentation/code_page_decoder.h"
#include "presentation/subtitle_markup.h"
#include "presentation/transcript_filter.h"
#include "presentation/transcript_model.h"
#include "presentation/transcript_panel.h"
#include "subtitle/subtitle_core.h"
#include "sync/heard_line.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <algorithm>
#include <cmath>

namespace tessaview {

namespace {

// A line that lasts longer than this (an endless one) is not waited for.
constexpr int64_t LongestWaitMs = 24LL * 3600 * 1000;
// The pause timer may fire a little before the clock has reached the end; within this many
// frames of it the line has ended as far as anyone can see.
constexpr int32_t EndToleranceFrames = 1;

}  // namespace

ReadingControl::ReadingControl(MovieEngine& engine, SubtitleCore& core, VobSubLibrary& vobsub,
                               const MovieFields& fields, TranscriptPanel& panel, ReadingWindow window)
    : engine_(engine), core_(core), vobsub_(vobsub), fields_(fields), panel_(panel), window_(std::move(window)) {
    pauseTimer_.setSingleShot(true);
    pauseTimer_.setTimerType(Qt::PreciseTimer);
    connect(&pauseTimer_, &QTimer::timeout, this, [this] { OnPauseTimer(); });
    panel_.Model().SetTimeText([this](int line) { return TimeText(line); });
}

// The panel outlives this: it must not ask for times here any more.
ReadingControl::~ReadingControl() { panel_.Model().SetTimeText({}); }

ReadingControl::LinesKey ReadingControl::CurrentLinesKey() const {
    return {core_.ListGeneration(), core_.SubIsVobSub, vobsubGeneration_, core_.MovieFrameRate, core_.SubIsTimeBased};
}

ClockOffsets ReadingControl::Offsets() const {
    return {fields_.ContinuedOffset, window_.syncOffset(), core_.MovieFrameRate};
}

int32_t ReadingControl::ClockNow() {
    int32_t position = 0;
    engine_.GetPos(position);
    return ClockPosition(position, Offsets());
}

const std::vector<VobSubPictureTime>& ReadingControl::Pictures() {
    if (picturesGeneration_ != vobsubGeneration_) {
        pictures_ = vobsub_.PictureTimes();
        picturesGeneration_ = vobsubGeneration_;
    }
    return pictures_;
}

const SubtitleLines& ReadingControl::Lines() {
    const LinesKey key = CurrentLinesKey();
    if (linesKey_ != key) {
        lines_.Assign(core_.SubIsVobSub ? PictureLineSpans(Pictures(), core_.MovieFrameRate) : TextLineSpans(core_));
        linesKey_ = key;
    }
    return lines_;
}

std::optional<size_t> ReadingControl::LineOnScreen(int32_t clockPosition) {
    const SubtitleLines& lines = Lines();
    if (core_.SubIsVobSub) {
        const std::optional<size_t> line = lines.LastStartedBy(clockPosition);
        if (line && lines[*line].end >= clockPosition) return line;
        return std::nullopt;
    }
    // The very lookup the clock makes, so that of overlapping cues the one shown is meant.
    const std::string& text = core_.FindSubtitleText(clockPosition);
    if (text.empty()) return std::nullopt;
    for (const size_t line : lines.StartingAt(core_.LastSpanStart))
        if (lines[line].end == core_.LastSpanEnd && core_.SubList[line]->Text == text) return line;
    return std::nullopt;
}

void ReadingControl::BuildTexts() {
    std::vector<QString> texts;
    rowMs_.clear();
    if (core_.SubIsVobSub) {
        for (const VobSubPictureTime& picture : Pictures()) {
            texts.push_back(QStringLiteral("[picture]"));
            rowMs_.push_back(picture.startMs);
        }
    } else {
        const CodePageDecoder decoder(window_.charSet(), core_.CueCodePage());
        texts.reserve(core_.SubList.size());
        rowMs_.reserve(core_.SubList.size());
        for (const auto& cue : core_.SubList) {
            texts.push_back(OneLinePlainText(decoder.Decode(cue->Text)));
            rowMs_.push_back(core_.SubIsTimeBased ? std::optional(cue->StartTime) : std::nullopt);
        }
    }
    std::vector<QString> secondTexts;
    const bool withSecond = second_ && second_->Loaded() && !core_.SubIsVobSub;
    if (withSecond) {
        // The second subtitle's line that shows as each line starts, offsets aside.
        const CodePageDecoder decoder(window_.charSet(), second_->Core.CueCodePage());
        secondTexts.reserve(core_.SubList.size());
        for (const auto& cue : core_.SubList)
            secondTexts.push_back(OneLinePlainText(
                decoder.Decode(second_->TextAt(core_.SpanToPosition(cue->StartTime), core_.MovieFrameRate, false))));
    }
    panel_.ShowSecondColumn(withSecond);
    TranscriptModel& model = panel_.Model();
    model.SetLines(std::move(texts), std::move(secondTexts));
    model.SetFilter(panel_.edFind->text());
}

QString ReadingControl::TimeText(int line) {
    if (line < 0) return {};
    const auto row = static_cast<size_t>(line);
    const ClockOffsets offsets = Offsets();
    const SubtitleLines& lines = Lines();
    if (core_.EngineFrameRate > 0 && core_.MovieFrameRate > 0 && row < lines.size())
        return QString::fromStdString(LineTimeText(lines[row].start, offsets, core_.EngineFrameRate));
    if (row < rowMs_.size() && rowMs_[row]) return QString::fromStdString(LineTimeTextFromMs(*rowMs_[row], offsets));
    return {};
}

void ReadingControl::Refresh() {
    if (!panel_.isVisible()) return;
    const bool withSecond = second_ && second_->Loaded();
    const TextsKey texts{core_.ListGeneration(),
                         core_.SubIsVobSub,
                         vobsubGeneration_,
                         window_.charSet(),
                         core_.CueCodePage(),
                         withSecond ? second_->Core.ListGeneration() : 0,
                         withSecond ? core_.MovieFrameRate : 0.0};
    if (textsKey_ != texts) {
        BuildTexts();
        textsKey_ = texts;
        timesKey_.reset();
    }
    const TimesKey times{CurrentLinesKey(), core_.EngineFrameRate, fields_.ContinuedOffset, window_.syncOffset()};
    if (timesKey_ != times) {
        panel_.Model().TimesChanged();
        timesKey_ = times;
    }
}

void ReadingControl::Tick(int32_t clockPosition) {
    std::optional<size_t> line;
    if (pauseAfterLine_ || panel_.isVisible()) line = LineOnScreen(clockPosition);
    if (panel_.isVisible()) {
        Refresh();
        panel_.ShowCurrentLine(line ? static_cast<int>(*line) : -1);
    }

    if (!pauseAfterLine_ || !window_.moviePlaying()) {
        pauseTimer_.stop();
        armedLine_.reset();
        lastClock_ = clockPosition;
        return;
    }
    // Gone back (a seek, a key): the line may be paused after once more.
    if (clockPosition < lastClock_ || !line || line != doneLine_) doneLine_.reset();
    lastClock_ = clockPosition;
    if (!line || line == doneLine_) {
        pauseTimer_.stop();
        armedLine_.reset();
        return;
    }
    if (armedLine_ == line) return;
    // The clock looks only every 100 ms: a timer of the line's remaining time finds its end.
    const int64_t frames = int64_t{Lines()[*line].end} - clockPosition;
    const double rate = core_.EngineFrameRate;
    if (!(rate > 0)) return;
    const auto ms = static_cast<int64_t>(static_cast<double>(frames) * 1000.0 / rate);
    if (ms > LongestWaitMs) return;
    armedLine_ = line;
    pauseTimer_.start(static_cast<int>(std::max<int64_t>(0, ms)));
}

void ReadingControl::OnPauseTimer() {
    if (!armedLine_ || !pauseAfterLine_ || !window_.moviePlaying()) return;
    const size_t line = *armedLine_;
    const SubtitleLines& lines = Lines();
    if (line >= lines.size()) return;
    const LineSpan span = lines[line];
    const int32_t now = ClockNow();
    const double rate = core_.EngineFrameRate;
    if (now < span.start || !(rate > 0)) {  // moved away before the clock saw it
        armedLine_.reset();
        return;
    }
    const int64_t left = int64_t{span.end} - now;
    if (left > EndToleranceFrames) {  // paused and gone on between two ticks: wait the rest
        pauseTimer_.start(static_cast<int>(static_cast<double>(left) * 1000.0 / rate));
        return;
    }
    if (static_cast<double>(-left) > rate) {  // a second past its end: this is elsewhere
        armedLine_.reset();
        return;
    }
    armedLine_.reset();
    doneLine_ = line;
    window_.pauseMovie();
}

void ReadingControl::SetPauseAfterLine(bool on) {
    pauseAfterLine_ = on;
    if (!on) {
        pauseTimer_.stop();
        armedLine_.reset();
        doneLine_.reset();
    }
}

void ReadingControl::JumpTo(size_t line) {
    const SubtitleLines& lines = Lines();
    if (line >= lines.size()) return;
    const int32_t target = SeekTarget(EnginePosition(lines[line].start, Offsets()), 0, fields_.MovieDuration);
    engine_.SetPos(target);
    pauseTimer_.stop();
    armedLine_.reset();
    doneLine_.reset();
    window_.tick();
}

void ReadingControl::NextLine() {
    if (!window_.movieOpen()) return;
    if (const std::optional<size_t> line = Lines().NextAfter(ClockNow())) JumpTo(*line);
}

void ReadingControl::PreviousLine() {
    if (!window_.movieOpen()) return;
    const int32_t now = ClockNow();
    const std::optional<size_t> current = LineOnScreen(now);
    const SubtitleLines& lines = Lines();
    if (const std::optional<size_t> line = lines.PreviousBefore(current ? lines[*current].start : now)) JumpTo(*line);
}

void ReadingControl::RepeatLine() {
    if (!window_.movieOpen()) return;
    const int32_t now = ClockNow();
    std::optional<size_t> line = LineOnScreen(now);
    if (!line) line = Lines().LastStartedBy(now);
    if (line) JumpTo(*line);
}

void ReadingControl::CopyLine() {
    if (!window_.movieOpen() || core_.SubIsVobSub) return;
    const std::string& text = core_.FindSubtitleText(ClockNow());
    if (text.empty()) return;
    const QString plain = PlainText(CodePageDecoder(window_.charSet(), core_.CueCodePage()).Decode(text));
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(plain);
}

void ReadingControl::GoToLine(int line) {
    if (line < 0 || !window_.movieOpen()) return;
    JumpTo(static_cast<size_t>(line));
}

void ReadingControl::FindStep(bool forward) {
    const TranscriptModel& model = panel_.Model();
    if (model.Filter().isEmpty()) return;
    const std::vector<int>& matches = model.Matches();
    std::vector<int32_t> keys;
    keys.reserve(matches.size());
    if (window_.movieOpen()) {
        // By time, from where the movie is: after the position, or before the line on screen.
        const SubtitleLines& lines = Lines();
        for (const int line : matches)
            keys.push_back(static_cast<size_t>(line) < lines.size() ? lines[static_cast<size_t>(line)].start : 0);
        const int32_t now = ClockNow();
        const std::optional<size_t> current = forward ? std::nullopt : LineOnScreen(now);
        const std::optional<size_t> step = StepMatch(keys, current ? Lines()[*current].start : now, forward);
        if (!step) return;
        const int line = matches[*step];
        panel_.SelectLine(line);
        JumpTo(static_cast<size_t>(line));
        return;
    }
    // Without a movie, through the list from its current row.
    keys.assign(matches.begin(), matches.end());
    const int selected = panel_.SelectedLine();
    const int32_t reference = selected >= 0 ? selected : (forward ? -1 : model.LineCount());
    if (const std::optional<size_t> step = StepMatch(keys, reference, forward)) panel_.SelectLine(matches[*step]);
}

int64_t ReadingControl::StartMs(size_t line) const {
    const int32_t start = core_.SubList[line]->StartTime;
    return core_.SubIsTimeBased ? start : std::llround(static_cast<double>(start) * 1000.0 / core_.MovieFrameRate);
}

bool ReadingControl::HeardNowAvailable() {
    return window_.movieOpen() && !core_.SubIsVobSub && !core_.SubList.empty() && core_.MovieFrameRate > 0;
}

void ReadingControl::HeardNow(int line) {
    if (line < 0 || static_cast<size_t>(line) >= core_.SubList.size() || !HeardNowAvailable()) return;
    const auto row = static_cast<size_t>(line);
    // The clock's frame in the cue times' milliseconds: the line starts exactly at that frame.
    const int64_t now = std::llround(static_cast<double>(ClockNow()) * 1000.0 / core_.MovieFrameRate);
    const HeardLine latest{StartMs(row), now};
    std::optional<HeardLine> earlier;
    if (heard_ && heard_->generation == core_.ListGeneration() && heard_->line < core_.SubList.size() &&
        heard_->line != row)
        earlier = HeardLine{StartMs(heard_->line), heard_->movieMs};
    const SyncResult result = FitHeardLines(earlier, latest);
    window_.applySync(result);
    heard_ = HeardAnchor{row, now, core_.ListGeneration()};
    engine_.ShowText(DescribeHeard(result, latest.cueMs));
    window_.tick();  // the line on screen and the transcript's times at once
}

}  // namespace tessaview
