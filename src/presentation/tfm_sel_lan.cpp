// The VobSub language dialog: its list lines, countdown and choice.
#include "presentation/tfm_sel_lan.h"

#include "external/vobsub_library.h"
#include "presentation/dialog_placement.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <cstring>
#include <memory>

namespace tessaview {

namespace {
constexpr char kNotDetected[] = "(Not detected)";
}

TfmSelLan::TfmSelLan(QWidget* mainWindow) : QDialog(nullptr), mainWindow_(mainWindow) {
    setWindowTitle(QStringLiteral("Select Language"));
    SetUpFixedDialog(this, 240, 167);

    ListBox1 = new QListWidget(this);
    ListBox1->setGeometry(8, 8, 225, 121);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    seOK = new QPushButton(QStringLiteral("OK"), this);
    seOK->setGeometry(8, 136, 225, 25);
    connect(seOK, &QPushButton::clicked, this, &TfmSelLan::Button1Click);

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TfmSelLan::Timer1Timer);
    FormCreate();
}

void TfmSelLan::FormCreate() {
    SecondsLeft = 5;
    Timer1->start();
}

void TfmSelLan::FillLanguageList(VobSubLibrary& library) {
    ListBox1->clear();
    const int32_t last = library.GetLangNum();
    // 64-bit counter: a library answering INT32_MAX must not make the loop overflow.
    for (int64_t i = 0; i <= last; ++i) {
        char name[VobSubLangNameSize] = {};
        library.GetLangName(static_cast<int32_t>(i), name);
        // A library that fills the whole buffer without a terminating zero is cut at its end.
        const size_t length = strnlen(name, sizeof name);
        if (length == 0) continue;
        if (length == sizeof kNotDetected - 1 && std::memcmp(name, kNotDetected, length) == 0) {
            continue;
        }
        ListBox1->addItem(QString::number(i) + QStringLiteral(" - ") +
                          QString::fromUtf8(name, static_cast<qsizetype>(length)));
    }
    ListBox1->setCurrentRow(-1);
    ListBox1->clearSelection();
}

void TfmSelLan::Timer1Timer() {
    --SecondsLeft;
    if (SecondsLeft > 0) {
        seOK->setText(QStringLiteral("OK(%1seconds)").arg(SecondsLeft));
    } else {
        Button1Click();
    }
}

void TfmSelLan::Button1Click() {
    for (int row = 0; row < ListBox1->count(); ++row) {
        const QListWidgetItem* item = ListBox1->item(row);
        if (!item->isSelected()) continue;
        const QString text = item->text();
        const qsizetype dash = text.indexOf(QStringLiteral(" -"));
        bool ok = false;
        const int value = (dash < 0 ? text : text.left(dash)).trimmed().toInt(&ok, 10);
        if (ok) ChosenLang = value;
        break;
    }
    // Once closed the countdown must not run on and choose a second time.
    Timer1->stop();
    accept();
}

void TfmSelLan::reject() {}

void TfmSelLan::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOver(this, mainWindow_);
}

void TfmSelLan::closeEvent(QCloseEvent* event) { event->ignore(); }

void SelectVobSubLanguage(VobSubLibrary& library, QWidget* mainWindow) {
    auto fmSelLan = std::make_unique<TfmSelLan>(mainWindow);
    fmSelLan->FillLanguageList(library);
    fmSelLan->exec();
    library.SetCurrentLang(fmSelLan->ChosenLang);
}

}  // namespace tessaview
