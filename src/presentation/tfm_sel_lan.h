// The VobSub language dialog: lists the pair's languages, closes by itself after five seconds.
#pragma once

#include <QDialog>
#include <cstdint>

class QListWidget;
class QPushButton;
class QTimer;

namespace tessaview {

class VobSubLibrary;

class TfmSelLan : public QDialog {
    Q_OBJECT
public:
    explicit TfmSelLan(QWidget* mainWindow);

    int32_t SecondsLeft = 5;
    int32_t ChosenLang = 0;
    QListWidget* ListBox1 = nullptr;
    QPushButton* seOK = nullptr;
    QTimer* Timer1 = nullptr;

    void Timer1Timer();
    void Button1Click();

    // Empties the list and adds "i - name" for each language the library offers.
    void FillLanguageList(VobSubLibrary& library);

    void reject() override;  // the dialog closes only through OK or its countdown

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();

    QWidget* mainWindow_ = nullptr;
};

// Lists the library's languages, runs the dialog modally, then SetCurrentLang(choice).
void SelectVobSubLanguage(VobSubLibrary& library, QWidget* mainWindow);

}  // namespace tessaview
