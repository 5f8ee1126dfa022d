// Building the main window: menu tree, tool bar, track bar, movie and subtitle panels,
// splitters, play list panel and status bar, at the design size.
#include "app/tfm_main.h"

#include "playback/view_modes.h"
#include "presentation/subtitle_surfaces.h"
#include "shell/tool_pictures.h"
#include "subtitle/time_base.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessaview {

namespace {

constexpr int ToolBarHeight = 29;
constexpr int TrackStripHeight = 17;
constexpr int SubtitlePanelHeight = 83;
constexpr int SplitterThickness = 3;
constexpr int PlayListDesignWidth = 230;
constexpr int PlayListButtonBar = 37;

// A press on the track bar puts the thumb where it lands and holds it there, as a press on the
// thumb does; the seek follows on release.
class TrackBarStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_Slider_AbsoluteSetButtons) return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QWidget* BlackPanel(QWidget* parent, const char* name) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::black);
    panel->setPalette(palette);
    return panel;
}

}  // namespace

QAction* TfmMain::AddMenuItem(QMenu* menu, const char* name, const QString& caption,
                              const std::function<void()>& handler, const QKeySequence& shortcut) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    if (handler) connect(action, &QAction::triggered, this, [this, handler] { Guarded(handler); });
    return action;
}

void TfmMain::BuildMenus() {
    SeSkinMenuBar1 = new QMenuBar(this);
    SeSkinMenuBar1->setObjectName("SeSkinMenuBar1");
    auto separator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); };

    QMenu* movie = SeSkinMenuBar1->addMenu("&Movie");
    movie->setObjectName("Movie1");
    PlayFile1 = AddMenuItem(
        movie, "PlayFile1", "&Play File ...", [this] { PlayFile1Click(); }, QKeySequence("Ctrl+O"));
    ContinuedPlayFile1 =
        AddMenuItem(movie, "ContinuedPlayFile1", "Continued Play File ...", [this] { ContinuedPlayFile1Click(); });
    Play1 = AddMenuItem(movie, "Play1", "Play", [this] { Play1Click(); });
    Pause1 = AddMenuItem(
        movie, "Pause1", "Pause", [this] { Pause1Click(); }, QKeySequence("Ctrl+P"));
    Stop1 = AddMenuItem(
        movie, "Stop1", "Stop", [this] { Stop1Click(); }, QKeySequence("Ctrl+S"));
    separator(movie, "N1");
    Exit1 = AddMenuItem(movie, "Exit1", "&Exit", [this] { Exit1Click(); });

    QMenu* subtitle = SeSkinMenuBar1->addMenu("&Subtitle");
    subtitle->setObjectName("Subtitle1");
    LoadSubtitle1 = AddMenuItem(
        subtitle, "LoadSubtitle1", "&Load Subtitle ...", [this] { LoadSubtitle1Click(); }, QKeySequence("Ctrl+L"));
    RemoveSubtitle1 = AddMenuItem(subtitle, "RemoveSubtitle1", "Remove Subtitle", [this] { RemoveSubtitle1Click(); });
    ShowSubtitles1 = AddMenuItem(
        subtitle, "ShowSubtitles1", "Show Subtitles", [this] { ShowSubtitles1Click(); }, QKeySequence(Qt::Key_V));
    ShowSubtitles1->setCheckable(true);
    EnableAutoloadSubtitle1 = AddMenuItem(subtitle, "EnableAutoloadSubtitle1", "Enable Auto load Subtitle",
                                          [this] { EnableAutoloadSubtitle1Click(); });
    EnableAutoloadSubtitle1->setCheckable(true);
    EnableAutoloadSubtitle1->setChecked(autoload_);
    separator(subtitle, "N2");
    SetSubtitleFont1 =
        AddMenuItem(subtitle, "SetSubtitleFont1", "Set Subtitle Font ...", [this] { SetSubtitleFont1Click(); });
    separator(subtitle, "N3");
    QMenu* rates = subtitle->addMenu("Subtitle FrameRate");
    SubtitleFrameRate1 = rates->menuAction();
    SubtitleFrameRate1->setObjectName("SubtitleFrameRate1");
    static const char* const rateNames[] = {"SameAsMovie1", "n001", "n002", "n003", "n004", "n005"};
    for (int tag = 0; tag < 6; ++tag) {
        FrameRateItems[tag] = AddMenuItem(rates, rateNames[tag], QString::fromStdString(FrameRateItemCaption(tag)),
                                          [this, tag] { n005Click(tag); });
        FrameRateItems[tag]->setCheckable(true);
        FrameRateItems[tag]->setData(tag);  // the item's Tag
    }
    separator(subtitle, "N6");
    AdjustSubtitle1 =
        AddMenuItem(subtitle, "AdjustSubtitle1", "Synchronize Subtitle", [this] { AdjustSubtitle1Click(); });
    separator(subtitle, "N7");
    ChangeSubtitleLanguage1 = AddMenuItem(subtitle, "ChangeSubtitleLanguage1", "Change Subtitle Language",
                                          [this] { ChangeSubtitleLanguage1Click(); });
    separator(subtitle, "N8");
    LoadSecondSubtitle1 = AddMenuItem(
        subtitle, "LoadSecondSubtitle1", "Load Second Subtitle...", [this] { LoadSecondSubtitle1Click(); },
        QKeySequence("Ctrl+Shift+L"));
    RemoveSecondSubtitle1 = AddMenuItem(subtitle, "RemoveSecondSubtitle1", "Remove Second Subtitle",
                                        [this] { RemoveSecondSubtitle1Click(); });

    QMenu* view = SeSkinMenuBar1->addMenu("&View");
    view->setObjectName("View1");
    NN1 = AddMenuItem(view, "NN1", "Origin Size", [this] { NN1Click(); });
    NN2 = AddMenuItem(view, "NN2", "Double Size", [this] { NN2Click(); });
    NN3 = AddMenuItem(
        view, "NN3", "Full Screen", [this] { NN3Click(); }, QKeySequence(Qt::Key_F4));
    AlwaysonTop1 = AddMenuItem(view, "AlwaysonTop1", "Always on Top", [this] { AlwaysonTop1Click(); });
    AlwaysonTop1->setCheckable(true);
    UseSkin1 = AddMenuItem(view, "UseSkin1", "Use Skin", [this] { UseSkin1Click(); });
    UseSkin1->setCheckable(true);
    UseSkin1->setVisible(false);
    ciShowPlayList = AddMenuItem(view, "ciShowPlayList", "Show Play list", [this] { ciShowPlayListClick(); });
    ciShowPlayList->setCheckable(true);

    QMenu* about = SeSkinMenuBar1->addMenu("&About");
    about->setObjectName("About1");
    QuillmarkHomepage1 =
        AddMenuItem(about, "QuillmarkHomepage1", "&Quillmark Homepage", [this] { QuillmarkHomepage1Click(); });
    separator(about, "N5");
    About2 = AddMenuItem(about, "About2", "&About ...", [this] { About2Click(); });
}

void TfmMain::BuildToolBar() {
    tlbMain = new QWidget(this);
    tlbMain->setObjectName("tlbMain");
    tlbMain->setFixedHeight(ToolBarHeight);
    // No layout: a narrow window cuts the bar off instead of being held wide by it.
    int left = 0;
    auto button = [&](const char* name, int picture, const QString& tip, int width,
                      const std::function<void()>& handler) {
        auto* tool = new QToolButton(tlbMain);
        tool->setObjectName(name);
        tool->setIcon(ToolIcon(picture));
        tool->setIconSize(QSize(ToolPictureSize, ToolPictureSize));
        tool->setToolTip(tip);
        tool->setAutoRaise(true);
        tool->setGeometry(left, 1, width, 26);
        left += width;
        tool->setFocusPolicy(Qt::NoFocus);
        connect(tool, &QToolButton::clicked, this, [this, handler] { Guarded(handler); });
        return tool;
    };
    sbOpenFile = button("sbOpenFile", PictureOpen, "Play File", 32, [this] { PlayFile1Click(); });
    sbPlay = button("sbPlay", PicturePlay, "Play", 32, [this] { Play1Click(); });
    sbPause = button("sbPause", PicturePause, "Pause", 32, [this] { Pause1Click(); });
    sbStop = button("sbStop", PictureStop, "Stop", 32, [this] { Stop1Click(); });
    sbLoadSub = button("sbLoadSub", PictureLoadSubtitle, "Load Subtitle", 30, [this] { LoadSubtitle1Click(); });
    sbSubFont = button("sbSubFont", PictureSubtitleFont, "Set Subtitle Font", 32, [this] { SetSubtitleFont1Click(); });
    sbn1 = button("sbn1", PictureOriginSize, "Origin Size", 32, [this] { NN1Click(); });
    sbn2 = button("sbn2", PictureDoubleSize, "Double Size", 32, [this] { NN2Click(); });
    sbn3 = button("sbn3", PictureFullScreen, "Full Screen", 32, [this] { NN3Click(); });
}

void TfmMain::BuildPlayListPanel() {
    plPlayList = new QWidget;
    plPlayList->setObjectName("plPlayList");
    auto* column = new QVBoxLayout(plPlayList);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    lbPlayList = new QTreeWidget(plPlayList);
    lbPlayList->setObjectName("lbPlayList");
    lbPlayList->setColumnCount(1);
    lbPlayList->setHeaderLabels({"PLAY LIST"});
    lbPlayList->setRootIsDecorated(false);
    lbPlayList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lbPlayList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lbPlayList->setIconSize(QSize(ToolPictureSize, ToolPictureSize));
    lbPlayList->header()->setStretchLastSection(false);
    lbPlayList->viewport()->installEventFilter(this);
    connect(lbPlayList, &QTreeWidget::itemDoubleClicked, this, [this] { Guarded([this] { lbPlayListDblClick(); }); });
    column->addWidget(lbPlayList, 1);

    auto* bar = new QWidget(plPlayList);
    bar->setObjectName("plPlayListButtons");
    bar->setFixedHeight(PlayListButtonBar);
    auto button = [&](const char* name, const char* caption, int left, void (TfmMain::*handler)()) {
        auto* push = new QPushButton(caption, bar);
        push->setObjectName(name);
        push->setGeometry(left, 8, 49, 25);
        connect(push, &QPushButton::clicked, this,
                [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
        return push;
    };
    sbAdd = button("sbAdd", "ADD", 8, &TfmMain::AddToPlayList);
    sbDel = button("sbDel", "DEL", 64, &TfmMain::DeleteFromPlayList);
    sbUp = button("sbUp", "UP", 120, &TfmMain::MoveUpInPlayList);
    sbDown = button("sbDown", "DOWN", 176, &TfmMain::MoveDownInPlayList);
    column->addWidget(bar);
    plPlayList->installEventFilter(this);
}

void TfmMain::BuildLayout() {
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);

    BuildMenus();
    BuildToolBar();

    tbMain = new QSlider(Qt::Horizontal, this);
    tbMain->setObjectName("tbMain");
    tbMain->setFixedHeight(TrackStripHeight);
    tbMain->setRange(0, 1000);
    tbMain->setFocusPolicy(Qt::ClickFocus);  // no focus by tabbing
    auto* trackStyle = new TrackBarStyle;
    trackStyle->setParent(tbMain);
    tbMain->setStyle(trackStyle);

    plClient = new QSplitter(Qt::Vertical);
    plClient->setObjectName("plClient");
    plClient->setHandleWidth(SplitterThickness);
    plClient->setOpaqueResize(false);
    plMovie = BlackPanel(plClient, "plMovie");
    plMovie->setMinimumSize(1, 1);
    plMovie->installEventFilter(this);
    lbSubParent = BlackPanel(plClient, "lbSubParent");
    surfaces_ = std::make_unique<SubtitleSurfaces>(vobsub_, lbSubParent);
    ShowSubtitles1->setChecked(surfaces_->Shown());
    plClient->addWidget(plMovie);
    plClient->addWidget(lbSubParent);
    plClient->setStretchFactor(0, 1);
    plClient->setStretchFactor(1, 0);
    Splitter1 = plClient->handle(1);
    Splitter1->setObjectName("Splitter1");
    connect(plClient, &QSplitter::splitterMoved, this, [this] { Guarded([this] { SplitterMoved(plClient); }); });

    BuildPlayListPanel();
    plMain = new QSplitter(Qt::Horizontal);
    plMain->setObjectName("plMain");
    plMain->setHandleWidth(SplitterThickness);
    plMain->setOpaqueResize(false);
    plMain->addWidget(BuildTranscriptPanel());
    plMain->addWidget(plPlayList);
    plMain->setStretchFactor(0, 1);
    plMain->setStretchFactor(1, 0);
    Splitter2 = plMain->handle(1);
    Splitter2->setObjectName("Splitter2");
    connect(plMain, &QSplitter::splitterMoved, this, [this] { Guarded([this] { SplitterMoved(plMain); }); });

    sbMain = new StatusPanels(this);
    sbMain->setObjectName("sbMain");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(SeSkinMenuBar1);
    layout->addWidget(tlbMain);
    layout->addWidget(tbMain);
    layout->addWidget(plMain, 1);
    layout->addWidget(sbMain);

    tmMovie = new QTimer(this);
    tmMovie->setObjectName("tmMovie");
    tmMovie->setInterval(100);
    connect(tmMovie, &QTimer::timeout, this, [this] { Guarded([this] { tmMovieTimer(); }); });

    resize(DesignClientWidth, DesignClientHeight);
    plClient->setSizes(SecondPartSizes(DesignClientHeight,
                                       {SeSkinMenuBar1->sizeHint().height(), ToolBarHeight, TrackStripHeight,
                                        StatusPanels::BarHeight, SplitterThickness},
                                       SubtitlePanelHeight));
    plMain->setSizes(SecondPartSizes(DesignClientWidth, {SplitterThickness}, PlayListDesignWidth));
}

}  // namespace tessaview
