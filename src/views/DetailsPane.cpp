#include "views/DetailsPane.h"

#include "sentence/DecodedText.h"

#include <QFontDatabase>

namespace kvl {

namespace {

bool MayBeAis(const std::string& line) {
    return line.find("VDM,") != std::string::npos || line.find("VDO,") != std::string::npos;
}

} // namespace

TDetailsPane::TDetailsPane(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("DetailsPane"));
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

void TDetailsPane::Explain(const std::string& line, const std::vector<std::string>& before) {
    Current = line;
    Decoder.Reset(); // fragments from an earlier explanation must not join this one
    for (const std::string& earlier : before) {
        if (MayBeAis(earlier))
            (void)Decoder.Decode(earlier);
    }
    QStringList lines;
    for (const std::string& text : DescribeLine(Decoder.Decode(line)))
        lines << QString::fromLatin1(text);
    Body = lines.join(QLatin1Char('\n'));
    Show();
}

void TDetailsPane::ShowHint(const QString& text) {
    Current.clear();
    Body = text;
    Show();
}

void TDetailsPane::SetNote(const QString& note) {
    if (note == Note)
        return;
    Note = note;
    Show();
}

void TDetailsPane::Show() {
    setPlainText(Note.isEmpty() ? Body : Note + QStringLiteral("\n\n") + Body);
}

} // namespace kvl
