// The subtitle font dialog.
#include "platform/subtitle_font_dialog.h"

#include "subtitle/code_page.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <stdexcept>

namespace tessaview {

namespace {

// Text in a set is decoded with its code page; a set whose code page this system cannot
// decode is not offered, rather than read silently as another. Default reads the ANSI code page.
bool Decodable(int charSet) {
    if (charSet == 1) return true;
    const std::string codePage = CharSetOwnCodePage(charSet);
    if (codePage.empty()) return false;
    try {
        CodePageConverter converter(codePage);
        return true;
    } catch (const std::invalid_argument&) {
        return false;
    }
}

// The dialog shows the nearest face it has for one it lacks ("MS Sans Serif" shows as the
// system's sans serif face): only what the user changed from what was shown is taken.
QFont KeepUntouched(QFont original, const QFont& shownAtStart, const QFont& shownAtEnd) {
    if (shownAtEnd.family() != shownAtStart.family()) original.setFamily(shownAtEnd.family());
    if (shownAtEnd.pointSize() != shownAtStart.pointSize() && shownAtEnd.pointSize() > 0)
        original.setPointSize(shownAtEnd.pointSize());
    if (shownAtEnd.weight() != shownAtStart.weight()) original.setWeight(shownAtEnd.weight());
    if (shownAtEnd.italic() != shownAtStart.italic()) original.setItalic(shownAtEnd.italic());
    if (shownAtEnd.underline() != shownAtStart.underline()) original.setUnderline(shownAtEnd.underline());
    if (shownAtEnd.strikeOut() != shownAtStart.strikeOut()) original.setStrikeOut(shownAtEnd.strikeOut());
    return original;
}

}  // namespace

const std::vector<CharSetName>& CharSetNames() {
    static const std::vector<CharSetName> names = [] {
        const CharSetName all[] = {
            {0, "Western (ANSI)"},   {1, "Default"},
            {2, "Symbol"},           {77, "Mac (Roman)"},
            {128, "Japanese"},       {129, "Korean (Hangul)"},
            {130, "Korean (Johab)"}, {134, "Chinese (GB2312)"},
            {136, "Chinese (Big5)"}, {161, "Greek"},
            {162, "Turkish"},        {163, "Vietnamese"},
            {177, "Hebrew"},         {178, "Arabic"},
            {186, "Baltic"},         {204, "Cyrillic"},
            {222, "Thai"},           {238, "Central European"},
            {255, "OEM (US)"},
        };
        std::vector<CharSetName> offered;
        for (const CharSetName& entry : all)
            if (Decodable(entry.number)) offered.push_back(entry);
        return offered;
    }();
    return names;
}

SubtitleFontDialog::SubtitleFontDialog(QWidget* parent, const FontChoice& current) : QDialog(parent) {
    setWindowTitle(tr("Font"));
    fontPart = new QFontDialog(current.font, this);
    fontPart->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fontPart->setWindowFlags(Qt::Widget);
    fontPart->setCurrentFont(current.font);
    given_ = current.font;
    shown_ = fontPart->currentFont();
    // The embedded chooser is a dialog of its own: Escape in it would hide it and leave an
    // empty window. Its ending ends the whole dialog instead.
    connect(fontPart, &QDialog::finished, this, [this](int result) {
        fontPart->setVisible(true);
        done(result);
    });

    colorButton = new QPushButton(this);
    colorButton->setObjectName("colorButton");
    charSetBox = new QComboBox(this);
    charSetBox->setObjectName("charSetBox");
    for (const CharSetName& entry : CharSetNames())
        charSetBox->addItem(QStringLiteral("%1 - %2").arg(entry.number).arg(entry.name), entry.number);
    SetColor(current.color);
    SetCharSet(current.charSet);
    connect(colorButton, &QPushButton::clicked, this, [this] {
        QColor chosen = QColorDialog::getColor(color_, this, tr("Colour"));
        if (chosen.isValid()) SetColor(chosen);
    });

    auto* extra = new QFormLayout;
    extra->addRow(tr("Colour:"), colorButton);
    extra->addRow(tr("Character set:"), charSetBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fontPart);
    layout->addLayout(extra);
    layout->addWidget(buttons);
}

void SubtitleFontDialog::SetColor(const QColor& color) {
    color_ = color;
    colorButton->setText(color.name());
    QPixmap swatch(16, 16);
    swatch.fill(color);
    colorButton->setIcon(QIcon(swatch));
}

void SubtitleFontDialog::SetCharSet(int charSet) {
    int index = charSetBox->findData(charSet);
    if (index < 0) {  // a number we have no name for still round-trips
        charSetBox->addItem(QString::number(charSet), charSet);
        index = charSetBox->count() - 1;
    }
    charSetBox->setCurrentIndex(index);
}

FontChoice SubtitleFontDialog::Choice() const {
    FontChoice choice;
    choice.font = KeepUntouched(given_, shown_, fontPart->currentFont());
    choice.color = color_;
    choice.charSet = charSetBox->currentData().toInt();
    return choice;
}

}  // namespace tessaview
