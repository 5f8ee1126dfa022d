// The subtitle font dialog.
#include "platform/subtitle_font_dialog.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaview {

const std::vector<CharSetName>& CharSetNames() {
    static const std::vector<CharSetName> names = {
        {0, "Western (ANSI)"},   {1, "Default"},          {2, "Symbol"},
        {77, "Mac"},             {128, "Japanese"},        {129, "Korean (Hangul)"},
        {130, "Korean (Johab)"}, {134, "Chinese (GB2312)"}, {136, "Chinese (Big5)"},
        {161, "Greek"},          {162, "Turkish"},         {163, "Vietnamese"},
        {177, "Hebrew"},         {178, "Arabic"},          {186, "Baltic"},
        {204, "Cyrillic"},       {222, "Thai"},            {238, "Central European"},
        {255, "OEM"},
    };
    return names;
}

SubtitleFontDialog::SubtitleFontDialog(QWidget* parent, const FontChoice& current) : QDialog(parent) {
    setWindowTitle(tr("Font"));
    fontPart = new QFontDialog(current.font, this);
    fontPart->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fontPart->setWindowFlags(Qt::Widget);
    fontPart->setCurrentFont(current.font);
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
    choice.font = fontPart->currentFont();
    choice.color = color_;
    choice.charSet = charSetBox->currentData().toInt();
    return choice;
}

}  // namespace tessaview
