// The thread message hook: an application-wide event filter that hands the engine its event
// messages and turns left-button presses on the track bar into a seek on release.
#pragma once

#include <QObject>

class QSlider;
class QWidget;

namespace tessaview {

class MovieEngine;
struct MovieFields;

class MessageHook : public QObject {
    Q_OBJECT
public:
    MessageHook(MovieEngine& engine, MovieFields& fields, QWidget* plMovie, QSlider* tbMain);

    void Install();
    void Remove();  // before the controls it reads go away
    bool Installed() const { return installed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MovieEngine& engine_;
    MovieFields& fields_;
    QWidget* plMovie_;
    QSlider* tbMain_;
    bool installed_ = false;
};

}  // namespace tessaview
