// The synchronisation's questions answered from a script, and what it said kept for the test.
#pragma once

#include "app/tfm_main_sync.h"

#include <QStringList>
#include <deque>

namespace tessaview::test {

class FakeSyncPrompts : public SyncPrompts {
public:
    QStringList informs, errors, asked;
    std::deque<bool> answers;  // to Ask, in order; No when none is left
    QString saveAs;            // the save dialog's answer
    QString proposed;
    void Inform(QWidget*, const QString& text) override { informs << text; }
    void Error(QWidget*, const QString& text) override { errors << text; }
    bool Ask(QWidget*, const QString& text) override {
        asked << text;
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return yes;
    }
    QString SaveFileName(QWidget*, const QString& start) override {
        proposed = start;
        return saveAs;
    }
};

}  // namespace tessaview::test
