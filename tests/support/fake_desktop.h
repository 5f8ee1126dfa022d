// A desktop that answers dialogs from a script and records the boxes it was asked to show,
// so windows run without a screen or a user.
#pragma once

#include "platform/desktop.h"

#include <QStringList>
#include <deque>
#include <vector>

namespace tessaview::test {

class FakeDesktop : public Desktop {
public:
    std::deque<QStringList> fileAnswers;  // one per dialog; empty list = cancel
    std::vector<FileDialogRequest> fileRequests;
    std::optional<FontChoice> fontAnswer;
    std::vector<FontChoice> fontRequests;
    QStringList errors, informations, exceptions, urls;
    QRect virtualDesktop{0, 0, 1024, 768};
    std::vector<bool> onTop;  // each SetStaysOnTop, in order
    bool screenSaverActive = true;

    QStringList OpenFiles(QWidget*, const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        if (fileAnswers.empty()) return {};
        QStringList answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    std::optional<FontChoice> ChooseFont(QWidget*, const FontChoice& current) override {
        fontRequests.push_back(current);
        return fontAnswer;
    }
    void ErrorBox(QWidget*, const QString& text) override { errors << text; }
    void InformationBox(QWidget*, const QString& text) override { informations << text; }
    void ExceptionBox(QWidget*, const QString& text) override { exceptions << text; }
    void OpenUrl(const QString& url) override { urls << url; }
    QRect ScreenGeometry() const override { return {0, 0, 1024, 768}; }
    QRect WorkArea() const override { return {0, 0, 1024, 740}; }
    QRect VirtualDesktop() const override { return virtualDesktop; }
    void SetStaysOnTop(QWidget*, bool on) override { onTop.push_back(on); }
    void SetTransientFor(QWidget*, QWindow*) override {}  // no window manager to tell
    void SetScreenSaverActive(bool active) override { screenSaverActive = active; }
};

}  // namespace tessaview::test
