// The main window as a person reads it: every status text shows whole, whatever the movie.
#include "window_harness.h"

#include "app/status_panels.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>

namespace tessaview::test {
namespace {

struct MovieShape {
    int32_t frameRate, duration, width, height;
};

TEST_F(MainWindowTest, StatusPanelsShowTheirWholeText) {
    TfmMain& w = fmMain();
    w.resize(1200, w.height());  // room for all panels: the test is about each panel's own width
    const MovieShape movies[] = {
        {25000, 500, 640, 352},
        {23976, 172627, 1920, 1080},   // "172627/2:0:0", "23.976fps", "1920*1080"
        {29970, 1078921, 3840, 2160},  // ten hours
        {25000, 100, 320, 240},        // shorter texts after longer ones
    };
    for (const MovieShape& m : movies) {
        engine.frameRate = m.frameRate;
        engine.duration = m.duration;
        engine.width = m.width;
        engine.height = m.height;
        OpenThroughDialog(MakeFile("m.avi"));
        w.FrameRateItems[1]->trigger();  // "23.976" for the last panel
        w.resize(1200, w.height());
        engine.position = m.duration;
        w.tmMovieTimer();
        int left = 0;
        for (int i = 0; i < 5; ++i) {
            QLabel* panel = w.sbMain->Panel(i);
            SCOPED_TRACE(panel->text().toStdString());
            EXPECT_FALSE(panel->text().isEmpty());
            EXPECT_GE(panel->width(), StatusPanels::PanelWidths[i]);
            EXPECT_EQ(panel->x(), left);  // side by side, none over another
            const QFontMetrics metrics = panel->fontMetrics();
            // A framed label without an indent of its own sets its text in by half an "x".
            const int indent = panel->indent() >= 0 ? panel->indent() : metrics.horizontalAdvance('x') / 2;
            EXPECT_GE(panel->contentsRect().width() - indent, metrics.horizontalAdvance(panel->text()));
            left += panel->width();
        }
    }
}

}  // namespace
}  // namespace tessaview::test
