// The play list's operations over its list view.
#include "shell/play_list.h"

#include "platform/local_file_names.h"
#include "shell/tool_pictures.h"

#include <QPixmap>
#include <QTreeWidget>

namespace tessaview {

namespace {
constexpr int MarkRole = Qt::UserRole + 1;
// The caption as the file name's bytes; the shown text may have lost some of them.
constexpr int NameRole = Qt::UserRole + 2;

// An entry without a mark keeps the mark's room, so all captions start at one edge and all
// rows have one height.
QIcon NoMarkPicture() {
    static const QIcon blank = [] {
        QPixmap pixmap(ToolPictureSize, ToolPictureSize);
        pixmap.fill(Qt::transparent);
        return QIcon(pixmap);
    }();
    return blank;
}
}  // namespace

PlayList::PlayList(QTreeWidget* lbPlayList)
    : view_(lbPlayList), playingIcon_(ToolIcon(PicturePlay)), pausedIcon_(ToolIcon(PicturePause)) {}

int PlayList::Count() const { return view_->topLevelItemCount(); }

std::string PlayList::Caption(int index) const {
    return view_->topLevelItem(index)->data(0, NameRole).toByteArray().toStdString();
}

int PlayList::Mark(int index) const { return view_->topLevelItem(index)->data(0, MarkRole).toInt(); }

void PlayList::SetMark(int index, int mark) {
    QTreeWidgetItem* item = view_->topLevelItem(index);
    if (item->data(0, MarkRole).toInt() == mark) return;
    item->setData(0, MarkRole, mark);
    item->setIcon(0, mark == MarkPlaying ? playingIcon_ : mark == MarkPaused ? pausedIcon_ : NoMarkPicture());
}

void PlayList::Insert(int index, const std::string& caption, int mark) {
    // The file name tells entries apart; full paths cut at the right all look alike.
    const QString path = DisplayFileName(caption);
    auto* item = new QTreeWidgetItem(QStringList(path.section('/', -1)));
    item->setToolTip(0, path);
    item->setData(0, NameRole, QByteArray(caption.data(), static_cast<qsizetype>(caption.size())));
    item->setData(0, MarkRole, MarkNone);
    item->setIcon(0, NoMarkPicture());
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    view_->insertTopLevelItem(index, item);
    SetMark(index, mark);
}

void PlayList::Remove(int index) { delete view_->takeTopLevelItem(index); }

std::vector<std::string> PlayList::Captions() const {
    std::vector<std::string> captions;
    captions.reserve(Count());
    for (int i = 0; i < Count(); ++i) captions.push_back(Caption(i));
    return captions;
}

void PlayList::MarkPlayingEntry(const std::string& MovieFileName) {
    bool found = false;
    for (int i = 0; i < Count(); ++i) {
        const bool same = Caption(i) == MovieFileName;
        found = found || same;
        SetMark(i, same ? MarkPlaying : MarkNone);
    }
    if (!found) Append(MovieFileName, MarkPlaying);
}

void PlayList::TogglePauseMark(const std::string& MovieFileName) {
    for (int i = 0; i < Count(); ++i) {
        if (Caption(i) != MovieFileName) continue;
        SetMark(i, Mark(i) == MarkPlaying ? MarkPaused : MarkPlaying);
        return;
    }
}

void PlayList::ClearPlayMarks() {
    for (int i = 0; i < Count(); ++i) SetMark(i, MarkNone);
}

std::optional<std::string> PlayList::EntryAfterPlaying() const {
    for (int i = 0; i < Count(); ++i) {
        if (Mark(i) != MarkPlaying) continue;
        if (i + 1 >= Count()) return std::nullopt;
        return Caption(i + 1);
    }
    return std::nullopt;
}

std::optional<std::string> PlayList::EntryBeforePlaying() const {
    for (int i = 0; i < Count(); ++i) {
        if (Mark(i) != MarkPlaying) continue;
        if (i == 0) return std::nullopt;
        return Caption(i - 1);
    }
    return std::nullopt;
}

void PlayList::AddFiles(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        for (int i = 0; i < Count(); ++i)
            if (Caption(i) == file) return;
        Append(file);
    }
}

void PlayList::DeleteFromPlayList() {
    int i = 0;
    while (i < Count()) {
        if (view_->topLevelItem(i)->isSelected() && Mark(i) == MarkNone)
            Remove(i);
        else
            ++i;
    }
}

int PlayList::FirstSelectedIndex() const {
    for (int i = 0; i < Count(); ++i)
        if (view_->topLevelItem(i)->isSelected()) return i;
    return -1;
}

std::optional<std::string> PlayList::FirstSelected() const {
    const int index = FirstSelectedIndex();
    if (index < 0) return std::nullopt;
    return Caption(index);
}

void PlayList::MoveFirstSelected(int insertAt) {
    const int index = FirstSelectedIndex();
    const std::string caption = Caption(index);
    const int mark = Mark(index);
    Insert(insertAt, caption, mark);
    QTreeWidgetItem* moved = view_->topLevelItem(insertAt);
    Remove(insertAt < index ? index + 1 : index);
    view_->clearSelection();
    moved->setSelected(true);
    view_->setCurrentItem(moved, 0, QItemSelectionModel::NoUpdate);
}

void PlayList::MoveUpInPlayList() {
    const int index = FirstSelectedIndex();
    if (index <= 0) return;
    MoveFirstSelected(index - 1);
}

void PlayList::MoveDownInPlayList() {
    const int index = FirstSelectedIndex();
    if (index < 0 || index >= Count() - 1) return;
    MoveFirstSelected(index + 2);
}

}  // namespace tessaview
