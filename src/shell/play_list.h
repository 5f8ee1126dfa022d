// The play list: entries of lbPlayList (caption = full movie path, shown as its file name;
// state mark 1 playing, 2 paused, -1 none) and every operation on them.
#pragma once

#include <QIcon>
#include <optional>
#include <string>
#include <vector>

class QTreeWidget;

namespace tessaview {

inline constexpr int MarkNone = -1;
inline constexpr int MarkPlaying = 1;
inline constexpr int MarkPaused = 2;

class PlayList {
public:
    explicit PlayList(QTreeWidget* lbPlayList);

    int Count() const;
    std::string Caption(int index) const;
    int Mark(int index) const;
    void SetMark(int index, int mark);
    void Insert(int index, const std::string& caption, int mark = MarkNone);
    void Append(const std::string& caption, int mark = MarkNone) { Insert(Count(), caption, mark); }
    void Remove(int index);
    std::vector<std::string> Captions() const;

    // Movie control's marks. Captions compare with the movie name exactly.
    void MarkPlayingEntry(const std::string& MovieFileName);  // appends it when missing
    void TogglePauseMark(const std::string& MovieFileName);
    void ClearPlayMarks();
    // Caption of the entry after the first one marked playing; empty when there is none.
    std::optional<std::string> EntryAfterPlaying() const;
    // Caption of the entry before it; empty when there is none.
    std::optional<std::string> EntryBeforePlaying() const;

    // Commands.
    void AddFiles(const std::vector<std::string>& files);  // stops at the first listed one
    void DeleteFromPlayList();                             // selected entries without a mark
    void MoveUpInPlayList();
    void MoveDownInPlayList();
    std::optional<std::string> FirstSelected() const;

private:
    int FirstSelectedIndex() const;
    void MoveFirstSelected(int insertAt);

    QTreeWidget* view_;
    // Made once: the view caches every icon's pictures under the icon's own key, so a new
    // icon at each mark would leave new pictures behind at each movie.
    QIcon playingIcon_;
    QIcon pausedIcon_;
};

}  // namespace tessaview
